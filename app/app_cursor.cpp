#include "app/app_cursor.h"

#include <algorithm>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/app_actions.h"
#include "app/app_main.h"
#include "app/dragdrop_main.h"
#include "input/input_main.h"
#include "input/input_mouse.h"
#include "ring/element_folder.h"
#include "ring/ring_main.h"

namespace {

constexpr const char* kCursorObjectName = "APP Cursor";
// The file-system root: a ring there has no folder above it.
constexpr const char* kFileSystemRoot = "/";

// Where an element stands among its parent's children: its index within its own list (sub-folders
// or files), and which list that is.
struct RangePlace {
    int Index = -1;
    bool Folder = false;
};

// A sector beside the children (free space, small items) stands after the last file.
RangePlace PlaceOf(const QREFolder& parent, const QRElement* element)
{
    if (element->IsSummary())
        return {parent.Files->Count(), false};
    if (element->IsFolder())
        return {parent.Folders->IndexOf(static_cast<const QREFolder*>(element)), true};
    return {parent.Files->IndexOf(static_cast<const QREFile*>(element)), false};
}

bool Between(int low, int value, int high)
{
    return low <= value && value <= high;
}

} // namespace

QACursor::QACursor(QOXObject* parent, QOXInput* input) : QOXObject(parent, kCursorObjectName), Input(input)
{
    FilesToCopy = QOXNew<QRList<QRElement>>(this, QRList<QRElement>::Uniqueness::Unique,
                                            QRList<QRElement>::Ownership::References);
    FilesToCopy->SetKeepOrder(true);
    DropTarget = QOXNew<QACDragDrop>(this);
    App()->Cursor = this;
    App()->Deletion = this;
    App()->WatchElements(this);
}

void QACursor::BeforeDestroy()
{
    if (App() == nullptr)
        return;
    App()->UnwatchElements(this);
    if (App()->Cursor == this)
        App()->Cursor = nullptr;
    if (App()->Deletion == this)
        App()->Deletion = nullptr;
}

// A press on a miniature of the ring strip is left to the strip, which takes it at the next frame.
void QACursor::Press(QAMouseButton button)
{
    MenuOpen = false;
    if (!Enabled() || (Picker != nullptr && Picker->OnRingStrip(MousePosition.X, MousePosition.Y))) {
        Button = QAMouseButton::None;
        return;
    }
    Button = PressedButton(button);
    Dragging = false;
    PressedOnSelection = false;
    PressPosition = MousePosition;
    AnchorElement = nullptr;
    SetCurrent(nullptr);
    QRElement* element = Pick();
    if (element == nullptr) {
        ClearSelection();
        return;
    }
    SetCurrent(element);
    AnchorElement = element;
    // A press on the selection may drag it out of the view; a click or a drag inside the view
    // clears it at the release instead.
    PressedOnSelection = Button == QAMouseButton::Left && element->Selected;
    if (Button == QAMouseButton::Left && !AddDown() && !InvertActionDown() && !PressedOnSelection)
        ClearSelection();
    if (Button == QAMouseButton::Right) {
        if (!element->Selected)
            ClearSelection();
        element->Selected = true;
    }
}

// The button the input layer sees down wins over the one the event named.
QAMouseButton QACursor::PressedButton(QAMouseButton button) const
{
    if (button != QAMouseButton::Right && button != QAMouseButton::Middle)
        button = QAMouseButton::Left;
    if (ActionDown(kActionLeft, kGroupMouse))
        button = QAMouseButton::Left;
    if (ActionDown(kActionRight, kGroupMouse))
        button = QAMouseButton::Right;
    if (ActionDown(kActionMiddle, kGroupMouse))
        button = QAMouseButton::Middle;
    return button;
}

void QACursor::Move(float x, float y)
{
    MousePosition = {x, y};
    const bool buttonDown = ActionDown(kActionLeft, kGroupMouse) || ActionDown(kActionRight, kGroupMouse) ||
                            ActionDown(kActionMiddle, kGroupMouse);
    if (Button != QAMouseButton::None && buttonDown && MousePosition != PressPosition)
        Dragging = true;
    if (Button == QAMouseButton::Left && CurrentElement != nullptr && Dragging) {
        if (PressedOnSelection && OutsideTheView()) {
            DragSelectionOut();
            return;
        }
        if (QRElement* element = Pick())
            SetCurrent(element);
    }
}

