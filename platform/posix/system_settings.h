#pragma once
// The settings of this machine and user, read once at start.
#include "platform/settings.h"

namespace zlt {

// The environment's settings; the paper, when PAPERSIZE is not set, from
// /etc/papersize as Debian's tools take it.
Settings readSystemSettings(const char* const* environment);

}  // namespace zlt
