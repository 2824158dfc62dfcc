#pragma once
// Real mounts for one test: the test's process moves into a mount namespace of its own (every test
// runs in a process of its own), so nothing it mounts is seen by any other process, and what it
// mounted goes with the process at the latest.
#include <string>
#include <vector>

class PrivateMounts {
public:
    // Moves the process into its own mount namespace, once; false when it may not (no
    // CAP_SYS_ADMIN). Call it before the test starts any thread.
    static bool Enter();
    // Enter, or the reason why a test that needs mounts is skipped.
    static bool Enter(std::string& reason);

    PrivateMounts() = default;
    ~PrivateMounts(); // unmounts, newest first
    PrivateMounts(const PrivateMounts&) = delete;
    PrivateMounts& operator=(const PrivateMounts&) = delete;

    // Mounts a fresh file system of `type` ("tmpfs", "proc", ...) on an existing folder.
    bool Mount(const std::string& type, const std::string& folder, const std::string& options = "");
    // The folder `from` seen a second time at `folder` (mount --bind).
    bool Bind(const std::string& from, const std::string& folder);

private:
    std::vector<std::string> Mounted;
};
