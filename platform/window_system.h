#pragma once
// The four window-system operations that bring an application's window to
// the front.
#include <cstdint>
#include <string>

namespace zlt {

using WindowHandle = std::uint64_t;  // 0: no window

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // The top-level window whose whole title equals the text (UTF-8); 0 when none does.
    virtual WindowHandle findTopLevelWindow(const std::string& title) = 0;
    // Results are not reported: a refusal by the desktop is not an error.
    virtual void setForeground(WindowHandle window) = 0;
    virtual void showMaximised(WindowHandle window) = 0;
    virtual void setFocus(WindowHandle window) = 0;
};

}  // namespace zlt
