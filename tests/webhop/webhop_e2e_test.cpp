// The webhop program as the host runs it: its command line as argv, and a
// stand-in xdg-open alone on PATH. With no display boxes come out on
// standard error; WebhopOnADesktop runs under tests/support/with_xvfb.sh --wm.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>
#include <sstream>

#include "tests/common/x_test_display.h"
#include "tests/support/program_run.h"

namespace zlt::testing {
namespace {

using ::testing::HasSubstr;

class WebhopProgram : public ::testing::Test {
protected:
    void installOpener(const std::string& script, std::filesystem::perms perms = std::filesystem::perms::owner_all)
    {
        std::filesystem::permissions(dir.write("bin/xdg-open", script), perms);
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

// Read by a shell, any piece of the address would make the file. This
// xdg-open stays with the browser it started: webhop must still end soon,
// leave it running and not let it hold the pipe the host reads webhop from.
TEST_F(WebhopProgram, HandsTheAddressOverAsOneArgumentAndLeavesTheOpenerRunning)
{
    installOpener(logsArguments + "echo $$ > \"$0.pid\"\nexec /bin/sleep 30\n");
    const std::string made = dir / "made", touch = "touch${IFS}" + made;
    const std::string address = "https://example.org/x;" + touch + "|" + touch + "$(" + touch + ")`" + touch + "`'\"";
    int output = -1;
    const pid_t child = startProgramOnPipe(WEBHOP_BINARY, {address, "2000", "AB123"}, environment(), output);
    std::string text;
    EXPECT_TRUE(readsToEndWithin(output, std::chrono::seconds(15), text)) << "the pipe stayed open";
    close(output);
    EXPECT_EQ(exitStatusOf(child), 0);
    EXPECT_EQ(text, "");
    EXPECT_EQ(fileText(log), address + "?loc=forum&pc=2000&rn=AB123\n");
    EXPECT_FALSE(std::filesystem::exists(made));
    const std::string opener = fileText(bin + "/xdg-open.pid");
    ASSERT_FALSE(opener.empty());
    EXPECT_EQ(kill(std::stoi(opener), SIGTERM), 0) << "the opener should still run";
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

// A host may leave webhop signals blocked or ignored, SIGCHLD among them: a
// failing opener must still be seen. awk touches no signal: what it reads of
// itself is what it was started with.
TEST_F(WebhopProgram, FailingOpenerIsReportedAndStartsWithDefaultSignalsWhateverTheHostLeft)
{
    const std::string signals = dir / "signals", failed = "The desktop could not open http://f/ (" + bin + "/xdg-open ended with ";
    const struct {
        std::string opener;
        std::filesystem::perms perms;
        std::string said;
    } cases[] = {
        {"#!/usr/bin/awk -f\nBEGIN { while ((getline line < \"/proc/self/status\") > 0)\n"
         "  if (split(line, field, \"\\t\") && field[1] ~ /^Sig(Blk|Ign):/) print field[2] > \"" + signals +
             "\"\n  exit 3 }\n",
         std::filesystem::perms::owner_all, failed + "exit status 3) (error 440)"},
        {logsArguments + "kill -KILL $$\n", std::filesystem::perms::owner_all, failed + "signal 9) (error 440)"},
        {logsArguments, std::filesystem::perms::owner_read,
         "Cannot create the browser object: xdg-open was not found on PATH (error 429)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        installOpener(c.opener, c.perms);
        const ProgramResult result = webhop({"--ignore-signal=TERM,INT,CHLD", "--block-signal=TERM,USR1,CHLD",
                                             WEBHOP_BINARY, "http://f/"}, "/usr/bin/env");
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_THAT(result.standardError, HasSubstr("webhop: opening http://f/: " + c.said + "\n"));
    }
    std::istringstream state(fileText(signals));
    unsigned long long blocked = 1, ignored = 1;
    state >> std::hex >> blocked >> ignored;
    EXPECT_EQ(blocked, 0u) << std::hex << blocked;
    // 32 and 33 are the C library's own: its spawn leaves them ignored in every child.
    EXPECT_EQ(ignored & ~(3ull << 31), 0u) << std::hex << ignored;
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

// No opener on PATH: no browser. The box comes to the front and is closed as
// a person would; killed for want of one, webhop would not end with 1.
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