bool QACursor::OutsideTheView() const
{
    if (App()->Window == nullptr)
        return false;
    const QAViewSize size = App()->Window->ViewSize();
    return MousePosition.X < 0 || MousePosition.Y < 0 || MousePosition.X >= static_cast<float>(size.Width) ||
           MousePosition.Y >= static_cast<float>(size.Height);
}

// The window system takes the pointer until the drop, so the press ends here: its release never
// reaches the view. The selection stays as it was.
void QACursor::DragSelectionOut()
{
    const QOXPtr<QRList<QRElement>> selected =
        QOXMake<QRList<QRElement>>(nullptr, QRList<QRElement>::Uniqueness::Unique, QRList<QRElement>::Ownership::References);
    ElementRing->CollectSelected(*selected);
    Button = QAMouseButton::None;
    Dragging = false;
    PressedOnSelection = false;
    if (DragOutLink != nullptr && selected->Count() > 0)
        DragOutLink->DragOut(PathsOf(*selected));
}

void QACursor::Release()
{
    if (Button == QAMouseButton::Left)
        SelectRelease();
    else if (Button == QAMouseButton::Right)
        MenuRelease();
    Button = QAMouseButton::None;
}

void QACursor::SelectRelease()
{
    if (CurrentElement == nullptr)
        return;
    if (Dragging && CurrentElement->Parent != nullptr) {
        SelectRange();
        return;
    }
    // A drag over ring roots has no range: it ends as a click on the root.
    Dragging = false;
    ClickRelease();
}

void QACursor::SelectRange()
{
    const bool invert = InvertActionDown();
    if (!AddDown() && !invert)
        ClearSelection();
    CurrentElement->Parent->ForEachChild([&](QRElement* child) {
        if (InRange(child))
            child->Selected = invert ? !child->Selected : true;
    });
}

void QACursor::ClickRelease()
{
    if (InvertActionDown()) {
        CurrentElement->Selected = !CurrentElement->Selected;
        return;
    }
    const bool add = AddDown();
    if (!add)
        ClearSelection();
    CurrentElement->Selected = true;
    QREFolder* folder = CurrentFolder();
    if (folder == nullptr || (add && folder->Expanded))
        return;
    ToggleCurrent();
}

void QACursor::MenuRelease()
{
    if (!Dragging)
        OpenMenu(std::nullopt);
}

void QACursor::OpenMenu(std::optional<QAPoint> at)
{
    if (CurrentElement == nullptr) {
        QAMenuItems shown;
        if (App()->CurrentRing != nullptr)
            shown = {QAMenuItem::CMBGMinimizeRing, QAMenuItem::CMBGCloseRing, QAMenuItem::CMBGLineRing};
        PopUp(QAMenu::Background, shown, at);
        return;
    }
    OfferMembers(*CurrentElement);
    PopUp(QAMenu::Element, ElementMenuItems(*CurrentElement), at);
}

QAMenuItems QACursor::ElementMenuItems(const QRElement& element) const
{
    const bool inFolder = !element.IsRoot();
    const bool folder = element.IsFolder();
    QAMenuItems shown;
    if (inFolder && !element.IsSummary()) // a sector that stands for no entry has no name to change
        shown.insert({QAMenuItem::CMLineRename, QAMenuItem::CMRename, QAMenuItem::CMHideFromRing});
    if (folder)
        shown.insert({QAMenuItem::CMLineFolder, QAMenuItem::CMExpandAll, QAMenuItem::CMLineNew, QAMenuItem::CMNew});
    if (folder && inFolder)
        shown.insert({QAMenuItem::CMExpand, QAMenuItem::CMNewRingFromFolder});
    if (!inFolder)
        shown.insert({QAMenuItem::CMLineRoot, QAMenuItem::CMRingMinimize, QAMenuItem::CMRingClose});
    if (!inFolder && element.FullPath() != kFileSystemRoot)
        shown.insert(QAMenuItem::CMUpOneLevel);
    if (!OfferedMembers.empty())
        shown.insert(QAMenuItem::CMSmallItems);
    return shown;
}

void QACursor::PopUp(QAMenu menu, const QAMenuItems& shown, std::optional<QAPoint> at)
{
    MenuOpen = true;
    if (Menus == nullptr)
        return;
    if (at)
        Menus->PopUpMenuAt(menu, shown, *at);
    else
        Menus->PopUpMenu(menu, shown);
}

void QACursor::OpenCurrent()
{
    if (CurrentElement != nullptr && !CurrentElement->IsFolder())
        CurrentElement->Activate();
}

