// A material script read from any bytes: whatever it says, the material ends with steps that name
// existing texture slots (or none), and the parser returns.
#include <cstddef>
#include <cstdint>

#include "resources/resource_material.h"
#include "tests/fuzz/fuzz_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzEngine();
    WriteProgramFile("materials/fuzz.txt", data, size);
    auto material = QOXMake<QRMaterial>(nullptr, "materials/fuzz");
    for (const TMRenderStep& step : material->Data.Rendering.Steps)
        Require(step.TextureIndex == kNoTexture || step.TextureIndex <= material->Data.Textures.Last,
                "a step names an existing slot or none");
    return 0;
}
