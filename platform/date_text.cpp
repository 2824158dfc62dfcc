#include "platform/date_text.h"

#include <clocale>
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

} // namespace

std::string ShortDateText(std::int64_t secondsSince1970)
{
    const std::time_t moment = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr)
        return std::string();
    char text[64] = {};
    const std::size_t length = strftime_l(text, sizeof text, "%x", &local, TimeLocale());
    return std::string(text, length);
}

} // namespace platform
