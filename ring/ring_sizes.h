#pragma once
// The true sizes of one ring's folders, counted in the background: which folders the counter is
// asked about, what it answered, the blend that eases a folder's children from their old shares
// to the new ones, and the watches that keep the ring's expanded folders live. It lives on the GUI
// thread with its ring; the counter's workers never see an element, they only answer by ticket.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/folder_count.h"
#include "ring/ring_growth.h"
#include "ring/ring_watch.h"

class QOXRing;
class QRElement;
class QREFolder;
class QRIteration;

// Counting: asked, not known yet. Known: counted. Link: the folder is a link, never followed (its
// size is 0). BehindLink: reached through such a link, so outside what the ring counts.
enum class QRCountState { Counting, Known, Link, BehindLink };

struct QRFolderCount {
    QRCountState State = QRCountState::Counting;
    platform::FolderTotals Totals;           // while Known; while Counting, those recorded at RecordedAt
    std::optional<std::int64_t> RecordedAt; // Counting, shown with the sizes of the count made then
};

// The sizes a folder's size history holds from its last count, shown while it is counted anew.
struct QRRecordedSizes {
    std::int64_t Time = 0; // seconds since 1970
    std::unordered_map<std::string, platform::FolderTotals> Folders; // by relative folder ("" the ring's)
};

// What a ring's count asks of the size histories; the application answers.
class QRCountHistory {
public:
    virtual ~QRCountHistory() = default;
    // The sizes last recorded for a folder (ending in "/"); none without a history.
    virtual std::unique_ptr<QRRecordedSizes> Recorded(const std::string& folder) = 0;
    // The count of `tree` is about to be dropped: the ring goes, or counts another folder.
    virtual void Leaving(platform::CountTreeId tree, const platform::CountProgress& progress) = 0;
};

// The shares of one folder's children moving from what they were when new sizes came to what the
// sizes now give, with the curve and speed of the weight animation.
class QRShareBlend {
public:
    // Starts from the shares the children were last laid out with.
    QRShareBlend(const QREFolder& folder, float speed);
    ~QRShareBlend();
    QRShareBlend(const QRShareBlend&) = delete;
    QRShareBlend& operator=(const QRShareBlend&) = delete;

    // Advances one frame; false once the blend has arrived.
    bool Tick();
    // The share to lay a child out with, for the share its size gives.
    float Shown(const QRElement& child, float share) const;
    void Forget(const QRElement* child) { From.erase(child); }

private:
    QRIteration* Animation = nullptr; // owned
    std::unordered_map<const QRElement*, float> From;
};

class QRRingSizes {
public:
    // `counter`, `watcher` and `history` (none: no size history) are not owned and outlive the
    // ring's sizes.
    QRRingSizes(QOXRing& ring, platform::FolderCounter& counter, platform::FolderWatcher& watcher,
                platform::VolumeCrossing crossing, QRCountHistory* history = nullptr);
    // Drops the ring's count at once (no worker reads for it any more) and ends its watches.
    ~QRRingSizes();
    QRRingSizes(const QRRingSizes&) = delete;
    QRRingSizes& operator=(const QRRingSizes&) = delete;

    // The frame's part before the ring's update: the count follows the ring's folder and standing,
    // asks about folders new on the ring, puts expanded folders first, and watches them.
    void Sync(platform::CountStanding standing);
    // Takes a folder's totals as its size; the layout eases to it.
    void Apply(const platform::CountResult& result);
    // "SizeOnDisk" changed: every counted folder takes the other total as its size.
    void Remeasure();
    // Advances the blends, and lays the ring out when sizes or blends changed it.
    void Animate();
    // The blend of a folder's children, or none (asked by the layout).
    const QRShareBlend* BlendOf(const QREFolder& folder) const;
    QRFolderCount CountOf(const QREFolder& folder) const;
    // How the count goes, as the counter last told without waiting for a worker. Once it is done,
    // no recorded size is shown any more.
    platform::CountProgress Progress();
    // The time of the recorded sizes shown while the ring counts; none once it has counted.
    std::optional<std::int64_t> RecordedTime() const;
    // The ring was refreshed: folders whose time changed are counted again.
    void Refreshed();
    // A folder's own entries changed on the disk: they are counted again.
    void FolderChanged(const QREFolder& folder);
    void ElementFreed(const QRElement* element);
    // Counting turned off: the folders' sizes go back to unset, and the files' too unless the scan
    // reads them anyway ("ComputeFileSizeAutomatically").
    void ClearSizes();

    platform::CountTreeId Tree = 0;
    platform::VolumeCrossing Crossing;
    QRRingWatch Watch;
    // While "Show Growth" is on and the history holds the count it names.
    std::unique_ptr<QRRingGrowth> Growth;
    std::string GrowthKey; // what Growth was made for: the count named and the ring's folder

private:
    struct Entry {
        QREFolder* Folder = nullptr; // not owned
        platform::CountTicket Ticket = 0;
        std::string Relative;        // below the ring's folder, ending in "/"; "" for the root
        QRFolderCount Count;
    };
    struct Walk {
        std::vector<platform::CountWant> Wants;
        std::vector<std::string> Urgent;
        std::vector<QREFolder*> Expanded;
    };

    void RestartTree(platform::CountStanding standing);
    void ForgetTree();
    // A folder not counted yet takes the size recorded for it, if any.
    void ShowRecorded(Entry& entry);
    void Visit(QREFolder& folder, const std::string& relative, bool behindLink, Walk& walk);
    Entry& Register(QREFolder& folder, const std::string& relative, bool behindLink, Walk& walk);
    void StartBlend(const QREFolder& folder);
    void TakeMeasure(Entry& entry);
    void ForgetFolders(const QREFolder& folder);

    QOXRing& Ring;
    platform::FolderCounter& Counter;
    QRCountHistory* History = nullptr;         // not owned
    std::unique_ptr<QRRecordedSizes> Recorded; // while the ring's first count runs
    std::string TreeFolder;
    platform::CountStanding Standing = platform::CountStanding::Waiting;
    std::uint64_t SyncedLayout = 0;
    bool Synced = false;
    platform::CountTicket NextTicket = 1;
    std::unordered_map<const QRElement*, Entry> Entries;
    std::unordered_map<platform::CountTicket, QREFolder*> ByTicket; // not owned
    std::vector<std::string> Urgent;
    platform::CountProgress LastProgress{true, 0};
    bool LayoutWanted = false; // sizes changed since the last layout
    std::unordered_map<const QRElement*, std::unique_ptr<QRShareBlend>> Blends;
};
