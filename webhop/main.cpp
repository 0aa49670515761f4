// Webhop: opens a web page, or the support forum's login, in the desktop's
// browser. Wires the real backends to the entry.
#include <iostream>

#include "engines/browser/opener_browser.h"
#include "platform/command_line.h"
#include "platform/posix/system_settings.h"
#include "platform/posix/xdg_opener.h"
#include "platform/program_exit.h"
#include "platform/qt/qt_desktop_session.h"
#include "platform/x11/x11_window_system.h"
#include "webhop/run_webhop.h"

extern char** environ;

int main(int argc, char** argv)
{
    using namespace zlt;
    constexpr const char* program = "webhop";
    return guardedMain(program, std::cerr, [&] {
        const Settings settings = readSystemSettings(program, environ);
        const CodePage codePage = CodePage::fromSetting(settings.codePage);
        const auto session = startDesktopSession(program, settings);
        const auto messages = makeMessageBox(*session);
        const auto windows = makeWindowSystem();
        const auto opener = makeDesktopOpener(settings);
        // The error line goes out with or without a display: the host reads it
        // whether or not the box also lands on standard error.
        webhop::WebhopPlatform platform{*messages, [&] { return makeOpenerBrowser(opener.get()); }, *windows,
                                        &std::cerr};
        return webhop::runWebhop(argumentText(argc, argv, codePage), platform);
    });
}
