// The helper with the real X11 backend against real windows on a private X
// server (tests/support/with_xvfb.sh), with and without a window manager.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/window_focus.h"
#include "platform/backends.h"
#include "platform/posix/child_process.h"
#include "platform/posix/executable_search.h"
#include "tests/common/x_test_display.h"
#include "tests/support/temp_dir.h"

namespace zlt {
namespace {

using testing::XTestDisplay;

const std::string caption = "Corvanta Support Login - Microsoft Internet Explorer";

// Time for a window manager to act on a request it got, where nothing comes
// back to wait for.
void settle()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

class XWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(x.get(), nullptr) << "needs an X display: run under tests/support/with_xvfb.sh";
        windows = makeWindowSystem();
    }
    void TearDown() override
    {
        if (!x.get())
            return;
        // Newest first: a window reparented into an older one goes before it.
        for (auto window = created.rbegin(); window != created.rend(); ++window)
            XDestroyWindow(x.get(), *window);
        XSync(x.get(), False);
    }

    Window create(const std::optional<std::string>& wmName, const std::optional<std::string>& netWmName)
    {
        const Window window = x.createWindow(wmName, netWmName);
        created.push_back(window);
        return window;
    }
    Window createTitled(const std::string& title) { return create(title, title); }

    bool windowManagerRuns() const { return !x.longProperty(x.root(), "_NET_SUPPORTING_WM_CHECK").empty(); }

    XTestDisplay x;
    std::unique_ptr<WindowSystem> windows;
    std::vector<Window> created;
};

// Titles as the lookup must read them: which property counts and how its
// bytes are decoded. Run under both fixtures, since the window list comes
// from the manager in one and from the window tree in the other.
// No two cases' windows carry the same title, so a lookup that must miss
// its own window finds no window at all.
struct TitleCase {
    const char* name;
    std::optional<std::string> wmName;
    std::optional<std::string> netWmName;
    std::string lookup;
    bool found;
};

const TitleCase titleCases[] = {
    {"both properties", "Login page", "Login page", "Login page", true},
    {"legacy Latin-1 name read as UTF-8", std::string("Caf\xE9 login"), std::nullopt, "Caf\xC3\xA9 login", true},
    {"UTF-8 name preferred", "Plain title", "Wide \xC3\x9C title", "Wide \xC3\x9C title", true},
    {"legacy name ignored beside UTF-8 name", "Old title", "New title", "Old title", false},
    {"no title at all matches nothing", std::nullopt, std::nullopt, "", false},
    {"case matters", "Login Page", "Login Page", "login page", false},
    {"longer title", "Login form 2", "Login form 2", "Login form", false},
    {"trailing blank", "Login sheet ", "Login sheet ", "Login sheet", false},
    {"leading blank", " Login box", " Login box", "Login box", false},
    {"shorter title", "Login des", "Login des", "Login desk", false},
};

void checkTitleCases(const std::function<Window(const TitleCase&)>& show, WindowSystem& windows)
{
    for (const TitleCase& c : titleCases) {
        SCOPED_TRACE(c.name);
        const Window window = show(c);
        const WindowHandle found = windows.findTopLevelWindow(c.lookup);
        EXPECT_EQ(found, c.found ? static_cast<WindowHandle>(window) : WindowHandle{0});
    }
}

class WithWindowManager : public XWindowsTest {
protected:
    void SetUp() override
    {
        XWindowsTest::SetUp();
        ASSERT_TRUE(windowManagerRuns()) << "run under tests/support/with_xvfb.sh --wm";
    }

    // Maps the window and waits until the manager has taken it on.
    void show(Window window)
    {
        x.map(window);
        ASSERT_TRUE(XTestDisplay::eventually([&] { return x.isManaged(window); }));
        ASSERT_TRUE(XTestDisplay::eventually([&] { return x.attributes(window).map_state == IsViewable; }));
    }
    Window showTitled(const std::string& title)
    {
        const Window window = createTitled(title);
        show(window);
        return window;
    }
    // Maps another window and waits until it is active, so that the one
    // under test starts in the background.
    Window showActiveWindow(const std::string& title)
    {
        const Window window = showTitled(title);
        EXPECT_TRUE(XTestDisplay::eventually([&] { return x.activeWindow() == window; }));
        return window;
    }
};

