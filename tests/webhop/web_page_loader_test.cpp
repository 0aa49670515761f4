// Webhop's main routine with the recording doubles: the exact address
// navigated for each kind of command line, the order of the browser and
// window calls, the operating instructions and the error reports.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/testing/recording_browser.h"
#include "platform/testing/recording_message_box.h"
#include "platform/testing/recording_window_system.h"
#include "webhop/web_page_loader.h"

namespace zlt::webhop {
namespace {

const std::string caption = "Corvanta Support Login - Microsoft Internet Explorer";

struct WebhopRun {
    std::vector<std::string> log;
    zlt::testing::RecordingMessageBox messages;
    zlt::testing::RecordingBrowserFactory browsers{log};
    zlt::testing::RecordingWindowSystem windows{log};
    std::ostringstream errors;

    int operator()(const std::string& argumentText)
    {
        Platform platform{messages, [this] { return browsers.create(); }, windows, &errors};
        return runWebhop(argumentText, platform);
    }
};

// What reaches the browser for one argument text; every such run makes the
// browser visible and then looks for the login window.
struct NavigationCase {
    const char* name;
    std::string argumentText;
    std::string address;
};

const NavigationCase navigationCases[] = {
    {"address only, unchanged", "https://example.org/forum", "https://example.org/forum"},
    {"blanks in front skipped", "  https://example.org/forum", "https://example.org/forum"},
    {"blank in front of a login skipped", " https://example.org/forum 2000 AB123",
     "https://example.org/forum?loc=forum&pc=2000&rn=AB123"},
    {"address, postcode, registration number", "https://example.org/forum 2000 AB123",
     "https://example.org/forum?loc=forum&pc=2000&rn=AB123"},
    {"no registration number ends in rn=", "https://example.org/forum 2000",
     "https://example.org/forum?loc=forum&pc=2000&rn="},
    {"trailing space gives an empty registration number", "https://example.org/forum 2000 ",
     "https://example.org/forum?loc=forum&pc=2000&rn="},
    {"two spaces: empty postcode, no query", "https://example.org/forum  2000 AB123", "https://example.org/forum"},
    {"empty registration number between two spaces", "https://example.org/forum 2000  AB123",
     "https://example.org/forum?loc=forum&pc=2000&rn="},
    {"fourth and further fields ignored", "https://example.org/forum 2000 AB123 extra more",
     "https://example.org/forum?loc=forum&pc=2000&rn=AB123"},
    {"existing query still gets ?loc=", "https://example.org/forum?lang=en 2000 AB123",
     "https://example.org/forum?lang=en?loc=forum&pc=2000&rn=AB123"},
    {"no scheme opens as http", "www.example.org/forum", "http://www.example.org/forum"},
    {"no scheme with login query", "www.example.org/forum 2000 AB123",
     "http://www.example.org/forum?loc=forum&pc=2000&rn=AB123"},
    {"host with port is no scheme", "www.example.org:8080/forum", "http://www.example.org:8080/forum"},
    {"host with port and nothing after", "localhost:8080", "http://localhost:8080"},
    {"host with port and query", "shop.example:81?a=1", "http://shop.example:81?a=1"},
    {"IPv6 literal host", "[::1]:8080/forum", "http://[::1]:8080/forum"},
    {"numeric host", "10.0.0.5/forum", "http://10.0.0.5/forum"},
    {"scheme in capitals kept as written", "HTTPS://Example.org/Forum", "HTTPS://Example.org/Forum"},
    {"ftp address", "ftp://files.example.org/pub", "ftp://files.example.org/pub"},
    {"query characters in values encoded", "https://example.org/forum 20&00 A#B=C",
     "https://example.org/forum?loc=forum&pc=20%2600&rn=A%23B%3DC"},
    {"percent, plus and question mark encoded", "https://example.org/forum 5%+? x?y",
     "https://example.org/forum?loc=forum&pc=5%25%2B%3F&rn=x%3Fy"},
    {"non-ASCII and tab encoded, other characters kept", "https://example.org/forum K\xC3\xB6ln\tX a-b._~/:@",
     "https://example.org/forum?loc=forum&pc=K%C3%B6ln%09X&rn=a-b._~/:@"},
};

TEST(WebPageLoader, NavigatesToTheAddressThenShowsTheBrowserThenLooksForTheLoginWindow)
{
    for (const NavigationCase& c : navigationCases) {
        SCOPED_TRACE(c.name);
        WebhopRun run;
        EXPECT_EQ(run(c.argumentText), 0);
        EXPECT_EQ(run.log, (std::vector<std::string>{"create", "navigate " + c.address, "visible true",
                                                     "find " + caption}));
        EXPECT_TRUE(run.messages.shown.empty());
    }
}

TEST(WebPageLoader, LoginWindowIsBroughtForwardMaximisedAndFocused)
{
    WebhopRun run;
    run.windows.windows = {{caption, 77}, {"Host system", 5}};

    EXPECT_EQ(run("https://example.org/forum 2000 AB123"), 0);

    EXPECT_EQ(run.log, (std::vector<std::string>{"create", "navigate https://example.org/forum?loc=forum&pc=2000&rn=AB123",
                                                 "visible true", "find " + caption, "foreground 77", "maximise 77",
                                                 "focus 77"}));
}

TEST(WebPageLoader, EmptyCommandLineShowsOnlyTheOperatingInstructions)
{
    const std::vector<std::string> lines = {
        "Internet Explorer - Web page loader",
        "",
        "Command line properties -",
        "",
        "          WEBHOP WebPage [(ZELTOPostCode) (ZELTORegoNumber)]",
        "   e.g. WEBHOP https://www.example.org/support",
        "",
        "Note: the fields inside the square brackets, are required",
        "           to automatically log into Corvanta support",
        "           forums, and are not required for loading up web",
        "           pages for any other purpose.",
        "",
    };
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    // Blanks alone leave nothing once the blanks after the name are skipped.
    for (const std::string argumentText : {"", " ", "   "}) {
        SCOPED_TRACE("\"" + argumentText + "\"");
        WebhopRun run;
        EXPECT_EQ(run(argumentText), 0);
        ASSERT_EQ(run.messages.shown.size(), 1u);
        EXPECT_EQ(run.messages.shown[0].title, "Webhop - Operating instructions");
        EXPECT_EQ(run.messages.shown[0].text, text);
        EXPECT_TRUE(run.log.empty());
    }
}

// Addresses the desktop's opener would hand to a local program rather than
// a browser: refused once the browser exists, before anything is opened.
TEST(WebPageLoader, RefusesAddressesThatAreNoWebPages)
{
    const std::vector<std::string> refused = {
        "file:///etc/passwd",
        "FILE:///etc/passwd",
        "javascript:alert(1)",
        "mailto:support@example.org",
        "smb://server/share",
        "ssh://host",
        "C:\\ZLT\\REPORT.HTM",
        "c:/zlt/report.htm",
        "/etc/passwd",
        "./launch.desktop",
        "../x",
        "~/x",
        "-h",
        "--help",
        "host.example:8080x",
    };
    for (const auto& address : refused) {
        SCOPED_TRACE(address);
        WebhopRun run;
        EXPECT_EQ(run(address + " 2000 AB123"), 1);
        EXPECT_EQ(run.log, (std::vector<std::string>{"create"}));
        ASSERT_EQ(run.messages.shown.size(), 1u);
        EXPECT_EQ(run.messages.shown[0].title, "Webhop");
        EXPECT_EQ(run.messages.shown[0].text.rfind("Run-time error '5':\n\nNot a web address", 0), 0u)
            << run.messages.shown[0].text;
        EXPECT_EQ(run.errors.str().rfind("webhop: run-time error 5: Not a web address", 0), 0u) << run.errors.str();
    }
}

// Creating the browser is the first step that can fail, so its error is the
// one reported even for an address that would be refused.
TEST(WebPageLoader, BrowserThatCannotBeCreatedStopsTheProgramWithItsError)
{
    for (const std::string argumentText : {"https://example.org/forum 2000 AB123", "file:///etc/passwd 2000"}) {
        SCOPED_TRACE(argumentText);
        WebhopRun run;
        run.browsers.creationFailure = RunTimeError(429, "Cannot create the browser object");

        EXPECT_EQ(run(argumentText), 1);

        EXPECT_EQ(run.log, (std::vector<std::string>{"create"}));
        ASSERT_EQ(run.messages.shown.size(), 1u);
        EXPECT_EQ(run.messages.shown[0].title, "Webhop");
        EXPECT_EQ(run.messages.shown[0].text, "Run-time error '429':\n\nCannot create the browser object");
        EXPECT_EQ(run.errors.str(), "webhop: run-time error 429: Cannot create the browser object\n");
    }
}

TEST(WebPageLoader, FailedNavigationStopsBeforeShowingOrFocusing)
{
    WebhopRun run;
    run.browsers.navigateFailure = RunTimeError(440, "The browser could not open the page");
    run.windows.windows = {{caption, 77}};

    EXPECT_EQ(run("https://example.org/forum"), 1);

    EXPECT_EQ(run.log, (std::vector<std::string>{"create", "navigate https://example.org/forum"}));
    ASSERT_EQ(run.messages.shown.size(), 1u);
    EXPECT_EQ(run.messages.shown[0].text, "Run-time error '440':\n\nThe browser could not open the page");
}

TEST(WebPageLoader, SplitsAtEverySingleSpace)
{
    EXPECT_EQ(splitAtSpaces("a"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(splitAtSpaces("a  b "), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(splitAtSpaces(" "), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(splitAtSpaces("a\tb"), (std::vector<std::string>{"a\tb"}));
}

}  // namespace
}  // namespace zlt::webhop
