#include "engine/qox_object.h"

#include <algorithm>

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
    Parent = parent == this ? nullptr : parent;
    if (Parent != nullptr)
        Parent->AddChild(this);
}

void QOXObject::AddChild(QOXObject* child)
{
    if (UniqueChildren && std::find(Children.begin(), Children.end(), child) != Children.end())
        return;
    Children.push_back(child);
    Children.shrink_to_fit();
}

void QOXObject::RemoveChild(QOXObject* child)
{
    const auto found = std::find(Children.begin(), Children.end(), child);
    if (found == Children.end())
        return;
    Children.erase(found);
    Children.shrink_to_fit();
    ChildRemoved(child);
}

void QOXObject::DestroyChildren()
{
    // Each child leaves this list while it dies; walking backwards keeps the indices valid.
    for (std::size_t i = Children.size(); i-- > 0;) {
        if (i < Children.size() && Children[i] != nullptr)
            Children[i]->Destroy();
    }
    Children.clear();
    Children.shrink_to_fit();
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
