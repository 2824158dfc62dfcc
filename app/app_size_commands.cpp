// The size history's commands: the count growth is shown against, "What Grew" for the current
// ring, a path of a ring shown to the user, and a history opened as a ring of its own.
#include "app/app_growth.h"
#include "app/app_keyboard.h"
#include "app/app_main.h"
#include "app/app_sizes.h"
#include "engine/qox_main.h"
#include "platform/date_text.h"
#include "platform/size_history_file.h"
#include "platform/size_history_store.h"
#include "ring/element_folder.h"
#include "ring/ring_history.h"

namespace {

// The child of a folder with that name (a folder's with its "/"), or none.
QRElement* ChildNamed(const QREFolder& folder, std::string_view name)
{
    QRElement* found = nullptr;
    folder.ForEachChild([&](QRElement* child) {
        if (found == nullptr && child->Name == name)
            found = child;
    });
    return found;
}

} // namespace

void QOXApp::ChooseGrowthSince()
{
    if (Dialogs == nullptr)
        return;
    std::vector<std::string> choices{"Previous count"};
    std::vector<std::string> values{"previous"};
    if (CurrentRing != nullptr && Settings.RecordSizeHistory)
        if (const std::optional<platform::SizeHistory> history = Sizes->ReadHistory(CurrentRing->Folder))
            for (auto count = history->Counts.rbegin(); count != history->Counts.rend(); ++count)
                if (count->Extent == platform::CountExtent::Complete) {
                    choices.push_back(platform::DayMonthYearTimeText(count->Time));
                    values.push_back(platform::IsoMinuteText(count->Time));
                }
    const auto current = std::find(values.begin(), values.end(), Settings.GrowthSince);
    int chosen = current != values.end() ? static_cast<int>(current - values.begin()) : 0;
    if (Dialogs->ChooseGrowthSince(choices, chosen) != QADialogResult::Ok || chosen < 0 ||
        chosen >= static_cast<int>(values.size()))
        return;
    Settings.GrowthSince = values[static_cast<std::size_t>(chosen)];
    Settings.ShowGrowth = true;
    if (Window != nullptr)
        Window->SettingsLoaded(Settings);
}

void QOXApp::ShowWhatGrew()
{
    QOXRing* ring = CurrentRing;
    if (ring == nullptr || Dialogs == nullptr)
        return;
    platform::FolderCounter* counter = Sizes->TheCounter();
    if (counter == nullptr || ring->Sizes == nullptr || !Settings.RecordSizeHistory) {
        Engine()->Message("What Grew compares a ring with its size history: it needs folder sizes counted in the background "
                          "and the size history kept (CountFolderSizesInBackground and RecordSizeHistory).");
        return;
    }
    const std::optional<platform::SizeHistory> history = Sizes->ReadHistory(ring->Folder);
    const platform::SizeCount* base =
        history ? GrowthBase(*history, Settings.GrowthSince, Sizes->SessionCount(ring->Folder)) : nullptr;
    if (base == nullptr) {
        Engine()->Message("The size history of \"" + ring->Folder + "\" holds no count to compare with yet.");
        return;
    }
    platform::CountSnapshot now;
    counter->Snapshot(ring->Sizes->Tree, now);
    if (now.Extent != platform::SnapshotExtent::Complete) {
        Engine()->Message("\"" + ring->Folder + "\" is still being counted: What Grew can tell once the count is done.");
        return;
    }
    const std::string folder = ring->Folder;
    Dialogs->ShowWhatGrew(WhatGrew(*history, *base, now), [this, folder](const std::string& path) { RevealPath(folder, path); });
}

// Every folder on the way is expanded (and so read), so that the entry is on the ring.
void QOXApp::RevealPath(const std::string& folder, const std::string& relative)
{
    QOXRing* ring = FindRing(folder);
    if (ring == nullptr)
        return;
    if (ring != CurrentRing)
        SetCurrentRing(ring);
    QRElement* element = ring->Root;
    for (std::size_t start = 0; start < relative.size();) {
        auto* parent = static_cast<QREFolder*>(element);
        if (!parent->Expanded)
            parent->Expand();
        const std::size_t slash = relative.find('/', start);
        const std::size_t end = slash == std::string::npos ? relative.size() : slash + 1;
        element = ChildNamed(*parent, std::string_view(relative).substr(start, end - start));
        if (element == nullptr) {
            Engine()->Message("\"" + folder + relative + "\" is no longer on the disk.");
            return;
        }
        start = end;
    }
    ring->Relayout();
    ring->FocusOn(element);
    if (Keys != nullptr)
        Keys->MoveTo(element);
}

void QOXApp::OpenSizeHistory()
{
    std::string path;
    if (Dialogs != nullptr && Dialogs->ChooseHistoryFile(platform::SizeHistoryFolder(), path))
        OpenSizeHistoryFile(path);
}

// A history is read whole before anything of it is shown; one that does not hold together is
// refused with the reason.
QOXRing* QOXApp::OpenSizeHistoryFile(const std::string& path)
{
    platform::SizeHistory history;
    const platform::HistoryFileRead read = platform::ReadHistoryFile(path, history);
    if (read.Outcome != platform::HistoryRead::Read) {
        Engine()->Message("Size history \"" + path + "\" cannot be opened: " +
                          (read.Outcome == platform::HistoryRead::Missing ? std::string("it does not exist") : read.Problem));
        return nullptr;
    }
    if (history.NewestComplete() == nullptr) {
        Engine()->Message("Size history \"" + path + "\" holds no complete count to show.");
        return nullptr;
    }
    auto source = std::make_unique<QRRingHistory>(std::move(history));
    const std::string folder = source->Folder();
    if (!Settings.AllowMultipleEqualRings)
        if (QOXRing* open = FindRing(folder)) {
            SetCurrentRing(open);
            return open;
        }
    QOXRing* ring = QOXNew<QOXRing>(folder);
    ring->History = std::move(source);
    return AddRing(ring);
}
