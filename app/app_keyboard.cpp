#include "app/app_keyboard.h"

#include <algorithm>

#include "app/app_cursor.h"
#include "app/app_main.h"
#include "engine/qox_main.h"
#include "engine/qox_timer.h"
#include "platform/case_fold.h"
#include "ring/element_folder.h"
#include "ring/ring_layout.h"
#include "ring/ring_main.h"

namespace {

constexpr const char* kKeyboardObjectName = "APP Keyboard";

// The name as the user reads it: a folder's without its closing "/".
std::string_view ShownName(const QRElement& element)
{
    std::string_view name = element.Name;
    if (!name.empty() && name.back() == '/')
        name.remove_suffix(1);
    return name;
}

std::string FoldedName(const QRElement& element)
{
    return platform::FoldCase(ShownName(element));
}

// A child of a folder on screen that is drawn with a sector: what the keys may reach.
// Gathered small items are walked too: their folder's small-items sector shows where they are.
bool Reachable(const QRElement& child)
{
    return child.Visible && (QRLayout::HasSector(child) || QRLayout::IsGathered(child));
}

// The order the arrow keys walk a folder's children in, the order they lie in on screen: those
// with a sector of their own, the small-items sector followed by the elements it gathers, then
// the free space.
std::vector<QRElement*> WalkOrder(const QREFolder& folder)
{
    std::vector<QRElement*> order;
    folder.ForEachChild([&order](QRElement* child) {
        if (child->Visible && QRLayout::HasSector(*child))
            order.push_back(child);
    });
    const auto [smallItems, freeSpace] = QRLayout::BesideOf(folder);
    if (smallItems != nullptr) {
        order.push_back(smallItems);
        folder.ForEachChild([&order](QRElement* child) {
            if (QRLayout::IsGathered(*child))
                order.push_back(child);
        });
    }
    if (freeSpace != nullptr)
        order.push_back(freeSpace);
    return order;
}

// A letter, digit or sign: no control character starts what a key types.
bool Printable(const std::string& text)
{
    const auto first = static_cast<unsigned char>(text.front());
    return first >= 0x20 && first != 0x7f;
}

} // namespace

QAKeyboard::QAKeyboard(QOXObject* parent, QACursor* cursor) : QOXObject(parent, kKeyboardObjectName), Cursor(cursor)
{
    App()->Keys = this;
    App()->WatchElements(this);
}

void QAKeyboard::BeforeDestroy()
{
    if (App() == nullptr)
        return;
    App()->UnwatchElements(this);
    if (App()->Keys == this)
        App()->Keys = nullptr;
}

void QAKeyboard::KeyPress(const QAKeyPress& press)
{
    if (App()->CurrentRing == nullptr) {
        if (press.Key == QAKey::Menu || (press.Key == QAKey::F10 && press.Has(kShift)))
            OpenMenu();
        return;
    }
    if (!MoveKey(press) && !CommandKey(press))
        TypingKey(press);
}

bool QAKeyboard::MoveKey(const QAKeyPress& press)
{
    if (press.Has(kCtrl))
        return false;
    const QAMoveKind kind = press.Has(kShift) ? QAMoveKind::Extend : QAMoveKind::Move;
    switch (press.Key) {
    case QAKey::Left:
        Sibling(QAStep::Back, kind);
        return true;
    case QAKey::Right:
        Sibling(QAStep::Forward, kind);
        return true;
    case QAKey::Up:
        if (press.Has(kAlt))
            UpOneLevel();
        else
            Parent();
        return true;
    case QAKey::Down:
        FirstChild();
        return true;
    case QAKey::Home:
        Root();
        return true;
    default:
        return false;
    }
}

bool QAKeyboard::CommandKey(const QAKeyPress& press)
{
    const bool ctrl = press.Has(kCtrl);
    switch (press.Key) {
    case QAKey::Enter:
        Open();
        return true;
    case QAKey::Backspace:
        UpOneLevel();
        return true;
    case QAKey::Space:
        if (ctrl)
            ToggleSelection();
        return ctrl;
    case QAKey::A:
        if (ctrl)
            SelectFolder();
        return ctrl;
    case QAKey::Zero:
        if (ctrl)
            ResetView();
        return ctrl;
    case QAKey::F10:
        if (!press.Has(kShift))
            return false;
        OpenMenu();
        return true;
    case QAKey::Menu:
        OpenMenu();
        return true;
    case QAKey::Plus:
    case QAKey::Minus:
        // While a name is being typed they are letters of it.
        if (!TypedText().empty())
            return false;
        Zoom(press.Key == QAKey::Plus ? QAZoom::In : QAZoom::Out);
        return true;
    default:
        return false;
    }
}

