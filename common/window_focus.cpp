#include "common/window_focus.h"

namespace zlt {

void focusWindow(WindowSystem& windows, const std::string& caption)
{
    const WindowHandle window = windows.findTopLevelWindow(caption);
    if (window == 0)
        return;
    // Foreground first: a desktop that refuses to move it still gets the
    // window maximised and focused.
    windows.setForeground(window);
    windows.showMaximised(window);
    windows.setFocus(window);
}

}  // namespace zlt
