// The current ring's root moved by the path bar, Go Up One Level and the ring's history.
#include "app/app_constant.h"
#include "app/app_main.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "platform/directory_listing.h"
#include "ring/ring_history.h"

bool QOXApp::ChangeRoot(const std::string& path)
{
    QOXRing* ring = CurrentRing;
    if (ring == nullptr)
        return false;
    const std::string folder = QOXFileSystem::IncludeTrailingDelimiter(path);
    if (folder == ring->Folder)
        return true;
    if (ring->History != nullptr) {
        Engine()->Message(ring->History->RefusalText());
        return false;
    }
    if (!platform::IsDirectory(folder)) {
        Engine()->Message("\"" + folder + "\" is not a folder.");
        return false;
    }
    ring->Roots.Back.push_back(ring->Folder);
    ring->Roots.Forward.clear();
    MoveRoot(*ring, folder);
    return true;
}

void QOXApp::RootBack()
{
    if (CurrentRing != nullptr)
        StepRoot(CurrentRing->Roots.Back, CurrentRing->Roots.Forward);
}

void QOXApp::RootForward()
{
    if (CurrentRing != nullptr)
        StepRoot(CurrentRing->Roots.Forward, CurrentRing->Roots.Back);
}

// A folder gone from the disk meanwhile is passed over with a message.
void QOXApp::StepRoot(std::vector<std::string>& from, std::vector<std::string>& to)
{
    while (!from.empty()) {
        const std::string folder = from.back();
        from.pop_back();
        if (!platform::IsDirectory(folder)) {
            Engine()->Message("\"" + folder + "\" is no longer on the disk.");
            continue;
        }
        to.push_back(CurrentRing->Folder);
        MoveRoot(*CurrentRing, folder);
        return;
    }
}

// Upwards the ring keeps what it has read (each step adopts the old root); anywhere else it
// reads the new folder.
void QOXApp::MoveRoot(QOXRing& ring, const std::string& folder)
{
    while (folder.size() < ring.Folder.size() && ring.Folder.starts_with(folder)) {
        const std::size_t before = ring.Folder.size();
        ring.UpOneLevel();
        if (ring.Folder.size() == before)
            break;
    }
    if (ring.Folder != folder) {
        ring.SetFolder(folder);
        ring.Root->Expand();
        ring.Relayout();
    }
    SetCaption(kAppCaptionPrefix + ring.Folder);
}
