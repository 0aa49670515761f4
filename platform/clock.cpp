#include "platform/clock.h"

namespace zlt {

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

std::int64_t unixMilliseconds(const LocalTime& time)
{
    const std::int64_t seconds = daysFromCivil(time.year, time.month, time.day) * 86400 + time.hour * 3600 +
                                 time.minute * 60 + time.second - time.utcOffsetSeconds;
    return seconds * 1000 + time.millisecond;
}

}  // namespace zlt
