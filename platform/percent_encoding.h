#pragma once
// Bytes as URL text (RFC 2396 escapes): names that are not UTF-8, hold spaces or line breaks travel
// through text files and URLs unchanged and come back byte for byte.
#include <string>

namespace platform {

// Every byte but letters, digits, "-_.!~*'()" and "/" as "%XX".
std::string PercentEncoded(const std::string& bytes);

// The bytes of a text with "%XX" escapes. False for a broken escape or an escaped NUL byte, which
// no path can hold.
bool PercentDecoded(const std::string& text, std::string& bytes);

} // namespace platform
