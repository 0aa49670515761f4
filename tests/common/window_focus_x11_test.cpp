// The helper with the real X11 backend against real windows on a private X
// server (tests/support/with_xvfb.sh), with and without a window manager.
#include <gtest/gtest.h>
#include <signal.h>

#include "common/window_focus.h"
#include "platform/x11/x11_window_system.h"
#include "platform/posix/executable_search.h"
#include "tests/common/x_test_display.h"
#include "tests/support/program_run.h"

namespace zlt {
namespace {

using testing::XTestDisplay;

const std::string caption = "Corvanta Support Login - Microsoft Internet Explorer";

// Titles as the lookup must read them: which property, which encoding, only the whole
// title. No two cases share a title, so a case that must miss finds no window at all.
struct TitleCase {
    const char* name;
    std::optional<std::string> wmName, netWmName;
    std::string lookup;
    bool found;
} const titleCases[] = {
    {"legacy Latin-1 name read as UTF-8", std::string("Caf\xE9 login"), std::nullopt, "Caf\xC3\xA9 login", true},
    {"UTF-8 name preferred", "Plain title", "Wide \xC3\x9C title", "Wide \xC3\x9C title", true},
    {"legacy name ignored beside UTF-8 name", "Old title", "New title", "Old title", false},
    {"no title at all matches nothing", std::nullopt, std::nullopt, "", false},
    {"case matters", "Login Page", "Login Page", "login page", false},
    {"longer title", "Login form 2", "Login form 2", "Login form", false},
    {"shorter title", "Login des", "Login des", "Login desk", false},
};

// `managed`: whether openbox must be running (with_xvfb.sh --wm). The
// test's windows go with its connection `x`.
template <bool managed>
class XWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x.get() && managerRuns() == managed) << "run as tests/common/CMakeLists.txt does";
        windows = makeWindowSystem();
    }
    // Maps the window and, under a manager, waits until it has taken it on.
    Window show(Window window)
    {
        x.map(window);
        EXPECT_TRUE(!managed || XTestDisplay::eventually([&] {
            return x.isManaged(window) && x.attributes(window).map_state == IsViewable;
        }));
        return window;
    }
    bool managerRuns() const { return !x.longProperty(x.root(), "_NET_SUPPORTING_WM_CHECK").empty(); }
    bool fillsTheScreen(Window window) const
    {
        const XWindowAttributes a = x.attributes(window);
        return a.x == 0 && a.y == 0 && a.width == DisplayWidth(x.get(), 0) && a.height == DisplayHeight(x.get(), 0);
    }
    // The window list comes from the manager in one fixture and from the window tree in the other.
    void checkTitleCases()
    {
        for (const TitleCase& c : titleCases) {
            SCOPED_TRACE(c.name);
            const Window window = show(x.createWindow(c.wmName, c.netWmName));
            EXPECT_EQ(windows->findTopLevelWindow(c.lookup), c.found ? WindowHandle{window} : WindowHandle{0});
        }
    }

    XTestDisplay x;
    std::unique_ptr<WindowSystem> windows;
};

using WithWindowManager = XWindowsTest<true>;

TEST_F(WithWindowManager, TitlesAreReadFromTheManagersClientList) { checkTitleCases(); }

TEST_F(WithWindowManager, ExactlyTitledWindowComesForwardMaximisedAndFocusedAlsoFromMinimised)
{
    const Window target = show(x.createTitledWindow(caption));
    // Another window active, so that the one under test starts in the background.
    const Window other = show(x.createTitledWindow("Host system"));
    ASSERT_TRUE(XTestDisplay::eventually([&] { return x.activeWindow() == other; }));
    // No X display: nothing done, no crash.
    const std::string display = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    const auto noDisplay = makeWindowSystem();
    focusWindow(*noDisplay, caption);
    setenv("DISPLAY", display.c_str(), 1);
    focusWindow(*windows, caption.substr(0, 15));  // no window has that title: nothing done
    // Nothing comes back to wait for: give a stray request time to act.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(x.activeWindow(), other);

    focusWindow(*windows, caption);
    EXPECT_TRUE(XTestDisplay::eventually(
        [&] { return x.activeWindow() == target && x.isMaximised(target) && x.inputFocus() == target; }));
    EXPECT_FALSE(x.isMaximised(other));

    XIconifyWindow(x.get(), target, DefaultScreen(x.get()));
    ASSERT_TRUE(XTestDisplay::eventually(
        [&] { return x.hasLong(target, "WM_STATE", IconicState) && x.activeWindow() != target; }));
    focusWindow(*windows, caption);
    EXPECT_TRUE(XTestDisplay::eventually(
        [&] { return x.hasLong(target, "WM_STATE", NormalState) && x.activeWindow() == target; }));
}

