#pragma once
#include <string>
#include <vector>

#include "platform/status_window.h"

namespace zlt::testing {

// Test double of the status window: writes each call into a log other
// doubles may share ("window count Processing mail file 1 of 2" ...) and
// keeps what each label shows. Event turns are counted, not logged.
class RecordingStatusWindow : public StatusWindow {
public:
    explicit RecordingStatusWindow(std::vector<std::string>& log) : log_(log) {}

    bool visible = false;
    std::string count, progress, status;
    int eventTurns = 0;

    void show() override
    {
        log_.push_back("window show");
        visible = true;
    }
    void hide() override
    {
        log_.push_back("window hide");
        visible = false;
    }
    void setCount(const std::string& text) override { count = text; }
    void setProgress(const std::string& text) override { progress = text; }
    void setStatus(const std::string& text) override { status = text; }
    void processEvents() override { ++eventTurns; }

private:
    std::vector<std::string>& log_;
};

}  // namespace zlt::testing
