#include "engine/script_parser.h"

#include "engine/qox_convert.h"
#include "engine/qox_main.h"

namespace {

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '(' || c == ')' || c == ',' || c == ';';
}

} // namespace

QOXParser::QOXParser(QOXObject* parent, const std::string& name) : QOXObject(parent, name) {}

int QOXParser::ParseLine(const std::string& line)
{
    Clear();
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsSeparator(line[i])) {
            ++i;
        } else if (line[i] == '"') {
            // A quoted token runs to the next double quote (or the end of the line).
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string::npos ? line.size() : close;
            StoreToken(line.substr(i + 1, end - i - 1), true);
            i = close == std::string::npos ? line.size() : close + 1;
        } else {
            std::size_t end = i;
            while (end < line.size() && !IsSeparator(line[end]))
                ++end;
            StoreToken(line.substr(i, end - i), false);
            i = end;
        }
    }
    return Last;
}

void QOXParser::StoreToken(std::string token, bool quoted)
{
    // The format allows 8 tokens a line; further tokens are dropped.
    if (Last + 1 >= kMaxTokens)
        return;
    ++Last;
    Tokens[static_cast<std::size_t>(Last)] = std::move(token);
    Quoted[static_cast<std::size_t>(Last)] = quoted;
}

bool QOXParser::IsBare(int index, const char* text) const
{
    return index <= Last && !Quoted[static_cast<std::size_t>(index)] && Tokens[static_cast<std::size_t>(index)] == text;
}

std::string QOXParser::GetToken(int index) const
{
    if (index < 0 || index > Last)
        return std::string();
    return Tokens[static_cast<std::size_t>(index)];
}

bool QOXParser::TokenEquals(int index, const std::string& text) const
{
    return GetToken(index) == CutText(text, kStringName);
}

bool QOXParser::IsBlockStart(const std::string& keyword) const
{
    return IsAnyBlockStart() && TokenEquals(0, keyword);
}

bool QOXParser::IsAnyBlockStart() const
{
    return Last == 1 && !Quoted[0] && IsBare(1, "{");
}

bool QOXParser::IsBlockEnd() const
{
    return Last == 0 && IsBare(0, "}");
}

int QOXParser::GetInt(int index) const
{
    return Engine()->Convert->StrToInt(GetToken(index));
}

float QOXParser::GetFloat(int index) const
{
    return Engine()->Convert->StrToFloat(GetToken(index));
}

bool QOXParser::GetBool(int index) const
{
    return GetToken(index) == "TRUE";
}

QXVector QOXParser::GetVector(int index) const
{
    return {GetFloat(index), GetFloat(index + 1), GetFloat(index + 2)};
}

int QOXParser::GetPrefixedInt(int index, const std::string& prefix) const
{
    if (index < 0 || index > Last)
        return -1;
    const std::string& token = Tokens[static_cast<std::size_t>(index)];
    const std::string cutPrefix = CutText(prefix, kStringName);
    if (token.rfind(cutPrefix, 0) != 0)
        return -1;
    return Engine()->Convert->StrToInt(token.substr(cutPrefix.size()));
}

std::uint8_t QOXParser::GetPrefixedByte(int index, const std::string& prefix) const
{
    return static_cast<std::uint8_t>(GetPrefixedInt(index, prefix));
}
