#pragma once
// How the desktop writes a moment: its locale's short date and long time,
// as a time stamp typed into a document shows them.
#include <string>

#include "platform/clock.h"

namespace zlt {

class DateTimeFormat {
public:
    virtual ~DateTimeFormat() = default;
    // UTF-8: "31/01/2024", "1:05:09 PM".
    virtual std::string shortDate(const LocalTime& time) = 0;
    virtual std::string longTime(const LocalTime& time) = 0;
};

}  // namespace zlt
