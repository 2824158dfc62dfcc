// The desktop's trash on byte names: names that are not UTF-8, as long as the system allows, the
// trash of the entry's own volume, a record every desktop can read (checked here with Qt's own
// percent-decoding) and restore from, and failures that are named and leave nothing behind.
#include "platform/trash.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>
#include <sys/mount.h>

#include "platform/file_entry.h"
#include "tests/platform/file_operation_fixture.h"
#include "tests/support/private_mounts.h"

namespace {

using platform::JoinPath;
using platform::NameOf;
using platform::ParentOf;
using Failures = std::vector<platform::FileFailure>;

class TrashTest : public FileOperationTest {
protected:
    // The original path a record names, decoded by Qt, made absolute against the volume's top.
    static std::string RecordedPath(const std::string& record, const std::string& top)
    {
        const QRegularExpressionMatch match =
            QRegularExpression("^\\[Trash Info\\]\nPath=([^\n]+)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n$")
                .match(QString::fromLatin1(record.data(), static_cast<qsizetype>(record.size())));
        if (!match.hasMatch())
            return "(not a record: " + record + ")";
        const std::string path = QByteArray::fromPercentEncoding(match.captured(1).toLatin1()).toStdString();
        return path.front() == '/' ? path : top + "/" + path;
    }
    // What another program does with a record alone: the entry goes back to the path it names.
    static void RestoreByRecord(const std::string& inTrash, const std::string& top)
    {
        const std::string info = platform::TrashInfoOf(inTrash);
        const std::string original = RecordedPath(Snapshot(info).at(".").Content, top);
        ASSERT_EQ(std::rename(inTrash.c_str(), original.c_str()), 0) << original;
        std::filesystem::remove(info);
    }
    std::string Read(const std::string& path) const
    {
        const TreeSnapshot snapshot = Snapshot(path);
        return snapshot.empty() ? "" : snapshot.at(".").Content;
    }
};

TEST_F(TrashTest, EntriesOfAnyNameGoToTheTrashOfTheirVolumeAndComeBackByteForByte)
{
    std::string cjk;
    for (int i = 0; i < 82; ++i)
        cjk += "\xe6\xbc\xa2"; // 246 bytes: its record's name would be too long
    std::string reason;
    PrivateMounts mounts;
    Tree.MakeFolder("vol");
    const bool volume = PrivateMounts::Enter(reason) && mounts.Mount("tmpfs", Tree.PathOf("vol"));
    enum Restore { ByUndo, ByRecordAlone };
    struct Case {
        std::string Name;
        std::string Folder;  // where it lies: "src" or the other volume "vol"
        std::string Shared;  // "vol/.Trash" made first: "" none, "sticky", "plain"
        std::string Trashed; // where it must land, relative to the tree
        Restore Back;
        bool IsFolder = false;
    };
    std::vector<Case> cases = {
        {"caf\xe9.txt", "src", "", "data/Trash/files/caf\xe9.txt", ByUndo},
        {std::string(255, 'n'), "src", "", "data/Trash/files/" + std::string(245, 'n'), ByRecordAlone},
        {cjk, "src", "", "data/Trash/files/" + cjk.substr(0, 243), ByUndo},
        {"a folder\nwith a line break", "src", "", "data/Trash/files/a folder\nwith a line break", ByRecordAlone, true},
        {"taken.txt", "src", "", "data/Trash/files/taken.txt.2", ByUndo},
    };
    if (volume) {
        cases.push_back({"far.txt", "vol", "", "vol/.Trash-0/files/far.txt", ByRecordAlone});
        cases.push_back({"plain.txt", "vol", "plain", "vol/.Trash-0/files/plain.txt", ByUndo});
        cases.push_back({"shared.txt", "vol", "sticky", "vol/.Trash/0/files/shared.txt", ByRecordAlone, true});
    }
    Put("data/Trash/files/taken.txt", "trashed before");
    Put("data/Trash/info/taken.txt.trashinfo", "[Trash Info]\nPath=/elsewhere/taken.txt\nDeletionDate=2020-01-01T00:00:00\n");
    Put("src/caf\xef\xbf\xbd.txt", "the neighbour a text decoder would confuse it with");
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Trashed);
        const std::string top = Tree.PathOf(row.Folder);
        if (!row.Shared.empty()) {
            std::filesystem::remove_all(Tree.PathOf("vol/.Trash"));
            Tree.MakeFolder("vol/.Trash");
            ::chmod(Tree.PathOf("vol/.Trash").c_str(), row.Shared == "sticky" ? 01777 : 0777);
        }
        const std::string path = JoinPath(top, row.Name);
        Put(row.IsFolder ? row.Folder + "/" + row.Name + "/inside" : row.Folder + "/" + row.Name, Bytes(5000) + row.Name);
        const TreeSnapshot before = Snapshot(path);
        const auto sums = FileSums(path);

