// The webhop program as the host runs it: its command line as argv, and a
// stand-in xdg-open alone on PATH. With no display boxes come out on
// standard error; WebhopOnADesktop runs under tests/support/with_xvfb.sh --wm.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/common/x_test_display.h"
#include "tests/support/program_run.h"

namespace zlt::testing {
namespace {

using ::testing::HasSubstr;

class WebhopProgram : public ::testing::Test {
protected:
    void installOpener(const std::string& script) const
    {
        std::filesystem::permissions(dir.write("bin/xdg-open", script), std::filesystem::perms::owner_all);
    }
    // Of the test's own environment, only what `passedOn` names.
    std::vector<std::string> environment() const
    {
        std::vector<std::string> variables = {"PATH=" + bin, "HOME=" + dir.path().string()};
        for (const std::string& name : passedOn)
            if (const char* value = std::getenv(name.c_str()))
                variables.push_back(name + "=" + value);
        return variables;
    }
    ProgramResult webhop(const std::vector<std::string>& arguments, const std::string& program = WEBHOP_BINARY)
    {
        return runProgram(program, arguments, environment(), dir.path());
    }
    TempDir dir{"webhop"};
    const std::string bin = dir / "bin", log = bin + "/xdg-open.log";
    std::vector<std::string> passedOn = {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"};
    const std::string logsArguments = "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$0.log\"\n";
};

TEST_F(WebhopProgram, HandsTheAddressToTheOpenerAsOneArgumentWithNoShell)
{
    installOpener(logsArguments);
    // Read by a shell, any piece of it would make the file.
    const std::string made = dir / "made", touch = "touch${IFS}" + made;
    const std::string shellSyntax =
        "https://example.org/x;" + touch + "|" + touch + "$(" + touch + ")`" + touch + "`'\"";
    EXPECT_EQ(webhop({"https://example.org/f", "2000", "AB123"}).exitStatus, 0);
    const ProgramResult result = webhop({shellSyntax});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.standardError, "");
    EXPECT_EQ(fileText(log), "https://example.org/f?loc=forum&pc=2000&rn=AB123\n" + shellSyntax + "\n");
    EXPECT_FALSE(std::filesystem::exists(made));
}

TEST_F(WebhopProgram, NoAddressShowsTheOperatingInstructionsAndOpensNothing)
{
    installOpener(logsArguments);
    for (const auto& arguments : {std::vector<std::string>{}, {"   "}}) {
        const ProgramResult result = webhop(arguments);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.standardError.find("Webhop - Operating instructions\n"), 0u) << result.standardError;
        EXPECT_THAT(result.standardError, HasSubstr("  WEBHOP WebPage [(ZELTOPostCode) (ZELTORegoNumber)]\n"));
    }
    EXPECT_FALSE(std::filesystem::exists(log));
}

// xdg-open starts the browser in the background and returns: the browser
// must not keep the host waiting on the pipe it reads webhop's output from.
TEST_F(WebhopProgram, HostReadingThroughAPipeSeesTheEndWhenWebhopEnds)
{
    installOpener(logsArguments + "/bin/sleep 30 &\necho $! > \"$0.pid\"\n");
    int output = -1;
    const pid_t child = startProgramOnPipe(WEBHOP_BINARY, {"https://example.org/f"}, environment(), output);
    std::string text;
    const bool ended = readsToEndWithin(output, std::chrono::seconds(10), text);
    close(output);
    EXPECT_EQ(exitStatusOf(child), 0) << text;
    const std::string browser = fileText(bin + "/xdg-open.pid");
    ASSERT_FALSE(browser.empty());
    EXPECT_EQ(kill(std::stoi(browser), SIGTERM), 0) << "the browser should still have run";
    EXPECT_TRUE(ended) << "the pipe stayed open after webhop ended";
    EXPECT_EQ(text, "");
}

// A host may leave webhop signals blocked or ignored, SIGCHLD among them.
// awk touches no signal: what it reads of itself is what it was started with.
TEST_F(WebhopProgram, OpenerStartsWithDefaultSignalsAndItsFailureIsSeenWhateverTheHostLeft)
{
    const std::string signals = dir / "signals";
    installOpener("#!/usr/bin/awk -f\nBEGIN { while ((getline line < \"/proc/self/status\") > 0)\n"
                  "  if (split(line, field, \"\\t\") && field[1] ~ /^Sig(Blk|Ign):/) print field[2] > \"" +
                  signals + "\"\n  exit 3 }\n");
    const ProgramResult result = webhop({"--ignore-signal=TERM,INT,CHLD", "--block-signal=TERM,USR1,CHLD",
                                         WEBHOP_BINARY, "http://f/"}, "/usr/bin/env");
    std::istringstream state(fileText(signals));
    unsigned long long blocked = 1, ignored = 1;
    state >> std::hex >> blocked >> ignored;
    EXPECT_EQ(blocked, 0u) << std::hex << blocked;
    // 32 and 33 are the C library's own: its spawn leaves them ignored in every child.
    EXPECT_EQ(ignored & ~(3ull << 31), 0u) << std::hex << ignored;
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_THAT(result.standardError, HasSubstr("webhop: opening http://f/: The desktop could not open http://f/ (" +
                                                bin + "/xdg-open ended with exit status 3) (error 440)\n"));
}

class WebhopOnADesktop : public WebhopProgram {
protected:
    void SetUp() override
    {
        passedOn.push_back("DISPLAY");
        ASSERT_TRUE(std::getenv("DISPLAY") && x.get()) << "run under tests/support/with_xvfb.sh --wm";
    }
    XTestDisplay x;
};

TEST_F(WebhopOnADesktop, LoginWindowComesForwardMaximisedWithTheFocus)
{
    installOpener(logsArguments);
    const Window login = x.createTitledWindow("Corvanta Support Login - Microsoft Internet Explorer");
    for (const Window window : {login, x.createTitledWindow("Host system")}) {
        x.map(window);
        ASSERT_TRUE(XTestDisplay::eventually([&] { return x.activeWindow() == window; }));
    }
    const ProgramResult result = webhop({"https://example.org/f", "2000", "AB123"});
    EXPECT_EQ(result.exitStatus, 0) << result.standardError;
    EXPECT_TRUE(XTestDisplay::eventually(
        [&] { return x.activeWindow() == login && x.isMaximised(login) && x.inputFocus() == login; }));
}

// No opener on PATH: the browser object cannot be created. The box comes to
// the front and is closed as a person would; killed for want of one, webhop
// would not end with 1.
TEST_F(WebhopOnADesktop, RunTimeErrorShowsItsBoxAndWritesItsLine)
{
    const pid_t webhop = startProgram(WEBHOP_BINARY, {"https://example.org/f"}, environment(), dir.path());
    Window box = None;
    if (XTestDisplay::eventually([&] { return x.fetchName(box = x.activeWindow()) == "Webhop"; })) {
        XEvent close{};
        close.xclient = {ClientMessage, 0, False, x.get(), box, x.atom("WM_PROTOCOLS"), 32, {}};
        close.xclient.data.l[0] = static_cast<long>(x.atom("WM_DELETE_WINDOW"));
        XSendEvent(x.get(), box, False, NoEventMask, &close);
        XSync(x.get(), False);
    } else {
        kill(webhop, SIGKILL);
    }
    const ProgramResult result = finishProgram(webhop, dir.path());
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_THAT(result.standardError, HasSubstr("webhop: opening https://example.org/f: Cannot create the browser "
                                                "object: xdg-open was not found on PATH (error 429)\n"));
}

}  // namespace
}  // namespace zlt::testing
