#pragma once
// Dates and times written as a locale writes them.
#include <memory>
#include <string>

#include "platform/date_time_format.h"

namespace zlt {

// The short date and long time of a locale ("en_AU.UTF-8"); "": the one the
// environment chooses. A locale the system lacks writes as the C locale.
std::unique_ptr<DateTimeFormat> makeLocaleDateTimeFormat(const std::string& localeName = "");

}  // namespace zlt