        const platform::OperationResult trashed = Operation.Delete(platform::DeleteKind::Trash, {path});
        ASSERT_EQ(trashed.Failures, Failures());
        ASSERT_EQ(trashed.Journal.Steps.size(), 1u);
        const std::string inTrash = trashed.Journal.Steps[0].Path;
        EXPECT_EQ(inTrash, Tree.PathOf(row.Trashed));
        EXPECT_EQ(FileSums(inTrash), sums);
        EXPECT_FALSE(Exists(path));
        const std::string record = Read(platform::TrashInfoOf(inTrash));
        EXPECT_EQ(RecordedPath(record, top), path);
        const std::string sizes = Read(Tree.PathOf(ParentOf(ParentOf(row.Trashed)) + "/directorysizes"));
        const std::string encoded = QUrl::toPercentEncoding(QByteArray::fromStdString(NameOf(inTrash))).toStdString();
        EXPECT_EQ(sizes.find(" " + encoded + "\n") != std::string::npos, row.IsFolder) << sizes;

        if (row.Back == ByUndo) {
            EXPECT_EQ(Operation.Undo(trashed.Journal).Failures, Failures());
        } else {
            RestoreByRecord(inTrash, top);
        }
        EXPECT_EQ(WithoutFolderTimes(Snapshot(path)), WithoutFolderTimes(before));
        EXPECT_FALSE(Exists(platform::TrashInfoOf(inTrash)));
        if (row.Back == ByUndo) {
            const std::string left = Read(Tree.PathOf(ParentOf(ParentOf(row.Trashed)) + "/directorysizes"));
            EXPECT_EQ(left.find(encoded), std::string::npos);
        }
    }
    EXPECT_EQ(Read(Tree.PathOf("data/Trash/files/taken.txt")), "trashed before");
    EXPECT_EQ(Read(Src("caf\xef\xbf\xbd.txt")), "the neighbour a text decoder would confuse it with");
    if (!volume)
        GTEST_SKIP() << "the home trash was tried; other volumes need a file system mounted here, which is not "
                        "allowed ("
                     << reason << ")";
}

TEST_F(TrashTest, AFailureIsNamedDeletesNothingAndLeavesNothingBehind)
{
    std::string reason;
    PrivateMounts mounts;
    Tree.MakeFolder("ro");
    const bool volume = PrivateMounts::Enter(reason) && mounts.Mount("tmpfs", Tree.PathOf("ro"));
    struct Case {
        std::string Name;
        std::string Entry; // relative to the tree
        std::function<bool()> Break; // false: this system cannot set it up
        std::string Trash;           // the trash named in the reason
        std::string Error;
    };
    std::vector<Case> cases = {
        {"a volume that is read-only", "ro/b.txt",
         [&] {
             return volume && ::mount(nullptr, Tree.PathOf("ro").c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
         },
         "ro/.Trash-0", std::strerror(EROFS)},
        {"a file where the trash belongs", "src/a.txt", [&] { return Put("data/Trash", "not a folder").size() > 0; },
         "data/Trash", std::strerror(ENOTDIR)},
        {"an info folder that may not be written", "src/c.txt",
         [&] {
             std::filesystem::remove(Tree.PathOf("data/Trash"));
             Tree.MakeFolder("data/Trash/files");
             Tree.MakeFolder("data/Trash/info");
             ::chmod(Tree.PathOf("data/Trash/info").c_str(), 0555);
             return FileTree::PermissionsApply();
         },
         "data/Trash", std::strerror(EACCES)},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.Name);
        Put(row.Entry, "must survive " + row.Name);
        const TreeSnapshot before = Snapshot(Tree.Root());
        if (!row.Break()) {
            std::cout << "not tried here: " << row.Name << "\n";
            continue;
        }
        const TreeSnapshot broken = Snapshot(Tree.Root());
        const platform::OperationResult result = Operation.Delete(platform::DeleteKind::Trash, {Tree.PathOf(row.Entry)});
        const std::string why = "The trash \"" + Tree.PathOf(row.Trash) + "\" cannot be used: " + row.Error;
        EXPECT_EQ(result.Failures, (Failures{{Tree.PathOf(row.Entry), why}}));
        EXPECT_TRUE(result.Journal.Empty());
        EXPECT_EQ(Snapshot(Tree.Root()), broken); // not a byte moved, no folder or record made anywhere
        EXPECT_EQ(Checksum(Read(Tree.PathOf(row.Entry))), Checksum(before.at(row.Entry).Content));
    }
    if (!volume)
        GTEST_SKIP() << "a read-only volume needs a file system mounted here, which is not allowed (" << reason << ")";
}

} // namespace
