// A size history read from any bytes, twice: as a whole file, and as the payload of a file whose
// mark, length and compression are right (so that the fuzzer reaches the paths and counts behind
// zlib's check). What is accepted must be a history as the program makes them, and must come back
// from its own file unchanged, also once it is bounded.
#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/size_history_file.h"
#include "tests/fuzz/fuzz_engine.h"

namespace {

std::string AsFile(const std::uint8_t* data, std::size_t size)
{
    uLongf packedSize = compressBound(static_cast<uLong>(size));
    std::string file = "ORBSIZES\x01";
    for (int i = 0; i < 8; ++i)
        file.push_back(static_cast<char>(static_cast<std::uint64_t>(size) >> (8 * i)));
    const std::size_t header = file.size();
    file.resize(header + packedSize);
    compress2(reinterpret_cast<Bytef*>(file.data() + header), &packedSize, data, static_cast<uLong>(size), 1);
    file.resize(header + packedSize);
    return file;
}

void Check(const std::string& bytes)
{
    platform::SizeHistory history;
    if (platform::DecodeHistory(bytes, history))
        return;
    Require(std::is_sorted(history.Paths.begin(), history.Paths.end()), "paths in order");
    for (const std::string& path : history.Paths)
        Require(platform::IsHistoryPath(path), "every path relative and plain");
    for (std::size_t i = 0; i < history.Counts.size(); ++i) {
        const platform::SizeCount& count = history.Counts[i];
        Require(i == 0 || history.Counts[i - 1].Time < count.Time, "counts oldest first");
        Require(count.Paths.size() == count.Totals.size(), "one total for each path");
        Require(std::is_sorted(count.Paths.begin(), count.Paths.end()), "a count's paths in order");
        for (std::size_t k = 0; k < count.Paths.size(); ++k)
            Require(count.Paths[k] < history.Paths.size() && count.Totals[k].Bytes >= 0, "paths held, sizes not negative");
    }
    platform::SizeHistory again;
    Require(!platform::DecodeHistory(platform::EncodeHistory(history), again) && again == history, "written back unchanged");
    platform::BoundHistory(history, 3);
    Require(!platform::DecodeHistory(platform::EncodeHistory(history), again) && again == history, "bounded, written back unchanged");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Check(std::string(reinterpret_cast<const char*>(data), size));
    Check(AsFile(data, size));
    return 0;
}
