#pragma once
// The printer reports go to: REPVIEW_PRINTER names a CUPS printer, or
// "pdf:<folder>" for one PDF per print job. Empty: the system's default
// printer, or PDF files in ~/Documents/Repview when the machine has no
// printer.
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/print/printer.h"
#include "platform/settings.h"

namespace zlt {

// Needs a DesktopSession; `clock` dates the run's PDF file names. Throws
// std::invalid_argument on a bad setting.
std::unique_ptr<Printer> makeSystemPrinter(const CodePage& codePage, const Settings& settings, Clock& clock);

// The fonts of the same printer; none when there is no printer to ask.
std::vector<std::string> systemPrinterFontNames(const CodePage& codePage, const Settings& settings, Clock& clock);

}  // namespace zlt
