#include "lists/favorite_recent.h"

#include <algorithm>

#include "engine/file_file.h"
#include "engine/qox_convert.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "engine/script_parser.h"
#include "lists/list_file.h"

namespace {

constexpr std::size_t kKeyWidth = 15;
const char* const kFileTitle = "Recent";

// A key's whole number replaces the field; a value that is not a number (or does not fit) leaves
// it as it was. Such values read as -1, so -1 itself counts only when written as "-1".
void ReadNumber(const QOXParser& line, const char* key, int& field)
{
    if (!line.TokenEquals(0, key))
        return;
    const int value = line.GetInt(1);
    if (value != -1 || line.GetToken(1) == "-1")
        field = value;
}

} // namespace

QAFRecent::QAFRecent(QOXObject* parent) : QOXObject(parent, "QOX Favorite Recent Files") {}

void QAFRecent::AddFolder(const std::string& folder)
{
    const std::string entry = QOXFileSystem::IncludeTrailingDelimiter(folder);
    if (Contains(entry))
        return;
    Settings.Recent.Folders.push_back(entry);
    Trim();
}

bool QAFRecent::Contains(const std::string& folder) const
{
    const auto& folders = Settings.Recent.Folders;
    return std::find(folders.begin(), folders.end(), folder) != folders.end();
}

void QAFRecent::FillBox(std::vector<std::string>& items) const
{
    for (const std::string& folder : Settings.Recent.Folders) {
        if (std::find(items.begin(), items.end(), folder) == items.end())
            items.push_back(folder);
    }
}

void QAFRecent::Trim()
{
    auto& folders = Settings.Recent.Folders;
    if (folders.size() > kMaxFolders)
        folders.erase(folders.begin(), folders.end() - static_cast<long>(kMaxFolders));
}

void QAFRecent::Load(const std::string& name)
{
    const auto read = [this](lists::ListFileReader& reader) {
        Settings = TSettings();
        while (reader.NextLine()) {
            if (reader.Line().IsBlockStart("APPEARANCE"))
                ReadAppearance(reader);
            else if (reader.Line().IsBlockStart("FOLDERS"))
                ReadFolders(reader);
        }
    };
    const lists::ListFileRead result =
        lists::LoadListFile(Engine()->FileSystem->MakeConfigPath(name, "ini"), kFileTitle, {"APPEARANCE", "FOLDERS"}, read);
    if (result == lists::ListFileRead::Refused)
        Settings = TSettings();
    if (result != lists::ListFileRead::Read)
        return;
    PlaceWindow();
    Trim();
}

void QAFRecent::ReadAppearance(lists::ListFileReader& reader)
{
    reader.ReadBlock([this](const QOXParser& line) {
        if (line.TokenEquals(0, "MAXIMIZE"))
            Settings.Maximize = line.GetBool(1);
        ReadNumber(line, "LEFT", Settings.Left);
        ReadNumber(line, "TOP", Settings.Top);
        ReadNumber(line, "WIDTH", Settings.Width);
        ReadNumber(line, "HEIGHT", Settings.Height);
    });
}

void QAFRecent::ReadFolders(lists::ListFileReader& reader)
{
    Settings.Recent.Folders.clear();
    reader.ReadBlock([this](const QOXParser& line) {
        // A blank line names no folder.
        if (!line.IsEmpty())
            Settings.Recent.Folders.push_back(line.GetToken(0));
    });
}

void QAFRecent::PlaceWindow() const
{
    if (Window == nullptr)
        return;
    // A window without a size would be lost; it then keeps the placement it was made with.
    if (Settings.Width > 0 && Settings.Height > 0)
        Window->Place(Settings.Left, Settings.Top, Settings.Width, Settings.Height);
    Window->SetMaximized(Settings.Maximize);
}

void QAFRecent::TakeWindowPlacement()
{
    if (Window == nullptr)
        return;
    Settings.Maximize = Window->IsMaximized();
    Settings.Left = Window->Left();
    Settings.Top = Window->Top();
    Settings.Width = Window->Width();
    Settings.Height = Window->Height();
}

void QAFRecent::Save(const std::string& name)
{
    TakeWindowPlacement();
    lists::SaveListFile(Engine()->FileSystem->MakeConfigPath(name, "ini"), kFileTitle, [this](QOXFile& file) {
        file.WriteLine("");
        file.WriteLine("");
        file.WriteLine("APPEARANCE {");
        file.WriteLine(lists::KeyLine("MAXIMIZE", QOXConvert::BoolToStr(Settings.Maximize), kKeyWidth));
        file.WriteLine(lists::KeyLine("LEFT", QOXConvert::IntToStr(Settings.Left), kKeyWidth));
        file.WriteLine(lists::KeyLine("TOP", QOXConvert::IntToStr(Settings.Top), kKeyWidth));
        file.WriteLine(lists::KeyLine("WIDTH", QOXConvert::IntToStr(Settings.Width), kKeyWidth));
        file.WriteLine(lists::KeyLine("HEIGHT", QOXConvert::IntToStr(Settings.Height), kKeyWidth));
        file.WriteLine("}");
        file.WriteLine("");
        file.WriteLine("FOLDERS {");
        for (const std::string& folder : Settings.Recent.Folders) {
            if (lists::IsWritable(folder))
                file.WriteLine("  " + lists::Quoted(folder));
            else
                lists::ReportLeftOut("the recent file", "folder", folder);
        }
        file.WriteLine("}");
        file.WriteLine("");
    });
}

void QAFRecent::BeforeDestroy()
{
    Save("recent");
}
