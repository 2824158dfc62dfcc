#include "ring/element_main.h"

#include <algorithm>
#include <cmath>

#include "app/app_main.h"
#include "ring/element_folder.h"
#include "ring/name_store.h"
#include "ring/ring_main.h"

namespace {

constexpr std::size_t kLabelLength = 20;
constexpr float kScalePerArea = 0.007f;
constexpr float kDegrees = 3.14159265358979f / 180.0f;

// The byte offset after the first `count` characters of a UTF-8 text (its length if shorter).
std::size_t CharacterOffset(std::string_view text, std::size_t count)
{
    std::size_t offset = 0;
    for (std::size_t seen = 0; offset < text.size() && seen < count; ++seen) {
        ++offset;
        while (offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80)
            ++offset;
    }
    return offset;
}

} // namespace

QRElement::QRElement(QREFolder* parent, QOXRing* ring, std::string_view name) : Parent(parent), Ring(ring)
{
    // A root's own store does not exist yet; a root folder keeps a name of its own itself.
    if (Parent != nullptr)
        Name = Parent->ChildNames.Keep(name);
    UpdateLabel();
}

// Whoever frees an element announces it first (QOXRing::ElementFreed), once for a whole subtree;
// its name goes with its folder's store or was forgotten when it left.
QRElement::~QRElement() = default;

int QRElement::MaxDepth(int depth) const
{
    return Visible && Level > depth ? Level : depth;
}

QROutcome QRElement::DeleteSelected()
{
    return Selected ? DeleteFromDisk() : QROutcome::Kept;
}

void QRElement::Place(int level, float end, float start)
{
    Level = level;
    StartAngle = start;
    EndAngle = end;
    UpdateLabel();
    UpdateScale();
}

// The label is the name without its folder mark, cut to what fits: names longer than the limit
// keep their first characters and end in "...". It shows the name's own bytes.
void QRElement::UpdateLabel()
{
    const std::string_view name = Name;
    const std::size_t nameLength = !name.empty() && name.back() == '/' ? name.size() - 1 : name.size();
    const float fit = Scale > 0.0f ? std::min(1.0f, 1.0f / Scale) : 1.0f;
    const std::size_t limit =
        fit == 1.0f ? kLabelLength : static_cast<std::size_t>(std::lround(static_cast<float>(kLabelLength) * fit));
    // A name of no more bytes than the limit has no more characters either.
    if (name.size() <= limit || CharacterOffset(name, limit) >= nameLength)
        Label.Show(Name, nameLength, QRLabel::Ending::Whole);
    else
        Label.Show(Name, CharacterOffset(name, limit >= 2 ? limit - 2 : 0), QRLabel::Ending::Cut);
}

void QRElement::UpdateScale()
{
    Scale = std::min(1.0f, kScalePerArea * Ring->InnerRadius(Level) * (EndAngle - StartAngle));
}

std::string QRElement::FullPath() const
{
    return (Parent != nullptr ? Parent->FullPath() : Ring->Folder) + Name;
}

void QRElement::SetName(std::string_view name)
{
    QRNameStore& store = NameStore();
    const QRName old = Name;
    Name = store.Keep(name);
    store.Forget(old);
    DetermineHidden();
    UpdateLabel();
    if (Parent != nullptr)
        Parent->PackNames();
}

void QRElement::MoveName(QRNameStore& from, QRNameStore& to)
{
    const QRName old = Name;
    Name = to.Keep(old);
    Label.Moved(old, Name);
    from.Forget(old);
}

QRNameStore& QRElement::NameStore()
{
    return Parent != nullptr ? Parent->ChildNames : static_cast<QREFolder*>(this)->ChildNames;
}

std::int64_t QRElement::ShownSize() const
{
    if (Size < 0 || !IsFolder())
        return Size;
    return std::max<std::int64_t>(0, Size - static_cast<const QREFolder*>(this)->HiddenBelow);
}

std::int64_t QRElement::SizeForLayout() const
{
    const std::int64_t shown = ShownSize();
    return shown == 0 ? 1 : shown;
}

float QRElement::SizeRatio(std::int64_t min, std::int64_t max) const
{
    float position = 0.0f;
    if (max != min) {
        const std::int64_t offset = SizeForLayout() - min;
        const std::int64_t range = max - min;
        position = static_cast<float>(offset) / static_cast<float>(range);
    }
    const float least = App()->Settings.MinimumSizeFactor;
    return least + (1.0f - least) * position;
}

QXVector QRElement::Position() const
{
    const float radius = (Ring->InnerRadius(Level) + Ring->InnerRadius(Level + 1)) / 2.0f;
    const float angle = (90.0f - MidAngle() - Ring->Rotation.Z) * kDegrees;
    return {radius * std::cos(angle), radius * std::sin(angle), 0.0f};
}

bool QRElement::IsWithin(const QRElement& top) const
{
    if (top.IsRoot())
        return Ring == top.Ring; // a ring's elements all lie below its root
    for (const QRElement* step = this; step != nullptr; step = step->Parent)
        if (step == &top)
            return true;
    return false;
}

void QRElement::SetVisible(bool visible)
{
    if (Visible == visible)
        return;
    Visible = visible;
    if (Attached)
        Parent->VisibilityChanged(*this);
}

void QRElement::DetermineHidden()
{
    Hidden = Name.front() == '.';
    Tint = Hidden ? kHiddenTint : QXColor{1.0f, 1.0f, 1.0f};
}

QROutcome QRElement::DeleteThrough(bool (QRDeletion::*entryPoint)(const std::string& path)) const
{
    QRDeletion* deletion = App()->Deletion;
    if (deletion == nullptr || !(deletion->*entryPoint)(FullPath()))
        return QROutcome::Kept;
    return QROutcome::Removed;
}

void QRElement::RefreshLook()
{
    UpdateLabel();
    UpdateScale();
}
