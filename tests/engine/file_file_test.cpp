#include "engine/file_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "engine/qox_file.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/hostile_files.h"

namespace {

class FileTest : public EngineTest {
protected:
    QOXFileSystem& Files() { return *TheEngine->FileSystem; }
    std::vector<std::string> ReadAll(const std::string& path)
    {
        QOXFile* file = Files().OpenRead(path, QOXFile::Text);
        std::vector<std::string> lines;
        while (!file->Eof())
            lines.push_back(file->ReadLine());
        file->Destroy();
        return lines;
    }
};

TEST_F(FileTest, PathsComeFromTheProgramFolder)
{
    EXPECT_EQ(Files().BasePath, ProgramFolder.Path());
    EXPECT_EQ(Files().TexturesPath, ProgramFolder.Path() + "textures/");
    EXPECT_EQ(Files().MakePath("views", "ini"), ProgramFolder.Path() + "views.ini");
}

TEST_F(FileTest, AppendKeepsContentEvenInReadMode)
{
    const std::string path = ProgramFolder.Write("list.txt", "first\n");
    QOXFile* file = Files().OpenFile(path, QOXFile::Text, QOXFile::Read, QOXFile::Append);
    file->WriteLine("second");
    file->Destroy();
    EXPECT_EQ(ReadAll(path), (std::vector<std::string>{"first", "second"}));
}

TEST_F(FileTest, ReaderAcceptsBothLineEndsAndLongLines)
{
    const std::string longLine(400, 'p');
    const std::string path = ProgramFolder.Write("mixed.txt", "dos\r\nunix\n" + longLine + "\nlast");
    EXPECT_EQ(ReadAll(path), (std::vector<std::string>{"dos", "unix", longLine, "last"}));
}

TEST_F(FileTest, MissingFileIsReportedOnceAndTheFileStaysClosed)
{
    const std::string path = ProgramFolder.Path() + "absent.txt";
    QOXFile* file = Files().OpenRead(path, QOXFile::Text);
    EXPECT_FALSE(file->IsOpen());
    EXPECT_TRUE(file->Eof());
    EXPECT_EQ(file->ReadLine(), "");
    file->Destroy();
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"  ERROR: QX_FILE: File \"" + path + "\" not found!"});
    EXPECT_FALSE(Files().DirectoryExists(path, QOXFileSystem::ReportMissing));
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"  ERROR: QX_FILE: Directory \"" + path + "\" not found!"});
    EXPECT_TRUE(Files().DirectoryExists(ProgramFolder.Path(), QOXFileSystem::ReportMissing));
    EXPECT_FALSE(Files().FileExists(ProgramFolder.Path(), QOXFileSystem::Silent));
}

TEST_F(FileTest, FailureToCreateIsReportedWithTheReason)
{
    // A plain file where a folder should be: fails for every user, root included.
    const std::string notAFolder = ProgramFolder.Write("plain", "x");
    QOXFile* file = Files().OpenWrite(notAFolder + "/new.txt", QOXFile::Text);
    EXPECT_FALSE(file->IsOpen());
    file->WriteLine("goes nowhere");
    file->Destroy();
    const auto lines = NewLogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "  ERROR: QX_FILE: Could not open file \"" + notAFolder + "/new.txt\": Not a directory");
    EXPECT_EQ(Desktop.Boxes.size(), 1u);
}

TEST_F(FileTest, FullDiskIsReportedNotIgnored)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    QOXFile* file = Files().OpenWrite("/dev/full", QOXFile::Text);
    ASSERT_TRUE(file->IsOpen());
    file->WriteLine(std::string(8192, 'x'));
    file->Destroy();
    const auto lines = NewLogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("No space left on device"), std::string::npos);
}

TEST_F(FileTest, FailedWriteKeepsTheOldFile)
{
    const std::string path = ProgramFolder.Write("views.ini", "old content\n");
    // A file-size limit makes the write fail like a full disk would; the child process takes it.
    EXPECT_EXIT(
        {
            ::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            limit.rlim_cur = limit.rlim_max = 8192; // room for the log, not for the file
            ::setrlimit(RLIMIT_FSIZE, &limit);
            QOXFile* file = Files().OpenWrite(path, QOXFile::Text);
            for (int i = 0; i < 1000; ++i)
                file->WriteLine("a line that will not fit");
            file->Destroy();
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ProgramFolder.Read("views.ini"), "old content\n");
    const auto lines = NewLogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].find("  ERROR: QX_FILE: Could not write file \"" + path + "\": File too large"), 0u);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(ProgramFolder.Path()))
        ++entries;
    EXPECT_EQ(entries, 2u); // views.ini and console.txt, no half-written copy
}

TEST_F(FileTest, ReplacingKeepsPermissionsAndWritesThroughLinks)
{
    const std::string target = ProgramFolder.Write("real/favorites.ini", "old\n");
    std::filesystem::permissions(target, std::filesystem::perms(0600));
    const std::string link = ProgramFolder.Path() + "favorites.ini";
    std::filesystem::create_symlink(target, link);
    QOXFile* file = Files().OpenWrite(link, QOXFile::Text);
    file->WriteLine("new");
    file->Destroy();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ProgramFolder.Read("real/favorites.ini"), "new\n");
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0600));
    EXPECT_TRUE(NewLogLines().empty());
}

