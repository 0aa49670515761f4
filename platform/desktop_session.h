#pragma once
// The desktop session a program with a window or a printer needs. With no
// X or Wayland display (or one that does not answer) it runs offscreen, so
// batch use never needs one.
namespace zlt {

class DesktopSession {
public:
    virtual ~DesktopSession() = default;
    // Lets pending window events run once.
    virtual void processEvents() = 0;
    // Runs the event loop until the last window closes; returns its status.
    virtual int exec() = 0;
    // Whether a person can see windows (an X or Wayland display).
    virtual bool hasDisplay() const = 0;
};

}  // namespace zlt
