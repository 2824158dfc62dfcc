#include "platform/percent_encoding.h"

#include <cctype>
#include <cstring>

namespace platform {

namespace {

int HexValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(digit)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

bool Unreserved(unsigned char byte)
{
    return std::isalnum(byte) != 0 || (byte != '\0' && std::strchr("-_.!~*'()/", byte) != nullptr);
}

} // namespace

std::string PercentEncoded(const std::string& bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && Unreserved(byte)) {
            text += c;
            continue;
        }
        text += '%';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

bool PercentDecoded(const std::string& text, std::string& bytes)
{
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low < 0 || (high == 0 && low == 0))
            return false;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

} // namespace platform
