#include "repview/run_repview.h"

#include "platform/ascii.h"
#include "platform/program_exit.h"
#include "platform/run_time_error.h"
#include "repview/print_engine.h"
#include "repview/report_font.h"
#include "repview/viewer/viewer_window.h"

namespace zlt::repview {

Mode modeOf(const std::string& argumentText)
{
    if (argumentText.empty())
        return Mode::Viewer;
    return upperAscii(argumentText) == "FONTS" ? Mode::FontTest : Mode::BatchPrint;
}

namespace {

int runViewer(RepviewPlatform& platform)
{
    if (!platform.session.hasDisplay()) {
        reportError(platform.errors, "repview", "opening the viewer",
                    RunTimeError(error_number::DeviceUnavailable,
                                 "Device unavailable (no display to show the viewer on: DISPLAY is not set or does not answer)"));
        return exit_status::Failed;
    }
    PrinterWithDialog viewerPrinter = platform.makeViewerPrinter();
    PrintEngine engine(*viewerPrinter.printer, platform.files, [&] { platform.session.processEvents(); });
    ViewerWindow window(engine, *viewerPrinter.dialog, platform.codePage, platform.files);
    window.show();
    return platform.session.exec();
}

}  // namespace

int runRepview(const std::string& argumentText, RepviewPlatform& platform)
{
    const Mode mode = modeOf(argumentText);
    if (mode == Mode::Viewer)
        return runViewer(platform);
    const std::unique_ptr<Printer> printer = platform.makePrinter();
    try {
        if (mode == Mode::FontTest) {
            printFontTestPage(*printer);
        } else {
            PrintEngine engine(*printer, platform.files, [&] { platform.session.processEvents(); });
            engine.printReportFile(argumentText);
        }
        return exit_status::Done;
    } catch (const RunTimeError& e) {
        reportError(platform.errors, "repview",
                    mode == Mode::FontTest ? std::string("printing the font test page") : "printing " + argumentText, e);
    }
    return exit_status::Failed;
}

}  // namespace zlt::repview
