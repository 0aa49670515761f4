// The webhop program on an X desktop (tests/support/with_xvfb.sh --wm): the
// login window it brings forward, maximised and focused, and the error box
// a person sees.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/common/x_test_display.h"
#include "tests/webhop/opener_sandbox.h"
#include "tests/webhop/program_run.h"

namespace zlt {
namespace {

using testing::XTestDisplay;

const std::string caption = "Corvanta Support Login - Microsoft Internet Explorer";

class WebhopOnADesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        ASSERT_TRUE(display && x.get()) << "run under tests/support/with_xvfb.sh --wm";
        displayVariable = std::string("DISPLAY=") + display;
    }
    void TearDown() override
    {
        for (const Window window : created)
            XDestroyWindow(x.get(), window);
        if (x.get())
            XSync(x.get(), False);
    }

    Window showTitled(const std::string& title)
    {
        const Window window = x.createTitledWindow(title);
        created.push_back(window);
        x.map(window);
        EXPECT_TRUE(XTestDisplay::eventually([&] { return x.isManaged(window); }));
        EXPECT_TRUE(XTestDisplay::eventually([&] { return x.activeWindow() == window; }));
        return window;
    }

    // The top-level window with this title, once it is shown.
    Window waitForWindow(const std::string& title)
    {
        Window found = None;
        XTestDisplay::eventually([&] {
            for (const unsigned long window : x.longProperty(x.root(), "_NET_CLIENT_LIST")) {
                if (x.fetchName(window) == title) {
                    found = window;
                    return true;
                }
            }
            return false;
        });
        return found;
    }

    void closeWindow(Window window)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = x.atom("WM_PROTOCOLS");
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(x.atom("WM_DELETE_WINDOW"));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(x.get(), window, False, NoEventMask, &event);
        XSync(x.get(), False);
    }

    XTestDisplay x;
    std::vector<Window> created;
    std::string displayVariable;
    testing::OpenerSandbox sandbox;
};

TEST_F(WebhopOnADesktop, LoginWindowComesForwardMaximised)
{
    sandbox.installOpener("exit 0");
    const Window login = showTitled(caption);
    showTitled("Host system");

    const auto result = testing::runProgram(WEBHOP_BINARY, {"https://example.org/forum", "2000", "AB123"},
                                            sandbox.environment({displayVariable}), sandbox.dir());

    EXPECT_EQ(result.exitStatus, 0) << result.standardError;
    EXPECT_EQ(testing::fileText(sandbox.openerLog()), "https://example.org/forum?loc=forum&pc=2000&rn=AB123\n");
    EXPECT_TRUE(XTestDisplay::eventually([&] { return x.activeWindow() == login && x.isMaximised(login); }));
    EXPECT_TRUE(XTestDisplay::eventually([&] { return x.inputFocus() == login; }));
}

TEST_F(WebhopOnADesktop, ErrorIsShownInABoxAndOnStandardError)
{
    // No opener in the sandbox: the browser object cannot be created.
    const pid_t webhop = testing::startProgram(WEBHOP_BINARY, {"https://example.org/forum"},
                                               sandbox.environment({displayVariable}), sandbox.dir());

    const Window box = waitForWindow("Webhop");
    EXPECT_NE(box, static_cast<Window>(None)) << "no error box appeared";
    if (box != None)
        closeWindow(box);
    else
        kill(webhop, SIGKILL);
    const auto result = testing::finishProgram(webhop, sandbox.dir());

    // Killed for want of a box, it would end by the signal and not with 1.
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.standardError.find("webhop: run-time error 429: "), std::string::npos) << result.standardError;
}

}  // namespace
}  // namespace zlt
