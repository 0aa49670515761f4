// The C library's locale: D_FMT and T_FMT are the short date and long time
// forms of the locale the settings name (LC_ALL, LC_TIME or LANG).
#include "platform/posix/locale_date_time_format.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <ctime>

namespace zlt {

namespace {

class LocaleDateTimeFormat : public DateTimeFormat {
public:
    LocaleDateTimeFormat(const NamedLocale& locale, std::ostream* notes)
    {
        const std::string name = locale.name.empty() ? "C" : locale.name;
        locale_ = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(nullptr));
        if (locale_ == static_cast<locale_t>(nullptr)) {  // a locale the system lacks: the C library's own
            locale_ = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
            notes_ = notes;
            missing_ = locale;
        }
        utf8_ = std::strcmp(nl_langinfo_l(CODESET, locale_), "UTF-8") == 0;
    }
    ~LocaleDateTimeFormat() override { freelocale(locale_); }
    LocaleDateTimeFormat(const LocaleDateTimeFormat&) = delete;
    LocaleDateTimeFormat& operator=(const LocaleDateTimeFormat&) = delete;

    std::string shortDate(const LocalTime& time) override { return format(D_FMT, time); }
    std::string longTime(const LocalTime& time) override { return format(T_FMT, time); }

private:
    std::string format(nl_item item, const LocalTime& time)
    {
        // Said once, and only by a run that writes a date: without the
        // locale a day-first reader would read 07/12/26 wrongly.
        if (notes_) {
            *notes_ << missing_.variable << " names the locale " << missing_.name
                    << ", which is not installed: dates and times are written as the C library writes them, month "
                       "first\n"
                    << std::flush;
            notes_ = nullptr;
        }
        std::tm moment{};
        moment.tm_year = time.year - 1900;
        moment.tm_mon = time.month - 1;
        moment.tm_mday = time.day;
        moment.tm_hour = time.hour;
        moment.tm_min = time.minute;
        moment.tm_sec = time.second;
        // The weekday and the zone a form may name, without letting mktime
        // move the hour across a daylight-saving change.
        std::tm filled = moment;
        filled.tm_isdst = -1;
        mktime(&filled);
        moment.tm_wday = filled.tm_wday;
        moment.tm_yday = filled.tm_yday;
        moment.tm_isdst = filled.tm_isdst;
        moment.tm_gmtoff = filled.tm_gmtoff;
        moment.tm_zone = filled.tm_zone;
        char text[256];
        const std::size_t length = strftime_l(text, sizeof text, nl_langinfo_l(item, locale_), &moment, locale_);
        std::string out(text, length);
        // A locale in another character set: what is not ASCII cannot be told.
        if (!utf8_)
            for (char& c : out)
                if (static_cast<unsigned char>(c) >= 0x80)
                    c = '?';
        return out;
    }

    locale_t locale_;
    bool utf8_ = false;
    std::ostream* notes_ = nullptr;  // until the missing locale is told
    NamedLocale missing_;
};

}  // namespace

std::unique_ptr<DateTimeFormat> makeLocaleDateTimeFormat(const NamedLocale& locale, std::ostream* notes)
{
    return std::make_unique<LocaleDateTimeFormat>(locale, notes);
}

}  // namespace zlt
