#pragma once
// Growth since a recorded count, as the program shows it: which count "GrowthSince" names, the
// colour a grown, shrunk, unchanged or new entry takes, and the list of what grew most.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/qox_constant.h"
#include "platform/folder_count.h"
#include "platform/size_history.h"

// The count growth is measured from: "previous" is the newest complete count other than the one
// this session recorded (`ownCount`), a date ("2026-12-01") the newest complete count made by its
// end. None when the history holds no such count.
const platform::SizeCount* GrowthBase(const platform::SizeHistory& history, const std::string& growthSince,
                                      std::optional<std::int64_t> ownCount);

enum class QAGrowthKind { Grew, Shrank, Unchanged, New };

// How an entry changed: `strength` in [0, 1] is its change against the largest change of its kind
// on the ring, so that the entries that grew most stand out most.
struct QAGrowth {
    QAGrowthKind Kind = QAGrowthKind::Unchanged;
    float Strength = 0.0f;
};
QAGrowth GrowthOf(std::optional<std::int64_t> before, std::int64_t after, std::int64_t largestGrowth,
                  std::int64_t largestShrink);

// Grown red, more saturated the larger the growth; shrunk blue likewise; unchanged grey; new
// bright. Strengths come in kGrowthSteps steps, so the rings share a handful of colours.
inline constexpr int kGrowthSteps = 8;
QXColor GrowthColour(const QAGrowth& growth);

// One entry of "What grew": a folder or a file of 1 MiB or more, relative to the ring's folder.
struct QAGrowthRow {
    std::string Path;
    bool Folder = false;
    bool New = false; // not in the count it is measured from (or, a file, below 1 MiB then)
    std::int64_t Before = 0;
    std::int64_t After = 0;
};

struct QAGrowthReport {
    std::string Folder;     // the ring's folder
    std::int64_t Since = 0; // the count's time
    std::int64_t Before = 0;
    std::int64_t After = 0;
    std::vector<QAGrowthRow> Rows; // largest growth first
};

// What grew most between a recorded count and what the counter holds now.
inline constexpr std::size_t kWhatGrewRows = 200;
QAGrowthReport WhatGrew(const platform::SizeHistory& history, const platform::SizeCount& base,
                        const platform::CountSnapshot& now, std::size_t limit = kWhatGrewRows);
