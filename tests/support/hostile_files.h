#pragma once
// Program files that are not what a reader expects: a link to an endless device, a pipe that no
// one writes, and a regular file with a line beyond what any reader takes.
#include <string>
#include <vector>

enum class HostileFile { LinkToDevZero, Fifo, LongLine };

// Every kind, for tests that go through them all.
const std::vector<HostileFile>& HostileFiles();
const char* HostileFileName(HostileFile kind);
// Puts the kind at `path` (replacing what is there); returns the path.
std::string MakeHostileFile(const std::string& path, HostileFile kind);
// What the kind holds, to check it was not written over: the link's target, "fifo", or the size.
std::string HostileFileState(const std::string& path);
