#pragma once
// The real Linux backends of the platform interfaces. Each program's main
// wires these; tests wire the recording doubles instead.
#include <functional>
#include <memory>

#include "platform/browser.h"
#include "platform/code_page.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "platform/window_system.h"

namespace zlt {

// The desktop session a program with a window or a printer needs. With no
// X or Wayland display (or one that does not answer) it runs offscreen, so
// batch use never needs one.
class DesktopSession {
public:
    virtual ~DesktopSession() = default;
    // Lets pending window events run once.
    virtual void processEvents() = 0;
    // Runs the event loop until the last window closes; returns its status.
    virtual int exec() = 0;
    // Whether a person can see windows (an X or Wayland display).
    virtual bool hasDisplay() const = 0;
};
// The command line's arguments are not passed on: they are the host's.
std::unique_ptr<DesktopSession> startDesktopSession(int argc, char** argv);

// Qt message box with a display; with none, title and text go to standard
// error and the box counts as answered.
std::unique_ptr<MessageBox> makeMessageBox(const DesktopSession& session);

// REPVIEW_PRINTER: a CUPS printer name, or "pdf:<folder>" for one PDF per
// print job. Unset: the system's default printer, or PDF files in the
// default folder (~/Documents/Repview) when the machine has no printer.
// Needs a DesktopSession. Throws std::invalid_argument on a bad setting.
std::unique_ptr<Printer> makeSystemPrinter(const CodePage& codePage);

// X11 (Xlib); with no X display every operation does nothing.
std::unique_ptr<WindowSystem> makeWindowSystem();

// The desktop's default browser through xdg-open on PATH.
// Throws RunTimeError 429 when there is no opener.
std::unique_ptr<Browser> createBrowser();

}  // namespace zlt

#include "platform/common_dialog.h"

namespace zlt {

// A Qt printer for the destination makeSystemPrinter would use (CUPS, or
// PDF files drawn through Qt), and the common dialog whose printer dialogs
// set it up, so a printer chosen there holds for the following prints of
// the process. The viewer needs Qt's printer: its dialogs configure it.
struct PrinterWithDialog {
    std::unique_ptr<Printer> printer;
    std::unique_ptr<CommonDialog> dialog;
};
PrinterWithDialog makeSystemPrinterWithDialog(const CodePage& codePage);

}  // namespace zlt
