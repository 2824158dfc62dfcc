#include "app/app_size_recorder.h"

#include <utility>

#include "platform/size_history_store.h"

QASizeRecorder::QASizeRecorder(platform::FolderCounter& counter, std::string historyFolder)
    : Counter(counter), HistoryFolder(std::move(historyFolder))
{
}

// A count is recorded only while the tree rests: during a recount its folders wait for it again.
void QASizeRecorder::Follow(platform::CountTreeId tree, const std::string& root, const platform::CountProgress& progress,
                            double clock, std::int64_t now)
{
    Tracked& tracked = Trees[tree];
    tracked.Root = root;
    if (progress.Busy || progress.Passes <= tracked.PassesRecorded)
        return;
    if (!tracked.Recorded || clock - tracked.RecordedAt >= kRecordAgainSeconds)
        Record(tree, tracked, progress.Passes, now, clock);
}

// A tree still counting is recorded as far as it got only if nothing of it was recorded yet: a
// complete count of this session is worth more than a partial one.
void QASizeRecorder::Leave(platform::CountTreeId tree, const platform::CountProgress& progress, std::int64_t now)
{
    const auto found = Trees.find(tree);
    if (found == Trees.end())
        return;
    Tracked& tracked = found->second;
    const bool due = progress.Busy ? !tracked.Recorded : progress.Passes > tracked.PassesRecorded;
    if (due)
        Record(tree, tracked, progress.Passes, now, tracked.RecordedAt);
    Trees.erase(found);
}

void QASizeRecorder::Record(platform::CountTreeId tree, Tracked& tracked, std::uint64_t passes, std::int64_t now,
                            double clock)
{
    platform::CountSnapshot snapshot;
    if (!Counter.Snapshot(tree, snapshot) || snapshot.Folders.empty())
        return;
    const auto earlier = SessionCounts.find(tracked.Root);
    platform::CountRecord record;
    record.Root = tracked.Root;
    record.Time = now;
    record.Extent = snapshot.Extent == platform::SnapshotExtent::Complete ? platform::CountExtent::Complete
                                                                          : platform::CountExtent::Partial;
    record.Entries = platform::EntriesOf(snapshot);
    record.Keep = Keep;
    if (earlier != SessionCounts.end())
        record.Replaces = earlier->second;
    const std::string path = platform::HistoryPathOf(tracked.Root, HistoryFolder);
    const platform::RecordReport report = platform::RecordCount(path, record);
    if (report.Recorded) {
        SessionCounts[tracked.Root] = report.Time;
        tracked.Recorded = true;
        tracked.PassesRecorded = passes;
        tracked.RecordedAt = clock;
    }
    if (!report.Problem.empty() && !Reported[path]) {
        Reported[path] = true;
        Problems.push_back(report.Problem);
    }
}

std::vector<std::string> QASizeRecorder::TakeProblems()
{
    return std::exchange(Problems, {});
}

std::optional<std::int64_t> QASizeRecorder::RecordedTime(const std::string& root) const
{
    const auto found = SessionCounts.find(root);
    if (found == SessionCounts.end())
        return std::nullopt;
    return found->second;
}
