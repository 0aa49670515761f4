#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engines/browser/browser.h"
#include "platform/run_time_error.h"

namespace zlt::testing {

// Test double of the browser: writes each call, in order, into a log that
// other doubles may share ("navigate <address>", "visible true|false").
// A failure set for navigate is thrown after the call is logged.
class RecordingBrowser : public Browser {
public:
    RecordingBrowser(std::vector<std::string>& log, std::optional<RunTimeError> navigateFailure)
        : log_(log), navigateFailure_(std::move(navigateFailure))
    {
    }
    void navigate(const std::string& address) override
    {
        log_.push_back("navigate " + address);
        if (navigateFailure_)
            throw *navigateFailure_;
    }
    void setVisible(bool visible) override { log_.push_back(visible ? "visible true" : "visible false"); }

private:
    std::vector<std::string>& log_;
    std::optional<RunTimeError> navigateFailure_;
};

// Creates recording browsers; logs "create" for each attempt and throws the
// creation failure when one is set.
class RecordingBrowserFactory {
public:
    explicit RecordingBrowserFactory(std::vector<std::string>& log) : log_(log) {}

    std::optional<RunTimeError> creationFailure;
    std::optional<RunTimeError> navigateFailure;

    std::unique_ptr<Browser> create()
    {
        log_.push_back("create");
        if (creationFailure)
            throw *creationFailure;
        return std::make_unique<RecordingBrowser>(log_, navigateFailure);
    }

private:
    std::vector<std::string>& log_;
};

}  // namespace zlt::testing
