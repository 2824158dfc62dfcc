#include "platform/date_text.h"

#include <clocale>
#include <cstdio>
#include <ctime>
#include <locale.h>

namespace platform {

namespace {

// The user's time locale, looked up once; the C locale when the environment names none we have.
locale_t TimeLocale()
{
    static const locale_t locale = [] {
        locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
        return user != static_cast<locale_t>(0) ? user : newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    }();
    return locale;
}

std::string LocalText(std::int64_t secondsSince1970, const char* format)
{
    const std::time_t moment = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr)
        return std::string();
    char text[64] = {};
    const std::size_t length = strftime_l(text, sizeof text, format, &local, TimeLocale());
    return std::string(text, length);
}

} // namespace

std::string ShortDateText(std::int64_t secondsSince1970)
{
    return LocalText(secondsSince1970, "%x");
}

std::string DayMonthText(std::int64_t secondsSince1970)
{
    return LocalText(secondsSince1970, "%-d %b");
}

std::string DayMonthYearText(std::int64_t secondsSince1970)
{
    return LocalText(secondsSince1970, "%-d %b %Y");
}

std::string IsoDateText(std::int64_t secondsSince1970)
{
    return LocalText(secondsSince1970, "%Y-%m-%d");
}

std::string IsoMinuteText(std::int64_t secondsSince1970)
{
    return LocalText(secondsSince1970, "%Y-%m-%dT%H:%M");
}

std::string DayMonthYearTimeText(std::int64_t secondsSince1970)
{
    return LocalText(secondsSince1970, "%-d %b %Y %H:%M");
}

std::optional<std::int64_t> ParseLocalDate(const std::string& text)
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 23;
    int minute = 59;
    int second = 59;
    int used = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &year, &month, &day, &used) != 3)
        return std::nullopt;
    if (static_cast<std::size_t>(used) != text.size()) {
        const char separator = text[static_cast<std::size_t>(used)];
        const std::string rest = text.substr(static_cast<std::size_t>(used) + 1);
        int more = 0;
        const int got = std::sscanf(rest.c_str(), "%2d:%2d%n:%2d%n", &hour, &minute, &more, &second, &more);
        if ((separator != 'T' && separator != ' ') || got < 2 || static_cast<std::size_t>(more) != rest.size())
            return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 60)
        return std::nullopt;
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    const std::time_t time = std::mktime(&parts);
    if (time == static_cast<std::time_t>(-1) || parts.tm_mday != day)
        return std::nullopt;
    return static_cast<std::int64_t>(time);
}

} // namespace platform
