#pragma once
// Repview's one entry: the argument text chooses the mode, the platform
// carries every device and file it touches.
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/code_page.h"
#include "platform/common_dialog.h"
#include "platform/desktop_session.h"
#include "platform/host_files.h"
#include "platform/print/printer.h"

namespace zlt::repview {

struct RepviewPlatform {
    HostFiles& files;
    const CodePage& codePage;
    DesktopSession& session;
    // The printer of a report or the font test page.
    std::function<std::unique_ptr<Printer>()> makePrinter;
    // The viewer's printer, with the dialog whose printer dialogs set it up.
    std::function<PrinterWithDialog()> makeViewerPrinter;
    std::ostream& errors;
};

enum class Mode { Viewer, FontTest, BatchPrint };

// "" opens the viewer; "FONTS" in any letter case prints the font test
// page; anything else, unchanged, is the report to print.
Mode modeOf(const std::string& argumentText);

// Prints silently, as the host expects; a failure says why in one line on
// the error stream. Returns the exit status (platform/program_exit.h). The
// viewer needs a display: without one it ends at once, saying so.
int runRepview(const std::string& argumentText, RepviewPlatform& platform);

}  // namespace zlt::repview
