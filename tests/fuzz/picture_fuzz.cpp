// One picture decoder (chosen by ORBIVANE_FUZZ_DECODER at build time) on any bytes: it either
// refuses them with a reason or yields exactly the pixels its size promises, within the limits.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "resources/image_decoders.h"
#include "tests/fuzz/fuzz_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> file(data, data + size);
    const DecodedImage image = ORBIVANE_FUZZ_DECODER(file);
    if (!image.Ok())
        return 0;
    Require(CheckImageSize(image.Width, image.Height, image.Components).empty(), "a decoded picture is within the limits");
    Require(image.Components >= 1 && image.Components <= 4, "a decoded picture has 1 to 4 components");
    Require(image.Pixels.size() == image.RowSize() * static_cast<std::size_t>(image.Height),
            "a decoded picture holds every pixel of its size");
    return 0;
}