// While a drag from another program is over the view, the pointer is where the drag says: the
// view sees no mouse moves then.
void QACursor::Update()
{
    if (Input != nullptr && Input->Mouse != nullptr && !DropTarget->DragActive)
        MousePosition = {static_cast<float>(Input->Mouse->CursorX()), static_cast<float>(Input->Mouse->CursorY())};
    if (RingMenuPending) {
        RingMenuPending = false;
        PopUp(QAMenu::RingList, {}, std::nullopt);
    }
    InvertDown = InvertActionDown();
}

bool QACursor::Enabled() const
{
    const bool windowActive = Menus != nullptr && Menus->WindowActive();
    return !(ActionDown(kActionDisplayRings, kGroupRings) && windowActive);
}

bool QACursor::RangeActive() const
{
    return Button == QAMouseButton::Left && Dragging && CurrentElement != nullptr;
}

// Sub-folders come before files on a ring, so a range runs through the sub-folders first: from one
// sub-folder to another, from one file to another, or from a sub-folder through every later
// sub-folder and the files up to a file.
bool QACursor::InRange(const QRElement* element) const
{
    const QRElement* current = CurrentElement;
    const QRElement* anchor = AnchorElement;
    if (element == nullptr || current == nullptr || anchor == nullptr)
        return false;
    if (element->Parent != current->Parent || anchor->Parent != current->Parent)
        return false;
    if (element->Parent == nullptr)
        return true;
    const QREFolder& parent = *element->Parent;
    RangePlace first = PlaceOf(parent, anchor);
    RangePlace last = PlaceOf(parent, current);
    const RangePlace x = PlaceOf(parent, element);
    if (first.Folder == last.Folder && first.Index > last.Index)
        std::swap(first.Index, last.Index);
    if (!first.Folder && last.Folder)
        std::swap(first, last);
    const bool folderToFile = first.Folder && !last.Folder;
    if (x.Folder) {
        if (!first.Folder)
            return false;
        return folderToFile ? x.Index >= first.Index : Between(first.Index, x.Index, last.Index);
    }
    if (last.Folder)
        return false;
    return folderToFile ? x.Index <= last.Index : Between(first.Index, x.Index, last.Index);
}

void QACursor::SetCurrent(QRElement* element)
{
    CurrentElement = element;
    if (element != nullptr)
        ElementRing = element->Ring;
}

QREFolder* QACursor::FolderOfCursor() const
{
    QOXRing* ring = App()->CurrentRing;
    if (ring == nullptr)
        return nullptr;
    if (CurrentElement == nullptr || CurrentElement->Ring != ring)
        return ring->Root;
    return CurrentElement->IsRoot() ? static_cast<QREFolder*>(CurrentElement) : CurrentElement->Parent;
}

void QACursor::ToggleCurrent()
{
    MenuOpen = false;
    QREFolder* folder = CurrentFolder();
    if (folder == nullptr)
        return;
    folder->ToggleExpanded();
    ElementRing->Relayout();
    if (folder->Expanded && folder->Parent != nullptr)
        FocusCurrent();
}

void QACursor::FocusCurrent()
{
    if (CurrentElement != nullptr)
        ElementRing->FocusOn(CurrentElement);
}

void QACursor::RequestRingMenu(QOXRing* ring)
{
    MenuRing = ring;
    RingMenuPending = true;
    MenuOpen = true;
}

// The marks are references: nothing is copied. Other programs get the files' paths; a Cut or
// Copy of nothing leaves what they put on the clipboard there.
void QACursor::MarkSelected(QACopyMode mode)
{
    if (RefusedOnHistory(App()->CurrentRing))
        return;
    FilesToCopy->Clear();
    CopyMode = mode;
    App()->CollectSelectedInCurrentRing(*FilesToCopy);
    if (Clipboard != nullptr && FilesToCopy->Count() > 0)
        Clipboard->Put(Marked());
}

void QACursor::OpenElement()
{
    ChangeCurrent(&QRElement::Activate);
}

void QACursor::ComputeElementSize()
{
    ChangeCurrent(&QRElement::ComputeSize);
}

template <class Change>
void QACursor::ChangeCurrent(Change change)
{
    MenuOpen = false;
    if (CurrentElement == nullptr)
        return;
    (CurrentElement->*change)();
    ElementRing->Relayout();
}

void QACursor::ExpandAllElement()
{
    MenuOpen = false;
    QREFolder* folder = CurrentFolder();
    if (folder == nullptr)
        return;
    folder->ExpandAll();
    ElementRing->Relayout();
    FocusCurrent();
}

