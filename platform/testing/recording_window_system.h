#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace zlt::testing {

// Test double of the window system: answers lookups from a table of titles
// and writes each call, in order, into a log that other doubles may share
// ("find <title>", "foreground <handle>", "maximise <handle>", "focus <handle>").
class RecordingWindowSystem : public WindowSystem {
public:
    explicit RecordingWindowSystem(std::vector<std::string>& log) : log_(log) {}

    std::map<std::string, WindowHandle> windows;  // title -> handle

    WindowHandle findTopLevelWindow(const std::string& title) override
    {
        log_.push_back("find " + title);
        const auto it = windows.find(title);
        return it == windows.end() ? 0 : it->second;
    }
    void setForeground(WindowHandle window) override { log_.push_back("foreground " + std::to_string(window)); }
    void showMaximised(WindowHandle window) override { log_.push_back("maximise " + std::to_string(window)); }
    void setFocus(WindowHandle window) override { log_.push_back("focus " + std::to_string(window)); }

private:
    std::vector<std::string>& log_;
};

}  // namespace zlt::testing
