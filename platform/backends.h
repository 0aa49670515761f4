#pragma once
// The real Linux backends of the platform interfaces. Each program's main
// wires these from its Settings; tests wire the doubles of platform/testing/.
#include <memory>
#include <string>
#include <string_view>

#include "engines/browser/browser.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/common_dialog.h"
#include "platform/date_time_format.h"
#include "platform/desktop_opener.h"
#include "platform/desktop_session.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/print/printer.h"
#include "platform/settings.h"
#include "platform/window_system.h"

namespace zlt {

// Qt's application object. The command line's arguments are not passed on:
// they are the host's. With no display that answers, Qt runs offscreen.
std::unique_ptr<DesktopSession> startDesktopSession(char* programName, const Settings& settings);

// Qt message box with a display; with none, title and text go to standard
// error and the box counts as answered.
std::unique_ptr<MessageBox> makeMessageBox(const DesktopSession& session);

// The same box for a program with no window of its own: the desktop
// session starts with the first box shown, so a run that shows none starts
// no toolkit.
std::unique_ptr<MessageBox> makeMessageBoxOnDemand(std::string_view programName, const Settings& settings);

// REPVIEW_PRINTER: a CUPS printer name, or "pdf:<folder>" for one PDF per
// print job. Empty: the system's default printer, or PDF files in
// ~/Documents/Repview when the machine has no printer. Needs a
// DesktopSession. Throws std::invalid_argument on a bad setting.
std::unique_ptr<Printer> makeSystemPrinter(const CodePage& codePage, const Settings& settings);

// A Qt printer for the same destination and the common dialog whose printer
// dialogs set it up: the viewer needs Qt's printer, its dialogs configure it.
PrinterWithDialog makeSystemPrinterWithDialog(const CodePage& codePage, const Settings& settings);

// X11 (Xlib); with no X display every operation does nothing.
std::unique_ptr<WindowSystem> makeWindowSystem();

// The system's files, through descriptors.
std::unique_ptr<FileSystem> makeFileSystem();

std::unique_ptr<Clock> makeSystemClock();

// The short date and long time of a locale ("en_AU.UTF-8"); "": the one the
// environment chooses. A locale the system lacks writes as the C locale.
std::unique_ptr<DateTimeFormat> makeLocaleDateTimeFormat(const std::string& localeName = "");

// The folder holding the running binary, where the build puts the pictures
// the programs ship with; empty when the system cannot tell.
std::string programDirectory();

// xdg-open found on the PATH setting; none when there is no opener.
std::unique_ptr<DesktopOpener> makeDesktopOpener(const Settings& settings);

}  // namespace zlt
