// One list file (the engine and file name chosen by ORBIVANE_FUZZ_LIST_ENGINE and
// ORBIVANE_FUZZ_LIST_NAME at build time) read from any bytes and written back by the engine as it
// goes. What the engine wrote must read back to exactly the same file: nothing it keeps may be
// lost or changed by a save and a load.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "lists/favorite_main.h"
#include "lists/favorite_recent.h"
#include "lists/view_main.h"
#include "tests/fuzz/fuzz_engine.h"

namespace {

const std::string kFileName = std::string(ORBIVANE_FUZZ_LIST_NAME) + ".ini";

// Loads the file and lets the engine save it as it goes; returns what it wrote.
std::string LoadAndSave(const std::string& path)
{
    auto* engine = QOXNew<ORBIVANE_FUZZ_LIST_ENGINE>(nullptr);
    engine->Load(ORBIVANE_FUZZ_LIST_NAME);
    engine->Destroy();
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzEngine();
    const std::string path = WriteProgramFile(kFileName, data, size);
    const std::string saved = LoadAndSave(path);
    Require(LoadAndSave(path) == saved, "a saved list file reads back as it was saved");
    return 0;
}
