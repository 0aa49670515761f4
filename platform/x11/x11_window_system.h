#pragma once
// The window system of an X11 desktop, through Xlib; with no X display every
// operation does nothing.
#include <memory>

#include "platform/window_system.h"

namespace zlt {

std::unique_ptr<WindowSystem> makeWindowSystem();

}  // namespace zlt