TEST_F(FileTest, LongPathsAreNeverCut)
{
    std::string relative;
    while (relative.size() < 300)
        relative += "a_rather_long_folder_name/";
    const std::string path = ProgramFolder.Path() + relative + "file.txt";
    std::filesystem::create_directories(ProgramFolder.Path() + relative);
    QOXFile* file = Files().OpenWrite(path, QOXFile::Text);
    file->WriteLine("deep");
    EXPECT_EQ(file->Path, path);
    file->Destroy();
    EXPECT_EQ(ReadAll(path), std::vector<std::string>{"deep"});
}

TEST_F(FileTest, RawFilesReadBytesAndWords)
{
    const std::string path = ProgramFolder.Write("raw.bin", std::string("\x01\x34\x12", 3));
    QOXFile* file = Files().OpenRead(path, QOXFile::Raw);
    EXPECT_EQ(file->ReadByte(), 1);
    EXPECT_EQ(file->ReadWord(), 0x1234);
    EXPECT_TRUE(file->Eof());
    char spare[4];
    EXPECT_EQ(file->ReadBytes(spare, 4), 0u);
    file->Destroy();
}

TEST_F(FileTest, ReadScriptFillsTheRecord)
{
    const std::string path = ProgramFolder.Write("materials/m.txt", "MATERIAL {\n  TEX0 \"a\"\n}\n");
    QXScript script;
    QOXFile* file = QOXNew<QOXFile>(&Files());
    file->ReadScript(path, script);
    EXPECT_FALSE(file->IsOpen());
    file->Destroy();
    EXPECT_EQ(script.Lines, (std::vector<std::string>{"MATERIAL {", "  TEX0 \"a\"", "}"}));
}

// Reading never waits on a pipe nor runs on into an endless device or line; the refused file is
// then kept from being written over until it has been repaired and read again.
TEST_F(FileTest, OnlyRegularFilesAreReadAndARefusedFileIsNotWrittenOver)
{
    const std::string path = ProgramFolder.Path() + "hostile.txt";
    const struct {
        HostileFile Kind;
        std::vector<std::string> Lines;
        std::string Report;
    } cases[] = {
        {HostileFile::LinkToDevZero, {}, "File \"" + path + "\" is not a regular file!"},
        {HostileFile::Fifo, {}, "File \"" + path + "\" is not a regular file!"},
        {HostileFile::LongLine, {"[DISPLAY]", ""},
         "Line 2 of file \"" + path + "\" is longer than 1 MiB: the file is not read!"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(HostileFileName(test.Kind));
        const std::string state = HostileFileState(MakeHostileFile(path, test.Kind));
        QOXFile* file = Files().OpenRead(path, QOXFile::Text);
        std::vector<std::string> lines;
        while (!file->Eof() && lines.size() < 5)
            lines.push_back(file->ReadLine());
        EXPECT_TRUE(file->WasRefused());
        file->Destroy();
        EXPECT_EQ(lines, test.Lines);

        QOXFile* writer = Files().OpenWrite(path, QOXFile::Text);
        EXPECT_FALSE(writer->IsOpen());
        writer->WriteLine("never written");
        writer->Destroy();
        EXPECT_EQ(HostileFileState(path), state);
        EXPECT_EQ(NewLogLines(), (std::vector<std::string>{"  ERROR: QX_FILE: " + test.Report,
                                                           "File \"" + path +
                                                               "\" could not be read, so it is not written over."}));
        std::filesystem::remove(path);
    }

    ProgramFolder.Write("hostile.txt", "repaired\n");
    EXPECT_EQ(ReadAll(path), std::vector<std::string>{"repaired"});
    QOXFile* writer = Files().OpenWrite(path, QOXFile::Text);
    writer->WriteLine("saved");
    writer->Destroy();
    EXPECT_EQ(ProgramFolder.Read("hostile.txt"), "saved\n");
}

TEST_F(FileTest, NameHelpers)
{
    const std::string base = Files().BasePath;
    EXPECT_EQ(Files().RelativeName(base + "textures/wood.jpg", false), "textures/wood");
    EXPECT_EQ(Files().RelativeName(base + "textures/wood.jpg", true), "textures/wood.jpg");
    EXPECT_EQ(Files().RelativeName(base + ".hidden", false), ".hidden");
    EXPECT_EQ(Files().RelativeName(base + "tex.d/wood", false), "tex.d/wood");
    EXPECT_EQ(QOXFileSystem::ExtractExtension("/a/readme"), "");
    EXPECT_EQ(QOXFileSystem::ExtractExtension("/a/readme."), "");
    EXPECT_EQ(QOXFileSystem::ExtractExtension("/a.b/photo.JPG"), "JPG");
    EXPECT_EQ(QOXFileSystem::ExtractName("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(QOXFileSystem::ExtractName("c.txt"), "c.txt");
    EXPECT_EQ(QOXFileSystem::ExtractFolder("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(QOXFileSystem::IncludeTrailingDelimiter("/a/"), "/a/");
    EXPECT_EQ(QOXFileSystem::IncludeTrailingDelimiter("/a"), "/a/");
    EXPECT_EQ(QOXFileSystem::ExcludeTrailingDelimiter("/a/"), "/a");
    EXPECT_TRUE(QOXFileSystem::IsSection("[Ring]", "Ring"));
    EXPECT_FALSE(QOXFileSystem::IsSection("[Ring] ", "Ring"));
}

TEST_F(FileTest, ShellOpenGoesToTheDesktop)
{
    Files().ShellOpen("/tmp/doc.pdf");
    EXPECT_EQ(Desktop.OpenedDocuments, std::vector<std::string>{"/tmp/doc.pdf"});
}

} // namespace
