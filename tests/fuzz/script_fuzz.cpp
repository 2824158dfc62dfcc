// The script parser on every line of the input, and every question a reader may ask of a line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/qox_main.h"
#include "engine/script_parser.h"
#include "tests/fuzz/fuzz_engine.h"

namespace {

void AskEverything(const QOXParser& parser)
{
    for (int i = -1; i <= QOXParser::kMaxTokens; ++i) {
        parser.GetInt(i);
        parser.GetFloat(i);
        parser.GetBool(i);
        parser.GetVector(i);
        parser.GetPrefixedInt(i, "TEX");
        parser.GetPrefixedByte(i, "STEP");
        parser.TokenEquals(i, parser.GetToken(i));
    }
    if (parser.IsBlockEnd())
        Require(parser.GetToken(0) == "}" && !parser.Quoted[0], "only a bare \"}\" ends a block");
    if (parser.IsAnyBlockStart())
        Require(parser.GetToken(1) == "{" && !parser.Quoted[1], "only a bare \"{\" starts a block");
    parser.IsBlockStart(parser.GetToken(0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QOXParser& parser = *FuzzEngine().Parser;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const int last = parser.ParseLine(text.substr(start, end - start));
        Require(last >= -1 && last < QOXParser::kMaxTokens, "a line has at most 8 tokens");
        AskEverything(parser);
        start = end + 1;
    }
    return 0;
}
