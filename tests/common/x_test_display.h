#pragma once
// The test's own connection to the private X server: creates titled windows
// the way applications do and reads back what the window manager made of them.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zlt::testing {

class XTestDisplay {
public:
    ~XTestDisplay()
    {
        if (display_)
            XCloseDisplay(display_);
    }
    Display* get() const { return display_; }
    Window root() const { return DefaultRootWindow(display_); }
    Atom atom(const char* name) const { return XInternAtom(display_, name, False); }

    // A 300x200 top-level window with the title properties given; WM_NAME
    // is stored as a Latin-1 STRING, _NET_WM_NAME as UTF8_STRING.
    Window createWindow(const std::optional<std::string>& wmName, const std::optional<std::string>& netWmName)
    {
        const Window window = XCreateSimpleWindow(display_, root(), 20, 20, 300, 200, 0, 0, 0xffffff);
        const auto set = [&](Atom property, Atom type, const std::string& text) {
            XChangeProperty(display_, window, property, type, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
        };
        if (wmName)
            set(XA_WM_NAME, XA_STRING, *wmName);
        if (netWmName)
            set(atom("_NET_WM_NAME"), atom("UTF8_STRING"), *netWmName);
        XSync(display_, False);
        return window;
    }
    // Title set as applications do: WM_NAME and _NET_WM_NAME alike (ASCII).
    Window createTitledWindow(const std::string& title) { return createWindow(title, title); }
    void map(Window window) { XMapWindow(display_, window); XSync(display_, False); }
    std::vector<unsigned long> longProperty(Window window, const char* name) const
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display_, window, atom(name), 0, 1024, False, AnyPropertyType, &type, &format, &count,
                           &remaining, &data);
        const auto* items = reinterpret_cast<const unsigned long*>(data);
        std::vector<unsigned long> values(items, format == 32 && items ? items + count : items);
        XFree(data);  // free(), which takes a null pointer too
        return values;
    }
    bool hasLong(Window window, const char* name, unsigned long value) const
    {
        return std::ranges::count(longProperty(window, name), value) > 0;
    }
    // The window's WM_NAME; none when it has none or is gone (Xlib's
    // default handler would end the test over a window just destroyed).
    std::optional<std::string> fetchName(Window window) const
    {
        const XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        char* name = nullptr;
        std::optional<std::string> result;
        if (XFetchName(display_, window, &name) && name)
            result = name;
        XSync(display_, False);
        XSetErrorHandler(previous);
        XFree(name);
        return result;
    }
    Window activeWindow() const
    {
        const auto values = longProperty(root(), "_NET_ACTIVE_WINDOW");
        return values.empty() ? None : values.front();
    }
    bool isMaximised(Window window) const
    {
        return hasLong(window, "_NET_WM_STATE", atom("_NET_WM_STATE_MAXIMIZED_VERT")) &&
               hasLong(window, "_NET_WM_STATE", atom("_NET_WM_STATE_MAXIMIZED_HORZ"));
    }
    bool isManaged(Window window) const { return hasLong(root(), "_NET_CLIENT_LIST", window); }
    Window inputFocus() const
    {
        Window focus = None;
        int revert = 0;
        XGetInputFocus(display_, &focus, &revert);
        return focus;
    }
    XWindowAttributes attributes(Window window) const
    {
        XWindowAttributes result{};
        XGetWindowAttributes(display_, window, &result);
        return result;
    }

    // Polls the condition for up to five seconds: the manager works on its own time.
    static bool eventually(const std::function<bool()>& condition,
                           std::chrono::milliseconds limit = std::chrono::seconds(5))
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (; !condition(); std::this_thread::sleep_for(std::chrono::milliseconds(20)))
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
        return true;
    }

private:
    Display* const display_ = XOpenDisplay(nullptr);
};

}  // namespace zlt::testing
