#include "engine/qox_object.h"

#include "engine/qox_console.h"
#include "engine/qox_constant.h"
#include "engine/qox_main.h"

namespace {
std::int64_t gLiveInstances = 0;
std::uint32_t gLastID = 0;
} // namespace

QOXObject::QOXObject(QOXObject* parent, const std::string& name)
{
    ++gLiveInstances;
    ID = ++gLastID;
    Name = CutText(name, kStringName);
    QOXObject::SetParent(parent);
}

QOXObject::~QOXObject()
{
    --gLiveInstances;
}

void QOXObject::Destroy()
{
    BeforeDestroy();
    DestroyChildren();
    AfterChildrenDestroyed();
    if (Parent != nullptr)
        Parent->RemoveChild(this);
    LogLifecycle("OBJECT_DELETE: ");
    delete this;
}

void QOXObject::SetName(const std::string& name)
{
    Name = CutText(name, kStringName);
}

void QOXObject::SetParent(QOXObject* parent)
{
    QOXObject* next = parent == this ? nullptr : parent;
    if (Parent != nullptr && Parent != next)
        Parent->RemoveChild(this);
    Parent = next;
    if (Parent != nullptr)
        Parent->Link(this);
}

void QOXObject::AddChild(QOXObject* child)
{
    if (child != nullptr && child != this)
        child->SetParent(this);
}

void QOXObject::RemoveChild(QOXObject* child)
{
    if (child == nullptr || child->Parent != this)
        return;
    Unlink(child);
    child->Parent = nullptr;
    ChildRemoved(child);
}

void QOXObject::Link(QOXObject* child)
{
    // Already listed: the child is the first one or has a neighbour.
    if (FirstChild == child || child->PreviousSibling != nullptr)
        return;
    child->PreviousSibling = LastChild;
    child->NextSibling = nullptr;
    if (LastChild != nullptr)
        LastChild->NextSibling = child;
    else
        FirstChild = child;
    LastChild = child;
    ++Children;
}

void QOXObject::Unlink(QOXObject* child)
{
    (child->PreviousSibling != nullptr ? child->PreviousSibling->NextSibling : FirstChild) = child->NextSibling;
    (child->NextSibling != nullptr ? child->NextSibling->PreviousSibling : LastChild) = child->PreviousSibling;
    child->PreviousSibling = child->NextSibling = nullptr;
    --Children;
}

void QOXObject::DestroyChildren()
{
    // Each child leaves this list while it dies, so the last one is always the next to go.
    while (LastChild != nullptr)
        LastChild->Destroy();
}

std::vector<QOXObject*> QOXObject::GetChildren() const
{
    std::vector<QOXObject*> children;
    children.reserve(static_cast<std::size_t>(Children));
    for (QOXObject* child = FirstChild; child != nullptr; child = child->NextSibling)
        children.push_back(child);
    return children;
}

std::string QOXObject::Describe() const
{
    return CutText("ID " + std::to_string(ID) + ": \"" + Name + "\" (" + ClassName() + ")", kStringL);
}

std::int64_t QOXObject::LiveInstances()
{
    return gLiveInstances;
}

void QOXObject::LogLifecycle(const char* prefix) const
{
    QOXEngine* engine = Engine();
    if (engine == nullptr || engine->Console == nullptr || !engine->LogObjects)
        return;
    engine->Console->AddLine(CutText(prefix + Describe(), kStringL));
}
