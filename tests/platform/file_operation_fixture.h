#pragma once
// File operations on a real folder tree: sources under "src/", a target folder "dst/", the user's
// trash under "data/" ($XDG_DATA_HOME), the overwrite dialog and the progress window played by
// scripts. The window's events are handled at every step, so a script can cancel or change the
// disk at a chosen moment.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_operation.h"
#include "platform/trash.h"
#include "tests/support/file_tree.h"
#include "tests/support/private_tmpfs.h"
#include "tests/support/scripted_file_dialogs.h"
#include "tests/support/tree_snapshot.h"

namespace platform {
inline std::ostream& operator<<(std::ostream& stream, const FileFailure& failure)
{
    return stream << failure.Path << ": " << failure.Reason;
}
} // namespace platform

class FileOperationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("XDG_DATA_HOME", Tree.PathOf("data").c_str(), 1);
        Tree.MakeFolder("dst");
        Operation.EventInterval = std::chrono::milliseconds(0);
    }
    void TearDown() override { GiveBackPermissions(Tree.Root()); }

    std::string Src(const std::string& relative = "") const { return Tree.PathOf("src/" + relative); }
    std::string Dst(const std::string& relative = "") const { return Tree.PathOf("dst/" + relative); }
    // An empty "dst/" (which may be a file system of its own) and no "src/", for the next row of a
    // table.
    void Reset() const
    {
        std::filesystem::remove_all(Src());
        for (const auto& entry : std::filesystem::directory_iterator(Dst()))
            std::filesystem::remove_all(entry.path());
    }
    // A file with its bytes, permission bits and a modification time of its own, long past, so
    // that a copy that takes the time of its making shows.
    std::string Put(const std::string& relative, const std::string& content, mode_t mode = 0644)
    {
        const std::filesystem::path path = Tree.PathOf(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        Age(relative, mode);
        return path.string();
    }
    void Age(const std::string& relative, mode_t mode)
    {
        const std::string path = Tree.PathOf(relative);
        ::chmod(path.c_str(), mode);
        const timespec times[2] = {{900'000'000 + ++Stamp, 0}, {900'000'000 + Stamp, 123'456'789}};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    }
    // Bytes that are not all alike, so a shifted or partial copy shows.
    static std::string Bytes(std::size_t count)
    {
        std::string bytes(count, '\0');
        for (std::size_t i = 0; i < count; ++i)
            bytes[i] = static_cast<char>((i * 7919u + i / 4096u) & 0xFF);
        return bytes;
    }
    // "src/" holds a file, a folder with a sub-folder, an executable, links inside, to a folder
    // outside and to nothing, and an empty folder; folders get their times after their entries.
    void MakeSources()
    {
        Put("src/a.txt", "alpha", 0664); // beyond what the creation mask lets through
        Put("src/dir/b.bin", Bytes(300'000), 0600);
        Put("src/dir/sub/c.sh", "#!/bin/sh\n", 0755);
        Put("outside/keep.txt", "outside");
        Tree.Link("src/dir/to-a", "../a.txt");
        Tree.Link("src/dir/to-outside", Tree.PathOf("outside"));
        Tree.Link("src/dir/dangling", "nowhere");
        Tree.MakeFolder("src/empty");
        for (const char* folder : {"src/empty", "src/dir/sub", "src/dir"})
            Age(folder, 0750);
    }
    platform::OperationResult Copy(const std::vector<std::string>& sources, const std::string& target)
    {
        return Operation.Transfer(platform::TransferKind::Copy, sources, target);
    }
    platform::OperationResult Move(const std::vector<std::string>& sources, const std::string& target)
    {
        return Operation.Transfer(platform::TransferKind::Move, sources, target);
    }
    // The target folder becomes a file system of its own of `bytes`; skips the test where the
    // system does not allow it.
    void MountTarget(std::size_t bytes)
    {
        std::string reason;
        if (!Target.Mount(Dst(), bytes, reason))
            GTEST_SKIP() << "a small file system of its own cannot be mounted here (" << reason
                         << "), so crossing file systems is not tried";
    }

    FileTree Tree;
    ScriptedOverwrite Prompt;
    ScriptedProgress Progress;
    platform::DesktopTrash Trash;
    platform::FileOperation Operation{&Prompt, &Progress, &Trash};
    std::time_t Stamp = 0;
    PrivateTmpfs Target;
};

inline bool Exists(const std::string& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}
