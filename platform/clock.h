#pragma once
// The wall clock in local time: stamps in file names and log lines.
#include <cstdint>
#include <memory>

namespace zlt {

struct LocalTime {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    int utcOffsetSeconds = 0;  // how far local time is ahead of UTC
};

// Milliseconds since 1970-01-01 00:00 UTC of a local time.
std::int64_t unixMilliseconds(const LocalTime& time);

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
};

}  // namespace zlt
