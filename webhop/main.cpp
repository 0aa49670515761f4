// Webhop: opens a web page, or the support forum's login, in the desktop's
// browser. Wires the real backends to the main routine.
#include <iostream>

#include "platform/backends.h"
#include "platform/command_line.h"
#include "webhop/web_page_loader.h"

int main(int argc, char** argv)
{
    const std::string argumentText = zlt::argumentText(argc, argv);
    const auto session = zlt::startDesktopSession(argc, argv);
    const auto messages = zlt::makeMessageBox(*session);
    const auto windows = zlt::makeWindowSystem();
    zlt::webhop::Platform platform{*messages, &zlt::createBrowser, *windows,
                                   // Without a display the box itself goes to standard error.
                                   session->hasDisplay() ? &std::cerr : nullptr};
    return zlt::webhop::runWebhop(argumentText, platform);
}
