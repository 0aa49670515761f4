#pragma once
#include <string>

#include "platform/status_window.h"

namespace zlt::testing {

// Test double of the status window: keeps whether it is up and what each
// label shows.
class RecordingStatusWindow : public StatusWindow {
public:
    bool visible = false;
    std::string count, progress, status;

    void show() override { visible = true; }
    void hide() override { visible = false; }
    void setCount(const std::string& text) override { count = text; }
    void setProgress(const std::string& text) override { progress = text; }
    void setStatus(const std::string& text) override { status = text; }
    void processEvents() override {}
};

}  // namespace zlt::testing
