#pragma once
// The base of every engine, resource, graphics, input and application object: a serial ID, a short
// name, a parent that destroys it and the children it destroys in turn.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Gives a class its runtime name for Describe.
#define QOX_CLASS(Name) \
public: \
    const char* ClassName() const override { return #Name; } \
private:

class QOXObject {
public:
    QOXObject(QOXObject* parent, const std::string& name);
    QOXObject(const QOXObject&) = delete;
    QOXObject& operator=(const QOXObject&) = delete;

    // The one way to end an object: its children die first (last attached first), then it leaves
    // its parent and is freed. Never `delete` an object directly.
    void Destroy();

    virtual const char* ClassName() const { return "QOXObject"; }

    std::uint32_t GetID() const { return ID; }
    void SetID(std::uint32_t id) { ID = id; }
    const std::string& GetName() const { return Name; }
    void SetName(const std::string& name);

    virtual QOXObject* GetParent() const { return Parent; }
    virtual bool HasParent() const { return Parent != nullptr; }
    // Moves the object to `parent` (none when it is the object itself): it leaves the list of its
    // former parent, which learns that through ChildRemoved, and joins the end of the new one.
    virtual void SetParent(QOXObject* parent);

    // Children are listed once each, in order of attachment; adding, removing and moving a child
    // cost the same however many siblings it has.
    void AddChild(QOXObject* child);    // the child's parent becomes this object
    void RemoveChild(QOXObject* child); // the child is left without a parent
    void DestroyChildren();
    std::vector<QOXObject*> GetChildren() const;
    int ChildCount() const { return Children; }

    std::string Describe() const;

    static std::int64_t LiveInstances();
    void LogCreated() const { LogLifecycle("OBJECT_CREATE: "); }

protected:
    virtual ~QOXObject();
    // Hooks of Destroy, run while the object is still whole.
    virtual void BeforeDestroy() {}
    virtual void AfterChildrenDestroyed() {}
    // Called when a child leaves, so that a parent can forget its own references to it.
    virtual void ChildRemoved(QOXObject* /*child*/) {}

private:
    void LogLifecycle(const char* prefix) const;
    void Link(QOXObject* child);
    void Unlink(QOXObject* child);

    std::uint32_t ID = 0;
    std::string Name;
    QOXObject* Parent = nullptr; // not owned; the parent owns this object
    // The children, a list linked through the children themselves: owned, destroyed by
    // DestroyChildren last-attached first.
    QOXObject* FirstChild = nullptr;
    QOXObject* LastChild = nullptr;
    int Children = 0;
    // This object's neighbours in its parent's list; not owned.
    QOXObject* PreviousSibling = nullptr;
    QOXObject* NextSibling = nullptr;
};

// Creates an object and, once it is whole, logs its creation (with its runtime class name).
// Every object is made this way; `Destroy` ends it.
template <class T, class... Args>
T* QOXNew(Args&&... args)
{
    T* object = new T(std::forward<Args>(args)...);
    object->LogCreated();
    return object;
}

// unique_ptr for objects without a parent (tests, tools): Destroy instead of delete.
struct QOXObjectDestroyer {
    void operator()(QOXObject* object) const { object->Destroy(); }
};
template <class T>
using QOXPtr = std::unique_ptr<T, QOXObjectDestroyer>;

template <class T, class... Args>
QOXPtr<T> QOXMake(Args&&... args)
{
    return QOXPtr<T>(QOXNew<T>(std::forward<Args>(args)...));
}
