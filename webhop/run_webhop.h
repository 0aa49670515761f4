#pragma once
// Webhop's main routine: opens the page named on the command line, or the
// support forum's login, in the desktop's browser and brings the login
// window to the front.
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engines/browser/browser.h"
#include "platform/message_box.h"
#include "platform/window_system.h"

namespace zlt::webhop {

// What the routine needs of its platform.
struct WebhopPlatform {
    MessageBox& messages;
    std::function<std::unique_ptr<Browser>()> createBrowser;
    WindowSystem& windows;
    // Also told of a run-time error in the one line every program writes,
    // where a message box alone might go unseen (nullptr: the box is enough).
    std::ostream* errorLog = nullptr;
};

extern const char* const instructionsTitle;
extern const char* const instructionsText;
extern const char* const loginWindowCaption;

// The fields of the argument text, split at every single space.
std::vector<std::string> splitAtSpaces(const std::string& text);

// Runs Webhop on its argument text, UTF-8 (platform/command_line.h; blanks
// in front of it are skipped);
// returns the exit status (platform/program_exit.h): Done when it did its
// job (or had none), Failed after a run-time error report.
int runWebhop(const std::string& argumentText, WebhopPlatform& platform);

}  // namespace zlt::webhop
