#include "platform/folder_watch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "tests/support/file_tree.h"

namespace {

using platform::FolderWatcher;
using platform::WatchResult;

// Polls until the handle is among the changed ones, for at most five seconds; what else was
// reported on the way is added to `others`.
bool Reported(FolderWatcher& watcher, int handle, std::vector<int>* others = nullptr)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::vector<int> changed = watcher.TakeChanged();
        if (others != nullptr)
            std::copy_if(changed.begin(), changed.end(), std::back_inserter(*others), [&](int h) { return h != handle; });
        if (std::find(changed.begin(), changed.end(), handle) != changed.end())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

TEST(FolderWatcher, EveryChangeOfAFoldersEntriesIsReportedForThatFolderOnly)
{
    FileTree tree;
    tree.MakeFolder("watched");
    tree.MakeFolder("quiet");
    FolderWatcher watcher;
    int watched = -1;
    int quiet = -1;
    ASSERT_EQ(watcher.Watch(tree.PathOf("watched"), watched), WatchResult::Watching);
    ASSERT_EQ(watcher.Watch(tree.PathOf("quiet"), quiet), WatchResult::Watching);
    EXPECT_NE(watched, quiet);

    namespace fs = std::filesystem;
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"made", [&] { tree.File("watched/new.txt", 10); }},
        {"written", [&] { std::ofstream(tree.PathOf("watched/new.txt"), std::ios::app) << "more"; }},
        {"renamed", [&] { fs::rename(tree.PathOf("watched/new.txt"), tree.PathOf("watched/old.txt")); }},
        {"details", [&] { fs::permissions(tree.PathOf("watched/old.txt"), fs::perms::owner_read); }},
        {"folder made", [&] { tree.MakeFolder("watched/sub"); }},
        {"removed", [&] { tree.Remove("watched/old.txt"); }},
        {"moved in", [&] { tree.File("elsewhere.txt", 1); fs::rename(tree.PathOf("elsewhere.txt"), tree.PathOf("watched/in.txt")); }},
    };
    std::vector<int> others;
    for (const auto& [what, change] : changes) {
        change();
        EXPECT_TRUE(Reported(watcher, watched, &others)) << what;
    }
    EXPECT_TRUE(others.empty());
    EXPECT_TRUE(watcher.TakeChanged().empty());
}

TEST(FolderWatcher, OneFolderOneHandleAndALimitLikeTheSystems)
{
    FileTree tree;
    tree.MakeFolder("one");
    tree.MakeFolder("two");
    tree.Link("link", tree.PathOf("one"));
    FolderWatcher watcher(1);
    int first = -1;
    int again = -1;
    int second = -1;
    ASSERT_EQ(watcher.Watch(tree.PathOf("one"), first), WatchResult::Watching);
    ASSERT_EQ(watcher.Watch(tree.PathOf("one/"), again), WatchResult::Watching);
    EXPECT_EQ(first, again);
    EXPECT_EQ(watcher.Watch(tree.PathOf("two"), second), WatchResult::LimitReached);
    EXPECT_EQ(second, -1);
    watcher.Unwatch(first);
    tree.File("one/still.txt");
    EXPECT_TRUE(Reported(watcher, first)) << "one Unwatch of two leaves the watch";
    watcher.Unwatch(again);
    EXPECT_EQ(watcher.WatchCount(), 0);
    EXPECT_EQ(watcher.Watch(tree.PathOf("two"), second), WatchResult::Watching);
    int other = -1;
    FolderWatcher unlimited;
    EXPECT_EQ(unlimited.Watch(tree.PathOf("link"), other), WatchResult::Failed) << "never through a link";
    EXPECT_EQ(unlimited.Watch(tree.PathOf("missing"), other), WatchResult::Failed);
}

TEST(FolderWatcher, AFolderThatGoesIsReportedAndItsWatchEnds)
{
    FileTree tree;
    tree.File("gone/file.txt");
    FolderWatcher watcher;
    int handle = -1;
    ASSERT_EQ(watcher.Watch(tree.PathOf("gone"), handle), WatchResult::Watching);
    tree.Remove("gone");
    EXPECT_TRUE(Reported(watcher, handle));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (watcher.WatchCount() > 0 && std::chrono::steady_clock::now() < deadline)
        watcher.TakeChanged();
    EXPECT_EQ(watcher.WatchCount(), 0);
    watcher.Unwatch(handle);
}

} // namespace
