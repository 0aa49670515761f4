#pragma once
// Dates and times written as a locale writes them.
#include <memory>
#include <ostream>
#include <string>

#include "platform/date_time_format.h"
#include "platform/settings.h"

namespace zlt {

// The short date and long time of the locale the settings name
// ("en_AU.UTF-8"); none named: the C locale's. A locale the system lacks
// writes as the C locale does, month first, and the first date or time it
// writes is preceded by one line on `notes` saying so (nullptr: not said).
std::unique_ptr<DateTimeFormat> makeLocaleDateTimeFormat(const NamedLocale& locale, std::ostream* notes = nullptr);

}  // namespace zlt