TEST_F(WithWindowManager, ExactlyTitledWindowBecomesActiveMaximisedAndFocused)
{
    const Window target = showTitled(caption);
    const Window other = showActiveWindow("Host system");
    ASSERT_FALSE(x.isMaximised(target));

    focusWindow(*windows, caption);

    EXPECT_TRUE(XTestDisplay::eventually([&] { return x.activeWindow() == target; }));
    EXPECT_TRUE(XTestDisplay::eventually([&] { return x.isMaximised(target); }));
    EXPECT_TRUE(XTestDisplay::eventually([&] { return x.inputFocus() == target; }));
    EXPECT_FALSE(x.isMaximised(other));
}

TEST_F(WithWindowManager, MinimisedWindowIsRestoredMaximisedAndActive)
{
    const Window target = showTitled(caption);
    showActiveWindow("Host system");
    XIconifyWindow(x.get(), target, DefaultScreen(x.get()));
    XSync(x.get(), False);
    ASSERT_TRUE(XTestDisplay::eventually([&] { return x.wmState(target) == IconicState; }));

    focusWindow(*windows, caption);

    EXPECT_TRUE(XTestDisplay::eventually([&] { return x.wmState(target) == NormalState; }));
    EXPECT_TRUE(XTestDisplay::eventually([&] { return x.attributes(target).map_state == IsViewable; }));
    EXPECT_TRUE(XTestDisplay::eventually([&] { return x.activeWindow() == target; }));
    EXPECT_TRUE(XTestDisplay::eventually([&] { return x.isMaximised(target); }));
}

TEST_F(WithWindowManager, WithoutAnXDisplayNothingHappens)
{
    const Window target = showTitled(caption);
    const Window active = showActiveWindow("Host system");
    const std::string display = std::getenv("DISPLAY");

    unsetenv("DISPLAY");
    const auto noDisplay = makeWindowSystem();
    const WindowHandle found = noDisplay->findTopLevelWindow(caption);
    focusWindow(*noDisplay, caption);
    setenv("DISPLAY", display.c_str(), 1);

    EXPECT_EQ(found, 0u);
    settle();
    EXPECT_EQ(x.activeWindow(), active);
    EXPECT_FALSE(x.isMaximised(target));
}

TEST_F(WithWindowManager, TitlesAreReadFromTheManagersClientList)
{
    checkTitleCases(
        [&](const TitleCase& c) {
            const Window window = create(c.wmName, c.netWmName);
            show(window);
            return window;
        },
        *windows);
}

class WithoutWindowManager : public XWindowsTest {
protected:
    void SetUp() override
    {
        XWindowsTest::SetUp();
        ASSERT_FALSE(windowManagerRuns()) << "run under tests/support/with_xvfb.sh without --wm";
    }
    Window showTitled(const std::string& title)
    {
        const Window window = createTitled(title);
        x.map(window);
        return window;
    }
    std::vector<Window> stackingOrder() const { return x.rootChildren(); }
};

TEST_F(WithoutWindowManager, HiddenExactlyTitledWindowIsShownFillingTheScreenOnTopWithTheFocus)
{
    const Window decoy = showTitled(caption + " 2");
    const Window target = createTitled(caption);
    ASSERT_EQ(x.attributes(target).map_state, IsUnmapped);
    focusWindow(*windows, caption.substr(0, caption.size() - 1));
    EXPECT_EQ(x.attributes(target).map_state, IsUnmapped) << "a shorter title must match nothing";

    focusWindow(*windows, caption);

    const XWindowAttributes shown = x.attributes(target);
    EXPECT_EQ(shown.map_state, IsViewable);
    EXPECT_EQ(shown.x, 0);
    EXPECT_EQ(shown.y, 0);
    EXPECT_EQ(shown.width, x.screenWidth());
    EXPECT_EQ(shown.height, x.screenHeight());
    EXPECT_EQ(x.inputFocus(), target);
    const auto order = stackingOrder();
    EXPECT_GT(std::find(order.begin(), order.end(), target), std::find(order.begin(), order.end(), decoy));
    EXPECT_EQ(x.attributes(decoy).width, 300);
}

