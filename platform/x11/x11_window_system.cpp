// The window system of an X11 desktop, through Xlib. Activation goes through
// the window manager's freedesktop hints where one runs, and straight to the
// server where none does.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <chrono>
#include <thread>

#include "platform/x11/x11_window_system.h"
#include "platform/x11/window_properties.h"
#include "platform/x11/x11_error_trap.h"

namespace zlt {

namespace {

// Source indication of the hints: a tool acting for the user, whom the
// window manager's focus-stealing prevention lets through.
constexpr long sourceIsUserTool = 2;
constexpr long netWmStateAdd = 1;
// A window mapped a moment ago needs the server's round trip and, under a
// window manager, the frame before it can take the focus.
constexpr auto viewableWait = std::chrono::milliseconds(500);

class X11WindowSystem : public WindowSystem {
public:
    X11WindowSystem() : display_(XOpenDisplay(nullptr)) {}
    ~X11WindowSystem() override
    {
        if (display_)
            XCloseDisplay(display_);
    }
    X11WindowSystem(const X11WindowSystem&) = delete;
    X11WindowSystem& operator=(const X11WindowSystem&) = delete;

    WindowHandle findTopLevelWindow(const std::string& title) override
    {
        if (!display_)
            return 0;
        x11::ErrorTrap trap(display_);
        for (const Window window : x11::topLevelWindows(display_)) {
            if (x11::windowTitle(display_, window) == title)
                return window;
        }
        return 0;
    }

    void setForeground(WindowHandle handle) override
    {
        if (!display_ || handle == 0)
            return;
        x11::ErrorTrap trap(display_);
        const auto window = static_cast<Window>(handle);
        sendToManager(window, "_NET_ACTIVE_WINDOW", {sourceIsUserTool, CurrentTime, 0, 0, 0});
        XRaiseWindow(display_, window);
    }

    void showMaximised(WindowHandle handle) override
    {
        if (!display_ || handle == 0)
            return;
        x11::ErrorTrap trap(display_);
        const auto window = static_cast<Window>(handle);
        // Mapping an iconic window asks its manager to restore it; a hidden
        // one without a manager simply appears.
        XWindowAttributes attributes;
        const bool unmapped = XGetWindowAttributes(display_, window, &attributes) &&
                              attributes.map_state == IsUnmapped;
        if (unmapped || x11::wmState(display_, window) == IconicState)
            XMapWindow(display_, window);
        if (x11::ewmhManagerPresent(display_)) {
            const Atom vertical = XInternAtom(display_, "_NET_WM_STATE_MAXIMIZED_VERT", False);
            const Atom horizontal = XInternAtom(display_, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
            sendToManager(window, "_NET_WM_STATE",
                          {netWmStateAdd, static_cast<long>(vertical), static_cast<long>(horizontal),
                           sourceIsUserTool, 0});
        } else {
            // Without a manager there is no frame and no panel: the screen is the work area.
            const int screen = DefaultScreen(display_);
            XMoveResizeWindow(display_, window, 0, 0, DisplayWidth(display_, screen),
                              DisplayHeight(display_, screen));
        }
    }

    void setFocus(WindowHandle handle) override
    {
        if (!display_ || handle == 0)
            return;
        x11::ErrorTrap trap(display_);
        const auto window = static_cast<Window>(handle);
        if (waitUntilViewable(window))
            XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    }

private:
    void sendToManager(Window window, const char* message, const std::array<long, 5>& data)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display_, message, False);
        event.xclient.format = 32;
        for (std::size_t i = 0; i < data.size(); ++i)
            event.xclient.data.l[i] = data[i];
        XSendEvent(display_, DefaultRootWindow(display_), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    }

    bool waitUntilViewable(Window window)
    {
        const auto deadline = std::chrono::steady_clock::now() + viewableWait;
        for (;;) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display_, window, &attributes))
                return false;
            if (attributes.map_state == IsViewable)
                return true;
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    Display* display_;
};

}  // namespace

std::unique_ptr<WindowSystem> makeWindowSystem()
{
    return std::make_unique<X11WindowSystem>();
}

}  // namespace zlt
