#include "lists/list_file.h"

#include <algorithm>

#include "engine/file_file.h"
#include "engine/qox_console.h"
#include "engine/qox_file.h"
#include "engine/qox_main.h"
#include "engine/script_parser.h"

namespace lists {

bool IsWritable(const std::string& text)
{
    return text.find_first_of("\"\n\r") == std::string::npos;
}

void ReportLeftOut(const std::string& fileName, const std::string& what, const std::string& text)
{
    Engine()->Console->AddLine("Left out of " + fileName + ": the " + what + " " + text +
                               " holds a double quote or a line break.");
}

std::string LowerCase(const std::string& text)
{
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

bool SameText(const std::string& a, const std::string& b)
{
    return LowerCase(a) == LowerCase(b);
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string KeyLine(const std::string& key, const std::string& value, std::size_t keyWidth)
{
    std::string line = "  " + key;
    line.resize(2 + std::max(keyWidth, key.size()), ' ');
    return line + value;
}

ListFileReader::ListFileReader(const std::string& path, std::initializer_list<const char*> topKeywords)
    : TopKeywords(topKeywords.begin(), topKeywords.end())
{
    File = Engine()->FileSystem->OpenRead(path, QOXFile::Text);
    Engine()->Parser->Clear();
}

ListFileReader::~ListFileReader()
{
    File->Destroy();
    Engine()->Parser->Clear();
}

bool ListFileReader::NextLine()
{
    if (KeepLine) {
        KeepLine = false;
        return true;
    }
    if (File->Eof())
        return false;
    Engine()->Parser->ParseLine(File->ReadLine());
    return true;
}

bool ListFileReader::NextBlockLine()
{
    if (!NextLine() || Line().IsBlockEnd())
        return false;
    if (IsTopBlockStart()) {
        // The block's "}" is missing: this line opens the next block.
        KeepLine = true;
        return false;
    }
    return true;
}

bool ListFileReader::IsTopBlockStart() const
{
    return std::any_of(TopKeywords.begin(), TopKeywords.end(),
                       [this](const std::string& keyword) { return Line().IsBlockStart(keyword); });
}

const QOXParser& ListFileReader::Line() const
{
    return *Engine()->Parser;
}

bool ListFileReader::WasRefused() const
{
    return File->WasRefused();
}

ListFileRead LoadListFile(const std::string& path, const std::string& title,
                          std::initializer_list<const char*> topKeywords,
                          const std::function<void(ListFileReader& reader)>& read)
{
    if (!Engine()->FileSystem->FileExists(path, QOXFileSystem::ReportMissing))
        return ListFileRead::Missing;
    Engine()->Console->AddLine("Loading " + title + " Ini File...");
    ListFileReader reader(path, topKeywords);
    read(reader);
    if (reader.WasRefused())
        return ListFileRead::Refused;
    Engine()->Console->AddLine("Done!");
    return ListFileRead::Read;
}

ListFileRead LoadBlocks(const std::string& path, const std::string& title, const char* keyword,
                        const std::function<void(ListFileReader& reader)>& readBlock)
{
    return LoadListFile(path, title, {keyword}, [&](ListFileReader& reader) {
        while (reader.NextLine()) {
            if (reader.Line().IsBlockStart(keyword))
                readBlock(reader);
        }
    });
}

void SaveListFile(const std::string& path, const std::string& title, const std::function<void(QOXFile& file)>& write)
{
    if (!Engine()->FileSystem->FileExists(path, QOXFileSystem::ReportMissing))
        return;
    if (Engine()->FileSystem->IsRefused(path)) {
        Engine()->Log("File \"" + path + "\" could not be read, so it is not written over.");
        return;
    }
    Engine()->Console->AddLine("Saving " + title + " Ini File...");
    QOXFile* file = Engine()->FileSystem->OpenWrite(path, QOXFile::Text);
    write(*file);
    file->Destroy();
    Engine()->Console->AddLine("Done!");
}

} // namespace lists
