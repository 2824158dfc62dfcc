#pragma once
// A ring's growth since a recorded count ("Show Growth"): the totals of that count by path, the
// colour each element takes from how it changed since, and what went from each folder. The
// colours go where the elements' own colours go, so the renderer draws them as it draws views.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/qox_constant.h"
#include "platform/size_history.h"

class QOXRing;
class QRElement;
class QREFolder;

struct QRRemoved {
    std::int64_t Items = 0;
    std::int64_t Bytes = 0;
};

// How an element changed: its size then (none when it is new, or a file too small to have been
// recorded then) and now (-1 while unknown).
struct QRChange {
    bool Recorded = false; // the count could tell (a folder, or a file of the recorded size)
    std::optional<std::int64_t> Before;
    std::int64_t After = -1;
};

class QRRingGrowth {
public:
    // `then`: the count's paths (relative, folders ending in "/") and their totals.
    QRRingGrowth(std::int64_t since, std::unordered_map<std::string, platform::SizeTotals> then);

    std::int64_t Since() const { return SinceTime; }
    // Colours every element of the ring by its change; after each layout's pass over visibility,
    // which gives files their own colours back.
    void Paint(QOXRing& ring) const;
    // Gives the folders their own colour back (the files take theirs at the next layout).
    static void Unpaint(QREFolder& folder);
    QRChange ChangeOf(const QRElement& element) const;
    // The entries directly in the folder then that it no longer holds, and their bytes then; none
    // for a folder not open on the ring (its entries are not known to be read).
    QRRemoved RemovedFrom(const QREFolder& folder) const;

private:
    struct Painted {
        QRElement* Element = nullptr; // not owned
        QRChange Change;
    };
    void Collect(QREFolder& folder, const std::string& relative, std::vector<Painted>& painted) const;
    QRChange ChangeAt(const QRElement& element, const std::string& relative) const;

    std::int64_t SinceTime = 0;
    std::unordered_map<std::string, platform::SizeTotals> Then;
    std::vector<const std::string*> Paths; // of Then, sorted: a folder's entries lie together
};

// The path of an element below its ring's folder ("" the root, "docs/old/", "docs/a.txt").
std::string RelativePathOf(const QRElement& element);
