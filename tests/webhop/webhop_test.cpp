// Webhop's logic: which addresses are web pages and how the login values
// are encoded, against addresses written out by hand; what the desktop's
// opener is handed for each argument text, the login window brought
// forward, the run-time error box and line.
#include <gtest/gtest.h>
#include <sstream>

#include "platform/program_exit.h"
#include "engines/browser/opener_browser.h"
#include "platform/testing/recording_message_box.h"
#include "platform/testing/recording_opener.h"
#include "platform/testing/recording_window_system.h"
#include "webhop/web_address.h"
#include "webhop/run_webhop.h"

namespace zlt::webhop {
namespace {

using Log = std::vector<std::string>;
const std::string caption = "Corvanta Support Login - Microsoft Internet Explorer";

// opened "": refused, as the opener would hand it to a local program or file.
TEST(WebAddress, OnlyWebPagesAreOpenedAndAHostNameAloneIsHttp)
{
    const struct {
        std::string webPage, opened;
    } cases[] = {
        {"https://example.org/forum", "https://example.org/forum"}, {"ftp://example.org/pub", "ftp://example.org/pub"},
        {"HTTPS://Example.org/Forum", "HTTPS://Example.org/Forum"}, {"10.0.0.5/forum", "http://10.0.0.5/forum"},
        {"www.example.org:8080/forum", "http://www.example.org:8080/forum"}, {"localhost:8080", "http://localhost:8080"},
        {"shop.example:81?a=1", "http://shop.example:81?a=1"}, {"shop.example:81#top", "http://shop.example:81#top"},
        {"[::1]:8080/forum", "http://[::1]:8080/forum"},
        {"example.org/a\nb\rc\x01" "d\x7f\te f", "http://example.org/a%0Ab%0Dc%01d%7F%09e%20f"},
        {"https://example.org/r\xE9" "p?q=\xFF", "https://example.org/r%E9p?q=%FF"},
        {"example.org/!$&'()*+,;=:@~%41\"<>", "http://example.org/!$&'()*+,;=:@~%41\"<>"},
        {"file:///etc/passwd", ""}, {"FILE:///etc/passwd", ""}, {"javascript:alert(1)", ""}, {"ssh://host", ""},
        {"mailto:support@example.org", ""}, {"C:\\ZLT\\REPORT.HTM", ""}, {"c:/zlt/report.htm", ""},
        {"/etc/passwd", ""}, {"./launch.desktop", ""}, {"~/x", ""}, {"-h", ""}, {"host.example:8080x", ""}, {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.webPage);
        try {
            EXPECT_EQ(webPageAddress(c.webPage), c.opened);
        } catch (const RunTimeError& error) {
            EXPECT_EQ(c.opened, "") << error.what();
            EXPECT_EQ(error.number(), error_number::InvalidProcedureCall);
        }
    }
}

// Only what would end the value, start another field, read as an escape or
// a blank, or is no URL character, becomes %XX.
TEST(WebAddress, ALoginValueIsEncodedOnlyWhereItWouldChangeTheQuery)
{
    const std::pair<std::string, std::string> cases[] = {
        {" !\"#$%&'()*+,-./0123456789:;<=>?@", "%20!\"%23$%25%26'()*%2B,-./0123456789:;<%3D>%3F@"},
        {"ABCXYZ[\\]^_`abcxyz{|}~", "ABCXYZ[\\]^_`abcxyz{|}~"},
        {std::string("\0\x01\t\n\r\x1F\x7F", 7), "%00%01%09%0A%0D%1F%7F"},
        {"K\xC3\xB6ln \x80\xFF", "K%C3%B6ln%20%80%FF"},
        {"", ""},
    };
    for (const auto& [value, encoded] : cases)
        EXPECT_EQ(percentEncoded(value), encoded) << value;
}

// The page, or the login with its values encoded, goes to the opener, and
// the login window is brought forward whatever page was opened: only the
// login page has the caption. A failure is one box and one line; no opener
// is reported whatever the address, as the browser comes first.
TEST(WebPageLoader, OpensThePageOrTheLoginOrSaysWhyNot)
{
    const std::string login = "https://example.org/f?loc=forum&pc=2000&rn=";
    const std::string refused = "Not a web address: only http, https and ftp pages are opened, not \"file:\"";
    const struct {
        std::string argumentText, opened;
        std::string failure = "";  // "<number>:<description>" of the box and the line
        bool hasOpener = true, openerFails = false;
    } cases[] = {
        {"https://example.org/f", "https://example.org/f"},
        {"  https://example.org/f 2000 AB123", login + "AB123"},
        {"https://example.org/f 2000 ", login}, {"https://example.org/f 2000  AB123", login},
        {"https://example.org/f  2000 AB123", "https://example.org/f"},  // an empty postcode: no login
        {"https://example.org/f 2000 AB123 extra more", login + "AB123"},
        {"https://example.org/f?l=en 2000 AB", "https://example.org/f?l=en?loc=forum&pc=2000&rn=AB"},
        {"www.example.org/f K\xC3\xB6ln\t4 A&B", "http://www.example.org/f?loc=forum&pc=K%C3%B6ln%094&rn=A%26B"},
        {"file:///x 2000", "", "429:Cannot create the browser object: xdg-open was not found on PATH", false},
        {"file:///x 2000 AB123", "", "5:" + refused},
        {"https://example.org/f", "https://example.org/f", "440:Not opened", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argumentText);
        Log windowCalls;
        zlt::testing::RecordingMessageBox messages;
        zlt::testing::RecordingOpener opener;
        zlt::testing::RecordingWindowSystem windows{windowCalls};
        std::ostringstream errors;
        windows.windows = {{caption, 77}, {"Host system", 5}};
        if (c.openerFails)
            opener.failure = RunTimeError(error_number::AutomationError, "Not opened");
        WebhopPlatform platform{messages, [&] { return makeOpenerBrowser(c.hasOpener ? &opener : nullptr); }, windows,
                                &errors};
        EXPECT_EQ(runWebhop(c.argumentText, platform), c.failure.empty() ? exit_status::Done : exit_status::Failed);
        EXPECT_EQ(opener.opened, c.opened.empty() ? Log{} : Log{c.opened});
        if (c.failure.empty()) {
            EXPECT_EQ(windowCalls, (Log{"find " + caption, "foreground 77", "maximise 77", "focus 77"}));
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_EQ(errors.str(), "");
            continue;
        }
        const std::string number = c.failure.substr(0, c.failure.find(':')), description = c.failure.substr(number.size() + 1);
        EXPECT_TRUE(windowCalls.empty());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].title, "Webhop");
        EXPECT_EQ(messages.shown[0].text, "Run-time error '" + number + "':\n\n" + description);
        const std::string page = c.argumentText.substr(0, c.argumentText.find(' '));
        EXPECT_EQ(errors.str(), "webhop: opening " + page + ": " + description + " (error " + number + ")\n");
    }
}

}  // namespace
}  // namespace zlt::webhop