// Space alone is the ring strip's key; it types a space only inside a name being typed.
bool QAKeyboard::TypingKey(const QAKeyPress& press)
{
    if (press.Has(kCtrl) || press.Has(kAlt) || press.Text.empty() || !Printable(press.Text))
        return false;
    if (press.Key == QAKey::Space && TypedText().empty())
        return false;
    Type(press.Text);
    return true;
}

void QAKeyboard::MoveTo(QRElement* element, QAMoveKind kind)
{
    if (element == nullptr)
        return;
    Cursor->SetCurrent(element);
    if (kind == QAMoveKind::Move)
        Cursor->AnchorElement = element;
    else
        SelectRange();
    KeyElement = element;
    PointerAtKey = Cursor->MousePosition;
    // The root lies round the centre: there is nothing to turn to.
    if (!element->IsRoot())
        Cursor->FocusCurrent();
}

// A range runs between siblings, like a drag along a band: everything else is deselected.
void QAKeyboard::SelectRange() const
{
    App()->DeselectAllRings();
    const QRElement* current = Cursor->CurrentElement;
    if (current->IsRoot()) {
        Cursor->CurrentElement->Selected = true;
        return;
    }
    current->Parent->ForEachChild([this](QRElement* child) {
        if (Cursor->InRange(child))
            child->Selected = true;
    });
}

void QAKeyboard::Sibling(QAStep step, QAMoveKind kind)
{
    QRElement* from = Start();
    if (from->IsRoot()) {
        MoveTo(from);
        return;
    }
    const std::vector<QRElement*> siblings = WalkOrder(*from->Parent);
    if (siblings.empty())
        return;
    const auto count = static_cast<long>(siblings.size());
    const long here = std::find(siblings.begin(), siblings.end(), from) - siblings.begin();
    const long next = here == count ? 0 : (here + static_cast<long>(step) + count) % count;
    const QRElement* anchor = Cursor->AnchorElement;
    if (kind == QAMoveKind::Extend && (anchor == nullptr || anchor->Parent != from->Parent))
        Cursor->AnchorElement = from;
    MoveTo(siblings[static_cast<std::size_t>(next)], kind);
}

void QAKeyboard::Parent()
{
    QRElement* from = Start();
    MoveTo(from->IsRoot() ? from : from->Parent);
}

// A collapsed folder opens first, as a click would open it.
void QAKeyboard::FirstChild()
{
    QRElement* from = Start();
    MoveTo(from);
    if (!from->IsFolder())
        return;
    auto* folder = static_cast<QREFolder*>(from);
    if (!folder->Expanded)
        Cursor->ToggleCurrent();
    const std::vector<QRElement*> children = WalkOrder(*folder);
    MoveTo(children.empty() ? nullptr : children.front());
}

void QAKeyboard::Root()
{
    MoveTo(App()->CurrentRing->Root);
}

// As a double click: a file opens with the desktop's program, a folder expands or collapses.
void QAKeyboard::Open()
{
    MoveTo(Start());
    if (Cursor->CurrentElement->IsFolder())
        Cursor->ToggleCurrent();
    else
        Cursor->OpenCurrent();
}

void QAKeyboard::UpOneLevel()
{
    Cursor->UpOneLevel();
    if (Cursor->CurrentElement != nullptr && !Cursor->CurrentElement->IsRoot())
        Cursor->FocusCurrent();
}

// As a click with the "Invert" key held.
void QAKeyboard::ToggleSelection()
{
    MoveTo(Start());
    Cursor->CurrentElement->Selected = !Cursor->CurrentElement->Selected;
}

// Every element on screen in the folder of the current element (in the root for the root itself).
void QAKeyboard::SelectFolder()
{
    QRElement* from = Start();
    QREFolder* folder = from->IsRoot() ? static_cast<QREFolder*>(from) : from->Parent;
    App()->DeselectAllRings();
    folder->ForEachChild([](QRElement* child) {
        if (Reachable(*child))
            child->Selected = true;
    });
}

