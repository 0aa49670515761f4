// The xdg-open backend under webhop's browser, with stand-in openers.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <optional>

#include "platform/backends.h"
#include "platform/opener_browser.h"
#include "platform/posix/child_process.h"
#include "platform/run_time_error.h"
#include "tests/support/temp_dir.h"

namespace zlt {
namespace {

// Settings whose PATH holds only dir/bin/xdg-open, which logs each argument
// on a line of xdg-open.log beside it, then runs `ending`.
Settings standIn(const testing::TempDir& dir, const std::string& ending,
                 std::filesystem::perms perms = std::filesystem::perms::owner_all)
{
    std::filesystem::permissions(
        dir.write("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$0.log\"\n" + ending + "\n"), perms);
    Settings settings;
    settings.path = dir / "bin";
    return settings;
}

// What opening through a browser on the opener (none: no opener) throws.
std::optional<RunTimeError> failureOf(DesktopOpener* opener, const std::string& target)
try {
    makeOpenerBrowser(opener)->navigate(target);
    return std::nullopt;
} catch (const RunTimeError& error) {
    return error;
}

TEST(XdgOpener, OnlyAnExecutableOpenerMakesABrowser)
{
    EXPECT_EQ(makeDesktopOpener(standIn(testing::TempDir(), "exit 0", std::filesystem::perms::owner_read)), nullptr);
    EXPECT_EQ(failureOf(nullptr, "https://example.org/")->number(), error_number::CannotCreateObject);
}

TEST(XdgOpener, WhatTheOpenerRefusesOrFailsIsAnAutomationError)
{
    struct Case { std::string ending, target, said, logged; };
    const Case cases[] = {
        {"exit 3", "https://example.org/", "ended with exit status 3)", "https://example.org/\n"},
        {"kill -KILL $$", "https://example.org/", "ended with signal 9)", "https://example.org/\n"},
        {"exit 0", "-h", "Nothing to open", ""},  // xdg-open would read it as an option
        {"exit 0", "", "Nothing to open", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ending + " " + c.target);
        const testing::TempDir dir;
        const auto failure = failureOf(makeDesktopOpener(standIn(dir, c.ending)).get(), c.target);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->number(), error_number::AutomationError);
        EXPECT_NE(failure->description().find(c.said), std::string::npos) << failure->description();
        EXPECT_EQ(testing::fileText(dir / "bin/xdg-open.log"), c.logged);
    }
}

// It is given a few seconds to hand over to the browser, then left to it.
TEST(XdgOpener, OpenerThatStaysWithTheBrowserIsLeftRunning)
{
    const testing::TempDir dir;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(failureOf(makeDesktopOpener(standIn(dir, "echo $$ > \"$0.pid\"\nexec sleep 30")).get(), "http://a/"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    const pid_t opener = std::stoi("0" + testing::fileText(dir / "bin/xdg-open.pid"));
    ASSERT_GT(opener, 0);
    EXPECT_FALSE(posix::waitForChild(opener, std::chrono::seconds(1))) << "the opener should still run";
    kill(opener, SIGKILL);
}

}  // namespace
}  // namespace zlt
