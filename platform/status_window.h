#pragma once
// The dispatcher's small status window: the file being worked on, how much
// of it was read, and the latest step. Text is UTF-8. With no display there
// is no window and every call does nothing but give pending events a turn.
#include <string>

namespace zlt {

class StatusWindow {
public:
    virtual ~StatusWindow() = default;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void setCount(const std::string& text) = 0;
    virtual void setProgress(const std::string& text) = 0;
    virtual void setStatus(const std::string& text) = 0;
    // Lets the window repaint.
    virtual void processEvents() = 0;
};

}  // namespace zlt
