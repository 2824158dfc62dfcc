#include "engine/script_parser.h"

#include <gtest/gtest.h>

#include "tests/support/engine_fixture.h"

namespace {

class ParserTest : public EngineTest {
protected:
    QOXParser& Parser() { return *TheEngine->Parser; }
    std::vector<std::string> Tokens(const std::string& line)
    {
        Parser().ParseLine(line);
        std::vector<std::string> tokens;
        for (int i = 0; i <= Parser().Last; ++i)
            tokens.push_back(Parser().GetToken(i));
        return tokens;
    }
};

TEST_F(ParserTest, SeparatorsAreSpacesOutsideQuotes)
{
    EXPECT_EQ(Parser().ParseLine(""), -1);
    EXPECT_EQ(Parser().ParseLine(" \t,;() ,"), -1);
    EXPECT_TRUE(Parser().IsEmpty());
    EXPECT_EQ(Tokens("COLOR (1.0,0.5,0.25)"), (std::vector<std::string>{"COLOR", "1.0", "0.5", "0.25"}));
    EXPECT_EQ(Tokens("a\tb;c"), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(ParserTest, QuotedTokensKeepTheirTextExactly)
{
    EXPECT_EQ(Tokens("NAME \"My Photos\""), (std::vector<std::string>{"NAME", "My Photos"}));
    EXPECT_EQ(Tokens("FOLDER \"/home/ann/Photos (2020)/a,b;c\td/\""),
              (std::vector<std::string>{"FOLDER", "/home/ann/Photos (2020)/a,b;c\td/"}));
    EXPECT_EQ(Tokens("\"\""), std::vector<std::string>{""});
    EXPECT_EQ(Tokens("say\"hi\" x"), (std::vector<std::string>{"say\"hi\"", "x"}));
    EXPECT_EQ(Tokens("\"ab\"cd"), (std::vector<std::string>{"ab", "cd"}));
    EXPECT_EQ(Tokens("NAME \"never closed"), (std::vector<std::string>{"NAME", "never closed"}));
}

TEST_F(ParserTest, AtMostEightTokensAreKept)
{
    EXPECT_EQ(Parser().ParseLine("1 2 3 4 5 6 7 8 9 10"), 7);
    EXPECT_EQ(Parser().GetToken(7), "8");
    EXPECT_EQ(Parser().GetToken(8), "");
    EXPECT_EQ(Parser().GetToken(-1), "");
}

TEST_F(ParserTest, BlockStartsAndEnds)
{
    Parser().ParseLine("FAVORITE{");
    EXPECT_FALSE(Parser().IsBlockStart("FAVORITE"));
    EXPECT_FALSE(Parser().IsAnyBlockStart());
    Parser().ParseLine("  FAVORITE {");
    EXPECT_TRUE(Parser().IsBlockStart("FAVORITE"));
    EXPECT_FALSE(Parser().IsBlockStart("VIEW"));
    EXPECT_TRUE(Parser().IsAnyBlockStart());
    Parser().ParseLine("FAVORITE { extra");
    EXPECT_FALSE(Parser().IsAnyBlockStart());
    Parser().ParseLine("  }");
    EXPECT_TRUE(Parser().IsBlockEnd());
    Parser().ParseLine("} }");
    EXPECT_FALSE(Parser().IsBlockEnd());
}

// A quoted brace is text (an extension or a folder named "}"), never a block's start or end.
TEST_F(ParserTest, QuotedBracesAreTextNotStructure)
{
    const struct {
        const char* Line;
        bool Start;
        bool End;
    } lines[] = {
        {"}", false, true},           {"\"}\"", false, false},    {"  \"}\"  ", false, false},
        {"VIEW {", true, false},      {"VIEW \"{\"", false, false}, {"\"VIEW\" {", false, false},
        {"\"VIEW {\"", false, false}, {"\"}", false, false},      {"{", false, false},
    };
    for (const auto& line : lines) {
        SCOPED_TRACE(line.Line);
        Parser().ParseLine(line.Line);
        EXPECT_EQ(Parser().IsBlockStart("VIEW"), line.Start);
        EXPECT_EQ(Parser().IsAnyBlockStart(), line.Start);
        EXPECT_EQ(Parser().IsBlockEnd(), line.End);
    }
}

TEST_F(ParserTest, NumberAndTruthGetters)
{
    Parser().ParseLine("KEY 12 -3.5 TRUE True 1 12abc (0.25,0.5,1.0)");
    EXPECT_EQ(Parser().GetInt(1), 12);
    EXPECT_FLOAT_EQ(Parser().GetFloat(2), -3.5f);
    EXPECT_TRUE(Parser().GetBool(3));
    EXPECT_FALSE(Parser().GetBool(4));
    EXPECT_FALSE(Parser().GetBool(5));
    EXPECT_EQ(Parser().GetInt(6), -1);
    EXPECT_EQ(Parser().GetInt(2), -1);
    EXPECT_EQ(Parser().GetVector(7), (QXVector{0.25f, -1.0f, -1.0f})); // tokens beyond the eighth are dropped
    Parser().ParseLine("C 0.25 0.5 1.0");
    EXPECT_EQ(Parser().GetVector(1), (QXVector{0.25f, 0.5f, 1.0f}));
}

TEST_F(ParserTest, PrefixedNumbers)
{
    Parser().ParseLine("TEX12 TEXA TEX TEX300");
    EXPECT_EQ(Parser().GetPrefixedInt(0, "TEX"), 12);
    EXPECT_EQ(Parser().GetPrefixedInt(1, "TEX"), -1);
    EXPECT_EQ(Parser().GetPrefixedInt(2, "TEXTURE"), -1);
    EXPECT_EQ(Parser().GetPrefixedInt(2, "TEX"), -1);
    EXPECT_EQ(Parser().GetPrefixedInt(9, "TEX"), -1);
    EXPECT_EQ(Parser().GetPrefixedByte(1, "TEX"), 255);
    EXPECT_EQ(Parser().GetPrefixedByte(3, "TEX"), 300 & 0xFF);
}

} // namespace
