#include "lists/favorite_main.h"

#include "engine/file_file.h"
#include "engine/qox_convert.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "engine/script_parser.h"
#include "lists/list_file.h"

namespace {

constexpr std::size_t kKeyWidth = 16;
const char* const kFileTitle = "Favorites";

bool IsBlank(const std::string& text)
{
    return text.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

QOXFavoriteEngine::QOXFavoriteEngine(QOXObject* parent) : QOXObject(parent, "QOX Favorite Engine")
{
    Recent = QOXNew<QAFRecent>(this);
}

QFGeneric* QOXFavoriteEngine::AddFavorite(const std::string& name)
{
    QFGeneric* favorite = QOXNew<QFGeneric>(this);
    favorite->SetName(name);
    return Favorites.Add(favorite);
}

QFGeneric* QOXFavoriteEngine::GetFavorite(int index) const
{
    return Favorites.Get(index);
}

void QOXFavoriteEngine::DeleteFavorite(int index)
{
    Favorites.Delete(index);
}

void QOXFavoriteEngine::SwapFavorites(int first, int second)
{
    Favorites.Swap(first, second);
}

void QOXFavoriteEngine::Clear()
{
    Favorites.Clear();
}

const QFGeneric* QOXFavoriteEngine::FavoriteWithFolder(const std::string& folder) const
{
    for (const QFGeneric* favorite : Favorites) {
        if (favorite->Folder == folder)
            return favorite;
    }
    return nullptr;
}

bool QOXFavoriteEngine::HasFolder(const std::string& folder) const
{
    return FavoriteWithFolder(folder) != nullptr;
}

std::string QOXFavoriteEngine::FindFolderByName(const std::string& name) const
{
    const std::string wanted = CutText(name, kStringName);
    for (const QFGeneric* favorite : Favorites) {
        if (lists::SameText(favorite->GetName(), wanted))
            return favorite->Folder;
    }
    return std::string();
}

void QOXFavoriteEngine::Load(const std::string& name)
{
    Clear();
    const std::string path = Engine()->FileSystem->MakeConfigPath(name, "ini");
    const auto read = [this](lists::ListFileReader& reader) { ReadFavorite(reader); };
    if (lists::LoadBlocks(path, kFileTitle, "FAVORITE", read) == lists::ListFileRead::Refused)
        Clear();
}

void QOXFavoriteEngine::ReadFavorite(lists::ListFileReader& reader)
{
    QFGeneric* favorite = AddFavorite("NEW FAVORITE");
    reader.ReadBlock([favorite](const QOXParser& line) {
        if (line.TokenEquals(0, "NAME"))
            favorite->SetName(line.GetToken(1));
        else if (line.TokenEquals(0, "FOLDER"))
            favorite->Folder = line.GetToken(1);
    });
}

bool QOXFavoriteEngine::IsWritable(const QFGeneric& favorite)
{
    if (!lists::IsWritable(favorite.GetName())) {
        lists::ReportLeftOut("the favorites file", "favorite name", favorite.GetName());
        return false;
    }
    if (!lists::IsWritable(favorite.Folder)) {
        lists::ReportLeftOut("the favorites file", "folder", favorite.Folder);
        return false;
    }
    return true;
}

void QOXFavoriteEngine::Save(const std::string& name, lists::ListFileSave mode) const
{
    lists::SaveListFile(Engine()->FileSystem->MakeConfigPath(name, "ini"), kFileTitle, [this](QOXFile& file) {
        file.WriteLine("");
        file.WriteLine("");
        for (const QFGeneric* favorite : Favorites) {
            if (!IsWritable(*favorite))
                continue;
            file.WriteLine("FAVORITE {");
            file.WriteLine(lists::KeyLine("NAME", lists::Quoted(favorite->GetName()), kKeyWidth));
            file.WriteLine(lists::KeyLine("FOLDER", lists::Quoted(favorite->Folder), kKeyWidth));
            file.WriteLine("}");
            file.WriteLine("");
        }
    }, mode);
}

std::vector<QFFavoriteState> QOXFavoriteEngine::Snapshot() const
{
    std::vector<QFFavoriteState> favorites;
    for (const QFGeneric* favorite : Favorites)
        favorites.push_back({favorite->GetName(), favorite->Folder});
    return favorites;
}

void QOXFavoriteEngine::Restore(const std::vector<QFFavoriteState>& favorites)
{
    Clear();
    for (const QFFavoriteState& state : favorites)
        AddFavorite(state.Name)->Folder = state.Folder;
}

bool QOXFavoriteEngine::CanAddFolder(const std::string& folder) const
{
    if (!HasFolder(folder))
        return true;
    Engine()->Message("There is already a favorite bound to the directory" + QOXConvert::LineBreak() + "\"" + folder +
                      "\"!");
    return false;
}

std::string QOXFavoriteEngine::ProposedName(const std::string& folder)
{
    return QOXFileSystem::ExtractName(QOXFileSystem::ExcludeTrailingDelimiter(folder));
}

bool QOXFavoriteEngine::ConfirmEdit(const std::string& name, std::string& folder, const QFGeneric* edited) const
{
    if (IsBlank(name)) {
        Engine()->Message("You must enter a name for a Favorite!");
        return false;
    }
    folder = QOXFileSystem::IncludeTrailingDelimiter(folder);
    if (!Engine()->FileSystem->DirectoryExists(folder, QOXFileSystem::Silent)) {
        Engine()->Message("The folder \"" + folder + "\" was not found!");
        return false;
    }
    const QFGeneric* owner = FavoriteWithFolder(folder);
    if (owner != nullptr && owner != edited) {
        Engine()->Message("The folder \"" + folder + "\" is already bound to another favorite!");
        return false;
    }
    if (!lists::IsWritable(name) || !lists::IsWritable(folder)) {
        Engine()->Message("A favorite cannot hold a double quote or a line break!");
        return false;
    }
    return true;
}

std::vector<std::string> QOXFavoriteEngine::RingBoxEntries() const
{
    std::vector<std::string> entries;
    for (const QFGeneric* favorite : Favorites)
        entries.push_back(favorite->GetName());
    for (const QFGeneric* favorite : Favorites)
        entries.push_back(favorite->Folder);
    Recent->FillBox(entries);
    return entries;
}

void QOXFavoriteEngine::BeforeDestroy()
{
    Save("favorites");
    Clear();
}
