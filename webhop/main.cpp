// Webhop: opens a web page, or the support forum's login, in the desktop's
// browser. Wires the real backends to the entry.
#include <iostream>

#include "platform/backends.h"
#include "platform/command_line.h"
#include "engines/browser/opener_browser.h"
#include "platform/program_exit.h"
#include "webhop/run_webhop.h"

extern char** environ;

int main(int argc, char** argv)
{
    using namespace zlt;
    return guardedMain("webhop", std::cerr, [&] {
        const Settings settings = settingsFromEnvironment(environ);
        static char programName[] = "webhop";
        const auto session = startDesktopSession(programName, settings);
        const auto messages = makeMessageBox(*session);
        const auto windows = makeWindowSystem();
        const auto opener = makeDesktopOpener(settings);
        // The error line goes out with or without a display: the host reads it
        // whether or not the box also lands on standard error.
        webhop::WebhopPlatform platform{*messages, [&] { return makeOpenerBrowser(opener.get()); }, *windows,
                                        &std::cerr};
        return webhop::runWebhop(argumentText(argc, argv), platform);
    });
}
