// repview: prints a host report, prints the font test page, or (with no
// argument) opens the viewer window. Wires the real backends to the entry.
#include <iostream>

#include "platform/command_line.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/system_host.h"
#include "platform/program_exit.h"
#include "platform/qt/qt_common_dialog.h"
#include "platform/qt/qt_desktop_session.h"
#include "platform/qt/system_printer.h"
#include "repview/run_repview.h"

extern char** environ;

int main(int argc, char** argv)
{
    using namespace zlt;
    constexpr const char* program = "repview";
    return guardedMain(program, std::cerr, [&] {
        SystemHost host(program, environ);
        const auto session = startDesktopSession(program, host.settings);
        const auto clock = makeSystemClock();
        repview::RepviewPlatform platform{
            host.files,
            host.codePage,
            *session,
            [&] { return makeSystemPrinter(host.codePage, host.settings, *clock); },
            [&] { return makeSystemPrinterWithDialog(host.codePage, host.settings, *clock); },
            std::cerr,
        };
        return repview::runRepview(argumentText(argc, argv, host.codePage), platform);
    });
}
