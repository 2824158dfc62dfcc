#pragma once
// The base of everything loaded from a file or built once and used many times. A resource is empty
// or loaded; loading again unloads first, and destroying a resource unloads it.
#include <string>

#include "engine/qox_object.h"

// What distinguishes one kind of resource in the log: its default object name, the texts of its
// load and unload lines (empty when the kind writes none) and the name it takes from its file:
// the path relative to the program folder without extension, the file's name without its folder,
// or the name exactly as given (kinds loaded by a name relative to the program folder).
struct ResourceKind {
    enum class Naming { RelativeName, FileNameOnly, GivenName };
    const char* DefaultName = "";
    const char* LoadLine = "";
    const char* UnloadLine = "";
    Naming TakesName = Naming::FileNameOnly;
};

class QOXResource : public QOXObject {
    QOX_CLASS(QOXResource)
public:
    QOXResource(QOXObject* owner, const ResourceKind& kind);

    virtual void Load(const std::string& fileName);
    virtual void Unload();
    virtual void AfterSetup() {}

    bool IsLoaded() const { return !Empty; }
    const ResourceKind& Kind() const { return ResourceKindOf; }

    std::string FileName;
    bool Empty = true;

protected:
    // The load convention: unload, remember the file, take a name from it, write the load line.
    // The kind then loads its data and calls FinishLoad when the data is in place.
    void BeginLoad(const std::string& fileName);
    void FinishLoad() { Empty = false; }
    // Frees what the kind holds; called by Unload while the resource is loaded.
    virtual void ReleaseData() {}
    void BeforeDestroy() override;

private:
    std::string NameFromFile(const std::string& fileName) const;

    ResourceKind ResourceKindOf;
};
