#pragma once
// Dates as the user reads them.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The calendar date of a moment (seconds since 1970) in the local time zone, written in the short
// date format of the user's LC_TIME locale ("%x"); the C locale's "12/31/26" when that locale
// cannot be had.
std::string ShortDateText(std::int64_t secondsSince1970);
// "3 Dec" and "3 Dec 2026" in the user's LC_TIME locale (the month's abbreviated name).
std::string DayMonthText(std::int64_t secondsSince1970);
std::string DayMonthYearText(std::int64_t secondsSince1970);
// "2026-12-03" and "2026-12-03T14:30", local time: how dates are written in settings and on
// command lines.
std::string IsoDateText(std::int64_t secondsSince1970);
std::string IsoMinuteText(std::int64_t secondsSince1970);
// "3 Dec 2026 14:30" in the user's LC_TIME locale.
std::string DayMonthYearTimeText(std::int64_t secondsSince1970);
// A moment from "2026-12-01" (the end of that day), "2026-12-01T14:30" (the end of that minute)
// or "2026-12-01 14:30:15", in local time; none for anything else (also for a day the month does
// not have).
std::optional<std::int64_t> ParseLocalDate(const std::string& text);

} // namespace platform
