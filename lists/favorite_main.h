#pragma once
// The favourite engine: the favourites in their order, the favourites file, the rules of the add
// and edit dialogs, the entries of the new-ring dialog's folder box, and the recent folders.
#include <string>
#include <vector>

#include "lists/favorite_generic.h"
#include "lists/favorite_recent.h"
#include "lists/list_file.h"
#include "lists/owned_list.h"

class QOXFile;
namespace lists {
class ListFileReader;
}

// What a favourite holds, kept apart from the engine so that an editor's Cancel can put it back.
struct QFFavoriteState {
    std::string Name;
    std::string Folder;
};

class QOXFavoriteEngine : public QOXObject {
    QOX_CLASS(QOXFavoriteEngine)
public:
    explicit QOXFavoriteEngine(QOXObject* parent);

    QFGeneric* AddFavorite(const std::string& name);
    QFGeneric* GetFavorite(int index) const;
    int Count() const { return Favorites.Count(); }
    void DeleteFavorite(int index);
    void SwapFavorites(int first, int second);
    void Clear();

    // Folders compare exactly; names without regard to case.
    bool HasFolder(const std::string& folder) const;
    std::string FindFolderByName(const std::string& name) const;

    void Load(const std::string& name);
    void Save(const std::string& name, lists::ListFileSave mode = lists::ListFileSave::ExistingOnly) const;

    // The favourites as they are now, and the list made again from such a record.
    std::vector<QFFavoriteState> Snapshot() const;
    void Restore(const std::vector<QFFavoriteState>& favorites);

    // "Add to Favorites": whether the folder may get a favourite; when another favourite has it
    // already, the user is told so.
    bool CanAddFolder(const std::string& folder) const;
    // The name the add dialog proposes: the folder's own name.
    static std::string ProposedName(const std::string& folder);
    // The edit dialog's OK: every rule in turn, each failing one shown through Message. `folder`
    // gets its trailing "/" as the dialog shows it. `edited` (may be none) does not count as
    // another favourite.
    bool ConfirmEdit(const std::string& name, std::string& folder, const QFGeneric* edited) const;
    // The new-ring dialog's folder box: the names, then the folders, then the recent folders that
    // are not in it yet.
    std::vector<std::string> RingBoxEntries() const;

    QAFRecent* Recent = nullptr; // owned as a child

protected:
    void BeforeDestroy() override;

private:
    const QFGeneric* FavoriteWithFolder(const std::string& folder) const;
    void ReadFavorite(lists::ListFileReader& reader);
    static bool IsWritable(const QFGeneric& favorite);

    lists::OwnedList<QFGeneric> Favorites{this};
};
