#pragma once
// What the three list files (views, favourites, recent folders) share: they are read and written
// only when they already exist, read block by block through the engine's parser, and written with
// padded key lines and quoted texts.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class QOXFile;
class QOXParser;

namespace lists {

// Whether a text reads back exactly when written between double quotes: a quote would end the
// token early and a line break would split the record.
bool IsWritable(const std::string& text);
// The console line for a record that is left out of a file because of such a text.
void ReportLeftOut(const std::string& fileName, const std::string& what, const std::string& text);

// Case rules for names and extensions: ASCII letters compare without regard to case; other bytes
// of a UTF-8 text compare exactly.
std::string LowerCase(const std::string& text);
bool SameText(const std::string& a, const std::string& b);

std::string Quoted(const std::string& text);
// Two spaces, the key padded with spaces to `keyWidth` characters, the value.
std::string KeyLine(const std::string& key, const std::string& value, std::size_t keyWidth);

// Reads one list file line by line. A block runs to its "}", to the end of the file, or, when its
// "}" is missing, to the start of the next top-level block, which is then read as usual.
class ListFileReader {
public:
    // `topKeywords` are the keywords of the file's top-level blocks.
    ListFileReader(const std::string& path, std::initializer_list<const char*> topKeywords);
    ~ListFileReader();
    ListFileReader(const ListFileReader&) = delete;
    ListFileReader& operator=(const ListFileReader&) = delete;

    // Reads and parses the next line; false at the end of the file.
    bool NextLine();
    // Reads the lines of the block that was just opened; `Line()` holds each of them in turn.
    template <class Handle>
    void ReadBlock(Handle&& handle)
    {
        while (NextBlockLine())
            handle(Line());
    }
    const QOXParser& Line() const;
    // Whether the file was refused (not a regular file, or a line beyond the limit).
    bool WasRefused() const;

private:
    bool NextBlockLine();
    bool IsTopBlockStart() const;

    QOXFile* File = nullptr; // owned; destroyed with the reader
    std::vector<std::string> TopKeywords;
    bool KeepLine = false;
};

enum class ListFileRead { Missing, Refused, Read };
// Reads an existing list file between the console lines "Loading <title> Ini File..." and
// "Done!". A missing file is reported by the file system and nothing is read. A refused file is
// reported too; what was read of it must then be dropped for the defaults.
ListFileRead LoadListFile(const std::string& path, const std::string& title,
                          std::initializer_list<const char*> topKeywords,
                          const std::function<void(ListFileReader& reader)>& read);
// LoadListFile for a file of one kind of block: `readBlock` reads each block that `keyword`
// opens (the reader stands on its first line); other lines are skipped.
ListFileRead LoadBlocks(const std::string& path, const std::string& title, const char* keyword,
                        const std::function<void(ListFileReader& reader)>& readBlock);
// Writes an existing list file anew between "Saving <title> Ini File..." and "Done!". A missing
// file is reported and never created; a file refused when it was read is left for the user to
// repair, with a console line.
void SaveListFile(const std::string& path, const std::string& title, const std::function<void(QOXFile& file)>& write);

} // namespace lists
