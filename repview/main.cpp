// repview: prints a host report, prints the font test page, or (with no
// argument) opens the viewer window. Wires the real backends to the entry.
#include <iostream>

#include "platform/backends.h"
#include "platform/command_line.h"
#include "platform/program_exit.h"
#include "platform/system_host.h"
#include "repview/run_repview.h"

extern char** environ;

int main(int argc, char** argv)
{
    using namespace zlt;
    return guardedMain("repview", std::cerr, [&] {
        SystemHost host(environ);
        const Settings& settings = host.settings;
        const CodePage& codePage = host.codePage;
        HostFiles& files = host.files;
        static char programName[] = "repview";
        const auto session = startDesktopSession(programName, settings);
        repview::RepviewPlatform platform{
            files,
            codePage,
            *session,
            [&] { return makeSystemPrinter(codePage, settings); },
            [&] { return makeSystemPrinterWithDialog(codePage, settings); },
            std::cerr,
        };
        return repview::runRepview(argumentText(argc, argv), platform);
    });
}
