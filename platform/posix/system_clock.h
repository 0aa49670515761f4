#pragma once
// The machine's local date and time.
#include <memory>

#include "platform/clock.h"

namespace zlt {

std::unique_ptr<Clock> makeSystemClock();

}  // namespace zlt
