#pragma once
// Test double of the desktop opener: remembers each target, in order, and
// fails when a test says so.
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop_opener.h"
#include "platform/run_time_error.h"

namespace zlt::testing {

class RecordingOpener : public DesktopOpener {
public:
    std::vector<std::string> opened;
    std::optional<RunTimeError> failure;

    void open(const std::string& target) override
    {
        opened.push_back(target);
        if (failure)
            throw *failure;
    }
};

}  // namespace zlt::testing
