#pragma once
// The wall clock in local time: stamps in file names and log lines.
#include <memory>

namespace zlt {

struct LocalTime {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
};

}  // namespace zlt
