#pragma once
// Keeps X protocol errors of one operation away from the program: Xlib's
// default handler would end the process over a window that closed between
// the lookup and the call, and the window helper must never fail its caller.
#include <X11/Xlib.h>

namespace zlt::x11 {

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : display_(display), previous_(XSetErrorHandler(&ignore)) {}
    ~ErrorTrap()
    {
        // Errors of our requests arrive only once the server has answered them.
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

private:
    static int ignore(Display*, XErrorEvent*) { return 0; }

    Display* display_;
    XErrorHandler previous_;
};

}  // namespace zlt::x11