void QACursor::NewRingFromFolder()
{
    MenuOpen = false;
    if (QREFolder* folder = CurrentFolder())
        App()->CreateRing(folder->FullPath(), QAScan::AcrossFrames);
}

void QACursor::MinimizeRing()
{
    MenuOpen = false;
    if (App()->CurrentRing == nullptr)
        return;
    App()->CurrentRing->Minimize();
    App()->SetCurrentRing(nullptr);
}

void QACursor::CloseCurrentRing()
{
    MenuOpen = false;
    if (App()->CurrentRing != nullptr)
        App()->CloseRing(App()->CurrentRing);
}

void QACursor::CloseAllRings()
{
    MenuOpen = false;
    App()->SetCurrentRing(nullptr);
    App()->CloseAllRings();
}

void QACursor::UpOneLevel()
{
    MenuOpen = false;
    QOXRing* ring = App()->CurrentRing;
    if (ring == nullptr || ring->History != nullptr || ring->Folder.size() < 2)
        return;
    const std::size_t slash = ring->Folder.rfind('/', ring->Folder.size() - 2);
    if (slash != std::string::npos)
        App()->ChangeRoot(ring->Folder.substr(0, slash + 1));
}

// The ring-list menu may outlive its ring (an automatic refresh can close a ring whose folder
// vanished), so its commands act only on a ring that is still open.
void QACursor::MaximizeMenuRing()
{
    MenuOpen = false;
    if (!MenuRingIsOpen())
        return;
    MenuRing->Restore();
    App()->SetCurrentRing(MenuRing);
}

void QACursor::CloseMenuRing()
{
    MenuOpen = false;
    if (!MenuRingIsOpen())
        return;
    App()->CloseRing(MenuRing);
    MenuRing = nullptr;
}

bool QACursor::MenuRingIsOpen() const
{
    return MenuRing != nullptr && App()->Rings->Contains(MenuRing);
}

// A new current ring deselects every ring, so the press that picked the current element has no
// more meaning.
void QACursor::RingChanged(QOXRing* ring)
{
    CurrentElement = nullptr;
    AnchorElement = nullptr;
    ElementRing = ring;
}

void QACursor::ElementFreed(const QRElement* element)
{
    if (!element->IsFolder()) {
        FilesToCopy->Delete(const_cast<QRElement*>(element));
    } else if (FilesToCopy->Count() > 0) {
        std::vector<QRElement*> going;
        for (QRElement* marked : *FilesToCopy)
            if (marked->IsWithin(*element))
                going.push_back(marked);
        RemoveMarked(going);
    }
    if (CurrentElement != nullptr && CurrentElement->IsWithin(*element))
        CurrentElement = nullptr;
    if (AnchorElement != nullptr && AnchorElement->IsWithin(*element))
        AnchorElement = nullptr;
    std::replace(OfferedMembers.begin(), OfferedMembers.end(), const_cast<QRElement*>(element),
                 static_cast<QRElement*>(nullptr));
}

// Keeps the order of the others; a list of many loses many at the cost of one pass.
void QACursor::RemoveMarked(const std::vector<QRElement*>& going)
{
    if (going.empty())
        return;
    if (going.size() == 1) {
        FilesToCopy->Delete(going.front());
        return;
    }
    const std::unordered_set<const QRElement*> gone(going.begin(), going.end());
    std::vector<QRElement*> kept;
    for (QRElement* marked : *FilesToCopy)
        if (!gone.contains(marked))
            kept.push_back(marked);
    FilesToCopy->Clear();
    for (QRElement* marked : kept)
        FilesToCopy->Add(marked);
}

// The cursor works on window events, which come between frames: a key or button is read as those
// events left it, not as the last frame's poll saw it (a quick Ctrl+click is a Ctrl+click).
bool QACursor::ActionDown(const char* action, const char* group) const
{
    return Input != nullptr && Input->IsDownNow(action, group);
}

bool QACursor::AddDown() const
{
    return ActionDown(kActionAdd, kGroupSelection);
}

bool QACursor::InvertActionDown() const
{
    return ActionDown(kActionInvert, kGroupSelection);
}

QRElement* QACursor::Pick() const
{
    return Picker != nullptr ? Picker->PickAt(MousePosition.X, MousePosition.Y) : nullptr;
}

void QACursor::ClearSelection() const
{
    App()->DeselectAllRings();
}

QREFolder* QACursor::CurrentFolder() const
{
    if (CurrentElement == nullptr || !CurrentElement->IsFolder())
        return nullptr;
    return static_cast<QREFolder*>(CurrentElement);
}
