#pragma once
// Brings an application's top-level window to the front, maximised and with
// the keyboard focus, found by its exact title. Linked into every program
// that leaves an application open for the user.
#include <string>

#include "platform/window_system.h"

namespace zlt {

// The caption is the whole title (UTF-8); a window whose title is longer or
// shorter is not the one. No window with that title: nothing happens. The
// desktop's refusals are not errors, so nothing is ever reported.
void focusWindow(WindowSystem& windows, const std::string& caption);

}  // namespace zlt
