// The settings file read from any bytes, written back and read again: the second reading must give
// exactly the settings of the first.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/app_settings.h"
#include "tests/fuzz/fuzz_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzEngine();
    const std::string path = WriteProgramFile("orbivane.ini", data, size);
    QASettings first;
    if (!ReadSettingsFile(path, first))
        return 0;
    WriteSettingsFile(path, first);
    QASettings second;
    ReadSettingsFile(path, second);
    Require(SettingsText(first) == SettingsText(second), "written settings read back as they were");
    return 0;
}