using WithoutWindowManager = XWindowsTest<false>;

TEST_F(WithoutWindowManager, TitlesAreReadFromTheWindowTree) { checkTitleCases(); }

TEST_F(WithoutWindowManager, HiddenWindowIsShownFillingTheScreenOnTopWithTheFocus)
{
    // Created first, so it lies below the other until raised.
    const Window target = x.createTitledWindow(caption);
    show(x.createTitledWindow("Host system"));
    focusWindow(*windows, caption);
    EXPECT_EQ(x.attributes(target).map_state, IsViewable);
    EXPECT_TRUE(fillsTheScreen(target));
    EXPECT_EQ(x.inputFocus(), target);
    int atX = 0, atY = 0;
    Window topmost = None;
    XTranslateCoordinates(x.get(), x.root(), x.root(), 100, 100, &atX, &atY, &topmost);
    EXPECT_EQ(topmost, target) << "on top where the other window is";
}

TEST_F(WithoutWindowManager, ClientBelowAFrameIsFoundByItsWmState)
{
    // What a reparenting manager without the freedesktop hints leaves behind:
    // an untitled frame with the application's window inside.
    const Window frame = x.createWindow(std::nullopt, std::nullopt);
    const Window client = x.createTitledWindow(caption);
    const long state[2] = {NormalState, None};
    XChangeProperty(x.get(), client, x.atom("WM_STATE"), x.atom("WM_STATE"), 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(state), 2);
    XReparentWindow(x.get(), client, frame, 0, 0);
    x.map(client);
    x.map(frame);
    EXPECT_EQ(windows->findTopLevelWindow(caption), client);
}

// A window manager that was killed leaves its hints and its last client
// list on the root; windows mapped after that are on no list.
using AfterTheWindowManagerDied = XWindowsTest<false>;

TEST_F(AfterTheWindowManagerDied, WindowMappedAfterwardsIsFoundAndActivated)
{
    const std::string program = posix::findExecutable("openbox", std::getenv("PATH"));
    ASSERT_FALSE(program.empty()) << "openbox is not installed";
    const testing::TempDir home("openbox-home");  // for its session files
    const pid_t openbox = testing::startProgram(
        program, {"--sm-disable"}, {"HOME=" + home.path().string(), std::string("DISPLAY=") + std::getenv("DISPLAY")},
        home.path());
    // No ASSERT before openbox is killed and reaped.
    EXPECT_TRUE(XTestDisplay::eventually([&] { return managerRuns(); })) << "openbox did not start";
    // openbox sets its hints before it takes on new windows, and a window
    // mapped that early may never be: a missed one is replaced after a second.
    Window earlier = None;
    for (int attempt = 0; attempt < 10 && !x.isManaged(earlier); ++attempt) {
        earlier = x.createTitledWindow("Host system");
        x.map(earlier);
        XTestDisplay::eventually([&] { return x.isManaged(earlier); }, std::chrono::seconds(1));
    }
    EXPECT_TRUE(x.isManaged(earlier)) << "openbox does not manage new windows";
    kill(openbox, SIGKILL);
    ASSERT_TRUE(posix::waitForChild(openbox, std::chrono::seconds(5)));
    // The server drops the dead manager's selection with its connection.
    ASSERT_TRUE(XTestDisplay::eventually([&] { return XGetSelectionOwner(x.get(), x.atom("WM_S0")) == None; }));
    ASSERT_TRUE(managerRuns() && x.isManaged(earlier)) << "the dead manager's hints should still be on the root";
    const Window target = show(x.createTitledWindow(caption));
    ASSERT_FALSE(x.isManaged(target)) << "a stale list, not a manager's";
    focusWindow(*windows, caption);
    // No manager is left to ask: the window is made to fill the screen itself.
    EXPECT_TRUE(fillsTheScreen(target));
    EXPECT_EQ(x.inputFocus(), target);
}

}  // namespace
}  // namespace zlt
