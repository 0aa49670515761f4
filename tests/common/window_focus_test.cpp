// The helper's logic against the recording window system: the exact calls
// and their order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/window_focus.h"
#include "platform/testing/recording_window_system.h"

namespace zlt {
namespace {

TEST(WindowFocus, FoundWindowIsBroughtForwardThenMaximisedThenFocused)
{
    std::vector<std::string> log;
    testing::RecordingWindowSystem windows(log);
    windows.windows = {{"Book1 - Sheet", 7}, {"Notes - Writer", 42}};

    focusWindow(windows, "Notes - Writer");

    EXPECT_EQ(log, (std::vector<std::string>{"find Notes - Writer", "foreground 42", "maximise 42", "focus 42"}));
}

TEST(WindowFocus, NoWindowFoundEndsAfterTheLookup)
{
    std::vector<std::string> log;
    testing::RecordingWindowSystem windows(log);
    windows.windows = {{"Notes - Writer", 42}};

    focusWindow(windows, "Notes");

    EXPECT_EQ(log, (std::vector<std::string>{"find Notes"}));
}

}  // namespace
}  // namespace zlt