// The element menu opens where the element lies, after selecting it as a right press would; the
// background menu (no ring) in the middle of the view.
void QAKeyboard::OpenMenu()
{
    std::optional<QAPoint> at;
    if (App()->CurrentRing != nullptr) {
        QRElement* element = Start();
        MoveTo(element);
        if (!element->Selected) {
            App()->DeselectAllRings();
            element->Selected = true;
        }
        if (Cursor->Picker != nullptr)
            at = Cursor->Picker->ViewPointOf(*element);
    }
    if (!at) {
        const QAViewSize size = App()->Window != nullptr ? App()->Window->ViewSize() : QAViewSize{};
        at = QAPoint{static_cast<float>(size.Width) / 2.0f, static_cast<float>(size.Height) / 2.0f};
    }
    Cursor->OpenMenu(at);
}

void QAKeyboard::Zoom(QAZoom direction)
{
    QOXApp::StepZoom(*App()->CurrentRing, direction);
}

void QAKeyboard::ResetView()
{
    App()->ResetRingView();
}

// A new name is looked for after the current element; a name that grows may stay on it.
void QAKeyboard::Type(const std::string& text)
{
    const bool growing = !TypedText().empty();
    Typed = growing ? Typed + text : text;
    TypedAt = Now();
    const std::string prefix = platform::FoldCase(Typed);
    const std::vector<QRElement*> drawn = DrawnElements();
    const auto count = drawn.size();
    const auto here = static_cast<std::size_t>(std::find(drawn.begin(), drawn.end(), Start()) - drawn.begin());
    const std::size_t first = here == count ? 0 : here + (growing ? 0 : 1);
    for (std::size_t step = 0; step < count; ++step) {
        QRElement* element = drawn[(first + step) % count];
        if (!element->IsRoot() && FoldedName(*element).starts_with(prefix)) {
            MoveTo(element);
            return;
        }
    }
}

int QAKeyboard::Find(const std::string& text)
{
    Matches.clear();
    const std::string needle = platform::FoldCase(text);
    if (needle.empty() || App()->CurrentRing == nullptr)
        return 0;
    for (QRElement* element : DrawnElements()) {
        if (!element->IsRoot() && FoldedName(*element).find(needle) != std::string::npos)
            Matches.insert(element);
    }
    return static_cast<int>(Matches.size());
}

void QAKeyboard::FindNext(QAStep step)
{
    if (Matches.empty() || App()->CurrentRing == nullptr)
        return;
    const std::vector<QRElement*> drawn = DrawnElements();
    const auto count = static_cast<long>(drawn.size());
    const long here = std::find(drawn.begin(), drawn.end(), Start()) - drawn.begin();
    for (long distance = 1; distance <= count; ++distance) {
        const long index = ((here + static_cast<long>(step) * distance) % count + count) % count;
        QRElement* element = drawn[static_cast<std::size_t>(index)];
        if (Matches.contains(element)) {
            MoveTo(element);
            return;
        }
    }
}

void QAKeyboard::EndFind()
{
    Matches.clear();
}

const QRElement* QAKeyboard::MarkedElement() const
{
    return KeyElement != nullptr && Cursor->CurrentElement == KeyElement ? KeyElement : nullptr;
}

bool QAKeyboard::IsMatch(const QRElement* element) const
{
    return Matches.contains(element);
}

QRElement* QAKeyboard::InfoElement() const
{
    return MarkedElement() != nullptr && Cursor->MousePosition == PointerAtKey ? KeyElement : nullptr;
}

std::string QAKeyboard::TypedText() const
{
    return TypedAt >= 0.0f && Now() - TypedAt <= kTypingSeconds ? Typed : std::string();
}

void QAKeyboard::ElementFreed(const QRElement* element)
{
    if (element->IsFolder())
        std::erase_if(Matches, [&](const QRElement* match) { return match->IsWithin(*element); });
    else
        Matches.erase(element);
    if (KeyElement != nullptr && KeyElement->IsWithin(*element))
        KeyElement = nullptr;
}

QRElement* QAKeyboard::Start() const
{
    QRElement* current = Cursor->CurrentElement;
    QOXRing* ring = App()->CurrentRing;
    return current != nullptr && current->Ring == ring ? current : ring->Root;
}

std::vector<QRElement*> QAKeyboard::DrawnElements() const
{
    std::vector<QRElement*> drawn;
    auto visit = [&drawn](QRElement* element) {
        if (QRLayout::HasSector(*element) || QRLayout::IsGathered(*element))
            drawn.push_back(element);
    };
    ForEachDrawnElement(App()->CurrentRing->Root, visit);
    return drawn;
}

float QAKeyboard::Now() const
{
    return Engine()->Timer->GetRunningTime();
}
