#pragma once
// Matching file names against the views during one pass over a tree (a scan or a layout): each
// extension is asked of the view engine once per pass, so a folder of many files of few kinds
// costs one look-up per kind. The answers live only as long as the pass, so a change of views is
// seen by the next one.
#include <string>
#include <string_view>
#include <unordered_map>

#include "lists/view_main.h"

class QOXRing;

class QRViewMatch {
public:
    explicit QRViewMatch(const QOXViewEngine& views);

    // The view of a file name's extension, or none.
    const QVGeneric* Find(std::string_view fileName);
    bool AnyEnabled() const { return Enabled; }

private:
    const QOXViewEngine& Views; // not owned; the application's
    bool Enabled = false;
    std::unordered_map<std::string, const QVGeneric*> Known;
};

// Gives a ring one matcher for the time it lives; inner scopes use the outer one's.
class QRViewMatchScope {
public:
    explicit QRViewMatchScope(QOXRing& ring);
    ~QRViewMatchScope();
    QRViewMatchScope(const QRViewMatchScope&) = delete;
    QRViewMatchScope& operator=(const QRViewMatchScope&) = delete;

private:
    QOXRing& Ring;
    QRViewMatch* Own = nullptr; // owned; none for an inner scope
};
