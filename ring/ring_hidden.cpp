#include "ring/ring_hidden.h"

#include "engine/qox_main.h"
#include "platform/hidden_items_file.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"

namespace {

std::string Joined(const std::vector<std::string>& texts)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : "; ") + text;
    return joined;
}

// The element's path below its ring's folder.
std::string RelativePath(const QRElement& element)
{
    return element.FullPath().substr(element.Ring->Folder.size());
}

bool AncestorHidden(const QRElement& element)
{
    for (const QREFolder* folder = element.Parent; folder != nullptr; folder = folder->Parent)
        if (folder->HiddenFromRing)
            return true;
    return false;
}

} // namespace

void QRHiddenItems::Mark(QOXRing& ring)
{
    if (Folder != ring.Folder)
        Load(ring);
    if (Summed)
        ClearSums(*ring.Root);
    Summed = false;
    for (const std::string& path : Paths) {
        QRElement* element = ring.Root->Descendant(path, QRPathWalk::Loaded);
        if (element == nullptr)
            continue;
        element->HiddenFromRing = true;
        element->Selected = false;
        // What lies in a hidden folder has left the totals with it.
        if (AncestorHidden(*element))
            continue;
        const std::int64_t bytes = element->SizeKnown() ? element->Size : 0;
        ++element->Parent->HiddenChildren;
        element->Parent->HiddenChildBytes += bytes;
        for (QREFolder* folder = element->Parent; folder != nullptr; folder = folder->Parent)
            folder->HiddenBelow += bytes;
        Summed = true;
    }
}

bool QRHiddenItems::Hide(QOXRing& ring, QRElement& element)
{
    if (element.IsRoot() || element.Ring != &ring)
        return false;
    if (Folder != ring.Folder)
        Load(ring);
    element.HiddenFromRing = true;
    element.Selected = false;
    Paths.insert(RelativePath(element));
    Save();
    return true;
}

bool QRHiddenItems::Show(QOXRing& ring, const std::string& relative)
{
    if (Folder != ring.Folder)
        Load(ring);
    if (Paths.erase(relative) == 0)
        return false;
    if (QRElement* element = ring.Root->Descendant(relative, QRPathWalk::Loaded))
        element->HiddenFromRing = false;
    Save();
    return true;
}

void QRHiddenItems::Load(QOXRing& ring)
{
    Folder = ring.Folder;
    Paths.clear();
    FileRefused = false;
    const std::string file = platform::HiddenItemsPathOf(Folder);
    platform::HiddenItemsRead read = platform::ReadHiddenItems(file, Folder);
    FileRefused = read.Outcome == platform::HiddenRead::Refused;
    if (!read.Problems.empty())
        Engine()->Message("The items hidden from the ring of \"" + Folder + "\" cannot all be read from \"" + file +
                          "\": " + Joined(read.Problems) + ". " +
                          (FileRefused ? "The ring shows everything." : "The others stay hidden."));
    Paths = std::move(read.Items);
    for (const std::string& path : Paths)
        ring.Root->Descendant(path, QRPathWalk::Reading);
}

void QRHiddenItems::Save()
{
    const std::string file = platform::HiddenItemsPathOf(Folder);
    const std::string problem = platform::WriteHiddenItems(
        file, Folder, Paths, FileRefused ? platform::HiddenWrite::SetAsideFirst : platform::HiddenWrite::Replace);
    if (!problem.empty()) {
        Engine()->Message("The items hidden from the ring of \"" + Folder + "\" cannot be kept in \"" + file +
                          "\": " + problem + ". They stay hidden until the program ends.");
        return;
    }
    FileRefused = false;
}

void QRHiddenItems::ClearSums(QREFolder& folder)
{
    folder.HiddenBelow = 0;
    folder.HiddenChildren = 0;
    folder.HiddenChildBytes = 0;
    for (QREFolder* child : *folder.Folders)
        ClearSums(*child);
}
