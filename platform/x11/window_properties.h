#pragma once
// Reading what the desktop knows about top-level windows: their titles and
// the list of windows a person sees as applications.
#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <vector>

namespace zlt::x11 {

// The window's title in UTF-8: _NET_WM_NAME when set, else WM_NAME in
// whatever encoding it carries. None when the window has no title at all.
std::optional<std::string> windowTitle(Display* display, Window window);

// The application windows of the default screen: the window manager's
// _NET_CLIENT_LIST when a manager runs and keeps one; otherwise the root's children and,
// below frames of a reparenting manager, the client windows carrying WM_STATE.
std::vector<Window> topLevelWindows(Display* display);

// The ICCCM WM_STATE of a window (NormalState, IconicState ...); none when
// no window manager has set it.
std::optional<long> wmState(Display* display, Window window);

// Whether a window manager following the freedesktop window-manager hints
// runs on the default screen.
bool ewmhManagerPresent(Display* display);

}  // namespace zlt::x11
