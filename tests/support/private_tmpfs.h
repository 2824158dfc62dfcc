#pragma once
// A small tmpfs that only this test's process sees (it moves into a mount namespace of its own),
// for running out of space or crossing file systems. Tests run one a process, so nothing leaks.
#include <cstddef>
#include <string>

class PrivateTmpfs {
public:
    PrivateTmpfs() = default;
    ~PrivateTmpfs(); // unmounts
    PrivateTmpfs(const PrivateTmpfs&) = delete;
    PrivateTmpfs& operator=(const PrivateTmpfs&) = delete;

    // Mounts a tmpfs of `bytes` on `folder` (made when missing). False with the reason when this
    // system does not let the process mount (no privilege, no namespaces).
    bool Mount(const std::string& folder, std::size_t bytes, std::string& reason);

private:
    std::string MountPoint;
};
