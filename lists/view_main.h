#pragma once
// The view engine: the views in their order, the views file, and the answer to which view a file
// extension belongs to.
#include <string>

#include <vector>

#include "lists/list_file.h"
#include "lists/view_generic.h"
#include "lists/owned_list.h"

class QOXFile;
namespace lists {
class ListFileReader;
}

// The application's part in a change of views: every ring is laid out again with the new matching.
class QVDisplayListener {
public:
    virtual ~QVDisplayListener() = default;
    virtual void ApplyDisplayChange() = 0;
};

// What a view holds, kept apart from the engine so that an editor's Cancel can put it back.
struct QVViewState {
    std::string Name;
    QXColor Colour = QVGeneric::kDefaultColour;
    QXScript Extensions;
    std::string Texture;
    bool Enabled = true;
};

// Whether FindView looks at the views that are off too.
enum class ViewScope { EnabledOnly, IncludeDisabled };

class QOXViewEngine : public QOXObject {
    QOX_CLASS(QOXViewEngine)
public:
    explicit QOXViewEngine(QOXObject* parent);

    QVGeneric* AddView(const std::string& name);
    QVGeneric* GetView(int index) const;
    int Count() const { return Views.Count(); }
    void DeleteView(int index);
    void SwapViews(int first, int second);
    void Clear();

    QVGeneric* FindView(const std::string& extension, ViewScope scope) const;
    int EnabledCount() const;
    bool AnyEnabled() const { return EnabledCount() >= 1; }

    void Load(const std::string& name);
    void Save(const std::string& name, lists::ListFileSave mode = lists::ListFileSave::ExistingOnly) const;

    // The views as they are now, and the list made again from such a record (textures reloaded).
    std::vector<QVViewState> Snapshot() const;
    void Restore(const std::vector<QVViewState>& views);

    // Called by a view's Toggle.
    void EnableOnly(QVGeneric* view);
    void DisplayChanged();

    QVDisplayListener* Display = nullptr; // not owned; the application

protected:
    void BeforeDestroy() override;

private:
    void ReadView(lists::ListFileReader& reader);
    void WriteView(QOXFile& file, const QVGeneric& view) const;

    lists::OwnedList<QVGeneric> Views{this};
};
