#include "app/dragdrop_main.h"

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "engine/qox_convert.h"
#include "engine/qox_main.h"
#include "platform/paths.h"
#include "platform/uri_list.h"
#include "ring/element_folder.h"

namespace {

constexpr const char* kDragDropObjectName = "QOX APP Drag&Drop Interface";

} // namespace

QACDragDrop::QACDragDrop(QACursor* cursor) : QOXObject(cursor, kDragDropObjectName), Cursor(cursor) {}

void QACDragDrop::DragEnter(float x, float y)
{
    Follow(x, y);
}

void QACDragDrop::DragMove(float x, float y)
{
    Follow(x, y);
}

// The view sees no mouse moves during a drag: the cursor's pointer follows the drag instead.
void QACDragDrop::Follow(float x, float y)
{
    DragActive = true;
    Cursor->MousePosition = {x, y};
}

void QACDragDrop::DragLeave()
{
    DragActive = false;
}

void QACDragDrop::Drop(const std::vector<std::string>& urls, float x, float y)
{
    Cursor->MousePosition = {x, y};
    DragActive = false;
    HandleDrop(urls);
}

void QACDragDrop::HandleDrop(const std::vector<std::string>& urls)
{
    const QAPoint pointer = Cursor->MousePosition;
    QRElement* target = Cursor->Picker != nullptr ? Cursor->Picker->PickAt(pointer.X, pointer.Y) : nullptr;
    std::vector<std::string> paths;
    std::vector<std::string> refused;
    for (const std::string& url : urls) {
        std::string path;
        if (platform::LocalPathOfUrl(url, path))
            paths.push_back(platform::WithoutTrailingSlash(path));
        else
            refused.push_back(url);
    }
    if (urls.empty())
        Engine()->Error("APP_DRAGDROP", "Could not get drag&drop object data!");
    if (!refused.empty())
        Engine()->Message("Only files of this computer can be dropped here; these were not moved:" +
                          FirstTenLines(refused, QOXConvert::LineBreak()));
    if (!paths.empty() && target != nullptr)
        DropFiles(paths, target);
    App()->RefreshAll();
}

void QACDragDrop::DropFiles(const std::vector<std::string>& paths, QRElement* target)
{
    if (Cursor->Files.Running() || QACursor::RefusedOnHistory(target->Ring))
        return;
    const QREFolder* folder = target->IsFolder() ? static_cast<const QREFolder*>(target) : target->Parent;
    Cursor->Files.Transfer(platform::TransferKind::Move, paths, platform::WithoutTrailingSlash(folder->FullPath()));
}
