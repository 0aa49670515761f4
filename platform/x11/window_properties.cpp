#include "platform/x11/window_properties.h"
#include "platform/utf8.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <memory>

namespace zlt::x11 {

namespace {

struct XFreeDeleter {
    void operator()(void* data) const
    {
        if (data)
            XFree(data);
    }
};

struct Property {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    std::unique_ptr<unsigned char, XFreeDeleter> data;
};

// The whole property, or none when the window lacks it or is gone.
std::optional<Property> readProperty(Display* display, Window window, Atom name)
{
    Property property;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    // Titles and client lists are far below a million 32-bit units.
    if (XGetWindowProperty(display, window, name, 0, 1L << 20, False, AnyPropertyType, &property.type,
                           &property.format, &property.count, &remaining, &data) != Success)
        return std::nullopt;
    property.data.reset(data);
    if (property.type == None)
        return std::nullopt;
    return property;
}

// Format-32 items come back as longs, whatever the size of a long.
std::vector<unsigned long> longItems(const Property& property)
{
    if (property.format != 32 || !property.data)
        return {};
    const auto* items = reinterpret_cast<const unsigned long*>(property.data.get());
    return {items, items + property.count};
}

std::string latin1ToUtf8(const unsigned char* text, unsigned long length)
{
    std::string out;
    for (unsigned long i = 0; i < length; ++i)
        appendUtf8(out, text[i]);
    return out;
}

std::optional<std::string> legacyTitle(Display* display, Window window, Atom utf8String)
{
    auto property = readProperty(display, window, XA_WM_NAME);
    if (!property || property->format != 8)
        return std::nullopt;
    const auto* bytes = property->data.get();
    if (property->type == XA_STRING)
        return latin1ToUtf8(bytes, property->count);
    if (property->type == utf8String)
        return std::string(reinterpret_cast<const char*>(bytes), property->count);
    // Compound text and other encodings: let Xlib convert.
    XTextProperty text{property->data.get(), property->type, property->format, property->count};
    char** list = nullptr;
    int listCount = 0;
    if (Xutf8TextPropertyToTextList(display, &text, &list, &listCount) < Success || !list)
        return std::nullopt;
    std::string title;
    for (int i = 0; i < listCount; ++i)
        title += list[i];
    XFreeStringList(list);
    return title;
}

void collectClients(Display* display, Window window, Atom wmStateAtom, std::vector<Window>& out)
{
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return;
    std::unique_ptr<Window, XFreeDeleter> owned(children);
    for (unsigned int i = 0; i < count; ++i) {
        if (readProperty(display, children[i], wmStateAtom))
            out.push_back(children[i]);
        else
            collectClients(display, children[i], wmStateAtom, out);
    }
}

}  // namespace

std::optional<std::string> windowTitle(Display* display, Window window)
{
    const Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    if (auto property = readProperty(display, window, netWmName);
        property && property->type == utf8String && property->format == 8)
        return std::string(reinterpret_cast<const char*>(property->data.get()), property->count);
    return legacyTitle(display, window, utf8String);
}

std::vector<Window> topLevelWindows(Display* display)
{
    const Window root = DefaultRootWindow(display);
    // A manager that died leaves its last list on the root, without the
    // windows mapped since: only a running manager's list is trusted.
    if (ewmhManagerPresent(display)) {
        if (auto list = readProperty(display, root, XInternAtom(display, "_NET_CLIENT_LIST", False));
            list && list->type == XA_WINDOW) {
            const auto items = longItems(*list);
            return {items.begin(), items.end()};
        }
    }

    const Atom wmStateAtom = XInternAtom(display, "WM_STATE", False);
    Window rootReturn = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> windows;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count))
        return windows;
    std::unique_ptr<Window, XFreeDeleter> owned(children);
    for (unsigned int i = 0; i < count; ++i) {
        windows.push_back(children[i]);
        // A frame of a reparenting manager: the application's window is below it.
        if (!readProperty(display, children[i], wmStateAtom))
            collectClients(display, children[i], wmStateAtom, windows);
    }
    return windows;
}

std::optional<long> wmState(Display* display, Window window)
{
    const Atom wmStateAtom = XInternAtom(display, "WM_STATE", False);
    auto property = readProperty(display, window, wmStateAtom);
    if (!property)
        return std::nullopt;
    const auto items = longItems(*property);
    if (items.empty())
        return std::nullopt;
    return static_cast<long>(items.front());
}

bool ewmhManagerPresent(Display* display)
{
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    auto onRoot = readProperty(display, DefaultRootWindow(display), check);
    if (!onRoot || onRoot->type != XA_WINDOW)
        return false;
    const auto items = longItems(*onRoot);
    if (items.empty())
        return false;
    // A manager that died leaves the root's hint behind; its check window,
    // pointing at itself, goes with it.
    auto onChild = readProperty(display, items.front(), check);
    if (!onChild)
        return false;
    const auto childItems = longItems(*onChild);
    return !childItems.empty() && childItems.front() == items.front();
}

}  // namespace zlt::x11
