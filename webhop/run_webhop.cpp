#include "webhop/run_webhop.h"

#include "common/window_focus.h"
#include "platform/program_exit.h"
#include "platform/run_time_error.h"
#include "webhop/web_address.h"

namespace zlt::webhop {

const char* const instructionsTitle = "Webhop - Operating instructions";

const char* const instructionsText =
    "Internet Explorer - Web page loader\n"
    "\n"
    "Command line properties -\n"
    "\n"
    "          WEBHOP WebPage [(ZELTOPostCode) (ZELTORegoNumber)]\n"
    "   e.g. WEBHOP https://www.example.org/support\n"
    "\n"
    "Note: the fields inside the square brackets, are required\n"
    "           to automatically log into Corvanta support\n"
    "           forums, and are not required for loading up web\n"
    "           pages for any other purpose.\n"
    "\n";

// The title the browser shows on the forum's login page.
const char* const loginWindowCaption = "Corvanta Support Login - Microsoft Internet Explorer";

std::vector<std::string> splitAtSpaces(const std::string& text)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t space = text.find(' ', start);
        if (space == std::string::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, space - start));
        start = space + 1;
    }
}

int runWebhop(const std::string& argumentText, WebhopPlatform& platform)
{
    // The arguments start after the blanks that follow the program's name.
    const std::size_t firstNonBlank = argumentText.find_first_not_of(' ');
    const std::string arguments =
        firstNonBlank == std::string::npos ? std::string() : argumentText.substr(firstNonBlank);
    if (arguments.empty()) {
        platform.messages.show(instructionsTitle, instructionsText);
        return exit_status::Done;
    }
    // The first field is never empty: the text starts with something other
    // than a blank.
    const std::vector<std::string> fields = splitAtSpaces(arguments);
    const std::string& webPage = fields[0];
    const std::string postCode = fields.size() > 1 ? fields[1] : std::string();
    const std::string regoNumber = fields.size() > 2 ? fields[2] : std::string();

    try {
        // The browser comes first: without one nothing can be opened, whatever
        // the address.
        const auto browser = platform.createBrowser();
        const std::string page = webPageAddress(webPage);
        browser->navigate(postCode.empty() ? page : forumLoginAddress(page, postCode, regoNumber));
        browser->setVisible(true);
    } catch (const RunTimeError& error) {
        reportRunTimeError(platform.messages, platform.errorLog, "webhop", "Webhop", "opening " + webPage, error);
        return exit_status::Failed;
    }
    // Right away, whatever page was opened: only the login page carries the
    // caption, any other page stays where the browser put it.
    focusWindow(platform.windows, loginWindowCaption);
    return exit_status::Done;
}

}  // namespace zlt::webhop
