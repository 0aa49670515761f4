#pragma once
// The desktop opener xdg-open, for web addresses and files.
#include <memory>

#include "platform/desktop_opener.h"
#include "platform/settings.h"

namespace zlt {

// xdg-open found on the PATH setting; none when there is no opener.
std::unique_ptr<DesktopOpener> makeDesktopOpener(const Settings& settings);

}  // namespace zlt
