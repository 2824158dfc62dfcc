#pragma once
// When the rings' counts go into their folders' size histories: a ring's count is recorded once it
// completes, again when live changes have changed it (at most every kRecordAgainSeconds), and a
// last time when the ring stops counting (closed, re-rooted, the program quits), for what was
// counted by then: a partial count if it had not completed. Each record of a ring's tree stands
// for the one before it, so that a session leaves one count of each folder in its history.
// Runs on the GUI thread; the snapshot is the counter's, taken under its lock.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/folder_count.h"

class QASizeRecorder {
public:
    static constexpr double kRecordAgainSeconds = 600.0;

    // `counter` is not owned and outlives the recorder; histories go to `historyFolder`.
    QASizeRecorder(platform::FolderCounter& counter, std::string historyFolder);

    // The newest counts each history keeps whole ("SizeHistoryCounts").
    void SetKeep(int counts) { Keep = counts; }
    // Once a frame for each counting tree: `root` is its folder, `progress` how its count goes,
    // `clock` seconds of frame time, `now` seconds since 1970.
    void Follow(platform::CountTreeId tree, const std::string& root, const platform::CountProgress& progress, double clock,
                std::int64_t now);
    // Before the counter forgets the tree: what was counted of it is recorded, and the tree forgotten.
    void Leave(platform::CountTreeId tree, const platform::CountProgress& progress, std::int64_t now);
    // What went wrong since the last call, each history's trouble once a run.
    std::vector<std::string> TakeProblems();
    // The time of the count this session recorded for a folder, if any.
    std::optional<std::int64_t> RecordedTime(const std::string& root) const;

private:
    struct Tracked {
        std::string Root;
        bool Recorded = false;          // this tree's count is in the history
        std::uint64_t PassesRecorded = 0; // the passes the recorded count had seen
        double RecordedAt = 0.0;
    };

    void Record(platform::CountTreeId tree, Tracked& tracked, std::uint64_t passes, std::int64_t now, double clock);

    platform::FolderCounter& Counter;
    std::string HistoryFolder;
    int Keep = 10;
    std::unordered_map<platform::CountTreeId, Tracked> Trees;
    std::unordered_map<std::string, std::int64_t> SessionCounts; // folder -> time of its count
    std::vector<std::string> Problems;
    std::unordered_map<std::string, bool> Reported; // histories whose trouble was told
};
