#pragma once
// The test's own connection to the private X server: creates titled
// top-level windows the way applications do and reads back what the window
// manager made of them.
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
    XTestDisplay() : display_(XOpenDisplay(nullptr)) {}
    ~XTestDisplay()
    {
        if (display_)
            XCloseDisplay(display_);
    }
    XTestDisplay(const XTestDisplay&) = delete;
    XTestDisplay& operator=(const XTestDisplay&) = delete;

    Display* get() const { return display_; }
    Window root() const { return DefaultRootWindow(display_); }
    Atom atom(const char* name) const { return XInternAtom(display_, name, False); }

    int screenWidth() const { return DisplayWidth(display_, DefaultScreen(display_)); }
    int screenHeight() const { return DisplayHeight(display_, DefaultScreen(display_)); }

    // A 300x200 top-level window with the title properties given; WM_NAME
    // is stored as a Latin-1 STRING, _NET_WM_NAME as UTF8_STRING.
    Window createWindow(const std::optional<std::string>& wmName, const std::optional<std::string>& netWmName)
    {
        const Window window = XCreateSimpleWindow(display_, root(), 20, 20, 300, 200, 0, 0, 0xffffff);
        if (wmName)
            setText(window, XA_WM_NAME, XA_STRING, *wmName);
        if (netWmName)
            setText(window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), *netWmName);
        XSync(display_, False);
        return window;
    }

    // Title set as applications do: WM_NAME and _NET_WM_NAME alike (ASCII).
    Window createTitledWindow(const std::string& title) { return createWindow(title, title); }

    void map(Window window)
    {
        XMapWindow(display_, window);
        XSync(display_, False);
    }

    std::vector<unsigned long> longProperty(Window window, const char* name) const
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned long> values;
        if (XGetWindowProperty(display_, window, atom(name), 0, 1024, False, AnyPropertyType, &type, &format, &count,
                               &remaining, &data) == Success &&
            data && format == 32) {
            const auto* items = reinterpret_cast<const unsigned long*>(data);
            values.assign(items, items + count);
        }
        if (data)
            XFree(data);
        return values;
    }

    // The window's WM_NAME; none when it has none or is gone: a window
    // destroyed a moment ago can still be on the manager's client list, and
    // Xlib's default handler would end the test over it.
    std::optional<std::string> fetchName(Window window) const
    {
        const XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        char* name = nullptr;
        const Status fetched = XFetchName(display_, window, &name);
        XSync(display_, False);
        XSetErrorHandler(previous);
        std::optional<std::string> result;
        if (fetched && name)
            result = name;
        if (name)
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
        const auto state = longProperty(window, "_NET_WM_STATE");
        const auto has = [&](const char* name) {
            return std::find(state.begin(), state.end(), atom(name)) != state.end();
        };
        return has("_NET_WM_STATE_MAXIMIZED_VERT") && has("_NET_WM_STATE_MAXIMIZED_HORZ");
    }

    bool isManaged(Window window) const
    {
        const auto clients = longProperty(root(), "_NET_CLIENT_LIST");
        return std::find(clients.begin(), clients.end(), window) != clients.end();
    }

    // Whether a window manager that has just set its hints takes on new
    // windows: maps a probe window until the manager lists one, then
    // destroys it. A window mapped while the manager is still starting may
    // never be taken on, so each probe gets a second before the next.
    bool managerTakesNewWindows()
    {
        for (int attempt = 0; attempt < 10; ++attempt) {
            const Window probe = createTitledWindow("Window manager probe");
            map(probe);
            const bool listed = eventually([&] { return isManaged(probe); }, std::chrono::seconds(1));
            XDestroyWindow(display_, probe);
            XSync(display_, False);
            if (listed)
                return eventually([&] { return !isManaged(probe); });
        }
        return false;
    }

    // The root's children from bottom to top.
    std::vector<Window> rootChildren() const
    {
        Window rootReturn = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        std::vector<Window> result;
        if (XQueryTree(display_, root(), &rootReturn, &parent, &children, &count) && children) {
            result.assign(children, children + count);
            XFree(children);
        }
        return result;
    }

    long wmState(Window window) const
    {
        const auto values = longProperty(window, "WM_STATE");
        return values.empty() ? WithdrawnState : static_cast<long>(values.front());
    }

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

    // Polls the condition for up to five seconds; the window manager works
    // on its own time.
    static bool eventually(const std::function<bool()>& condition,
                           std::chrono::milliseconds limit = std::chrono::seconds(5))
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!condition()) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

private:
    void setText(Window window, Atom property, Atom type, const std::string& text)
    {
        XChangeProperty(display_, window, property, type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    }

    Display* display_;
};

}  // namespace zlt::testing