TEST_F(WithoutWindowManager, ClientBelowAFrameIsFoundByItsWmState)
{
    // What a reparenting manager without the freedesktop hints leaves behind:
    // an untitled frame with the application's window inside.
    const Window frame = create(std::nullopt, std::nullopt);
    const Window client = createTitled(caption);
    const Atom wmState = x.atom("WM_STATE");
    const long state[2] = {NormalState, None};
    XChangeProperty(x.get(), client, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(state), 2);
    XReparentWindow(x.get(), client, frame, 0, 0);
    x.map(client);
    x.map(frame);

    EXPECT_EQ(windows->findTopLevelWindow(caption), client);
}

TEST_F(WithoutWindowManager, TitlesAreReadFromTheWindowTree)
{
    checkTitleCases(
        [&](const TitleCase& c) {
            const Window window = create(c.wmName, c.netWmName);
            x.map(window);
            return window;
        },
        *windows);
}

// A window manager that was killed leaves its hints and its last client
// list on the root; windows mapped after that are on no list.
class AfterTheWindowManagerDied : public XWindowsTest {
protected:
    void SetUp() override
    {
        XWindowsTest::SetUp();
        ASSERT_FALSE(windowManagerRuns()) << "run under tests/support/with_xvfb.sh without --wm";
        startOpenbox();
        ASSERT_TRUE(XTestDisplay::eventually([&] { return windowManagerRuns(); })) << "openbox did not start";
        ASSERT_TRUE(x.managerTakesNewWindows()) << "openbox does not manage new windows";
    }
    void TearDown() override
    {
        killOpenbox();
        XWindowsTest::TearDown();
    }

    void killOpenbox()
    {
        if (openbox <= 0)
            return;
        kill(openbox, SIGKILL);
        while (waitpid(openbox, nullptr, 0) < 0 && errno == EINTR) {
        }
        openbox = 0;
    }

    pid_t openbox = 0;
    std::unique_ptr<testing::TempDir> home;

private:
    void startOpenbox()
    {
        home = std::make_unique<testing::TempDir>("openbox-home");
        // Its session files go to a home of its own.
        std::vector<std::string> variables = {"HOME=" + home->path().string(), "XDG_CONFIG_HOME=" + (*home / "config"),
                                              "XDG_CACHE_HOME=" + (*home / "cache"),
                                              std::string("DISPLAY=") + std::getenv("DISPLAY"),
                                              std::string("PATH=") + (std::getenv("PATH") ? std::getenv("PATH") : "")};
        const std::string program = posix::findExecutable("openbox", std::getenv("PATH") ? std::getenv("PATH") : "");
        ASSERT_FALSE(program.empty()) << "openbox is not installed";
        posix::SpawnOptions options;
        options.environment = variables;
        openbox = posix::spawnProgram(program, {"--sm-disable"}, options);
    }
};

TEST_F(AfterTheWindowManagerDied, WindowMappedAfterwardsIsFoundAndActivated)
{
    const Window earlier = createTitled("Host system");
    x.map(earlier);
    ASSERT_TRUE(XTestDisplay::eventually([&] { return x.isManaged(earlier); }));
    const auto hint = x.longProperty(x.root(), "_NET_SUPPORTING_WM_CHECK");
    ASSERT_FALSE(hint.empty());
    const Window check = hint.front();

    killOpenbox();
    // The server takes the manager's check window away with its connection.
    ASSERT_TRUE(XTestDisplay::eventually([&] {
        const auto children = x.rootChildren();
        return std::find(children.begin(), children.end(), check) == children.end();
    }));
    ASSERT_TRUE(x.isManaged(earlier)) << "the dead manager's client list should still be on the root";

    const Window target = createTitled(caption);
    x.map(target);
    ASSERT_FALSE(x.isManaged(target));

    EXPECT_EQ(windows->findTopLevelWindow(caption), target);
    focusWindow(*windows, caption);

    // No manager is left to ask: the window is made to fill the screen itself.
    const XWindowAttributes shown = x.attributes(target);
    EXPECT_EQ(shown.width, x.screenWidth());
    EXPECT_EQ(shown.height, x.screenHeight());
    EXPECT_EQ(x.inputFocus(), target);
}

}  // namespace
}  // namespace zlt
