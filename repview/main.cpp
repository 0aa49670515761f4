// repview: prints a host report, prints the font test page, or (with no
// argument) opens the viewer window.
#include "platform/backends.h"
#include "platform/command_line.h"
#include "platform/drive_map.h"
#include "repview/repview_main.h"
#include "repview/viewer/viewer_window.h"

#include <cstdio>
#include <stdexcept>

using namespace zlt;
using namespace zlt::repview;

int main(int argc, char** argv)
{
    std::string arguments = argumentText(argc, argv);
    Mode mode = modeOf(arguments);
    try {
        auto session = startDesktopSession(argc, argv);
        CodePage codePage = CodePage::fromEnvironment();
        DriveMap drives = DriveMap::fromEnvironment();
        RepviewState state;
        if (mode == Mode::Viewer) {
            // The viewer's printer dialogs set up the printer the engine prints on.
            auto [printer, dialog] = makeSystemPrinterWithDialog(codePage);
            PrintEngine engine(state, *printer, drives, [&] { session->processEvents(); });
            ViewerWindow window(state, engine, *dialog, codePage, drives);
            window.show();
            return session->exec();
        }
        auto printer = makeSystemPrinter(codePage);
        PrintEngine engine(state, *printer, drives, [&] { session->processEvents(); });
        return runPrintingMode(mode, arguments, state, engine);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "repview: %s\n", e.what());
        return 2;
    }
}
