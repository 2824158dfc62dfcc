#pragma once
// Dates as the user reads them.
#include <cstdint>
#include <string>

namespace platform {

// The calendar date of a moment (seconds since 1970) in the local time zone, written in the short
// date format of the user's LC_TIME locale ("%x"); the C locale's "12/31/26" when that locale
// cannot be had.
std::string ShortDateText(std::int64_t secondsSince1970);

} // namespace platform
