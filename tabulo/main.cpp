// Tabulo: turns a host export (a field dictionary and comma-separated data
// files) into a formatted workbook that opens in the desktop's spreadsheet
// application. Wires the real backends to the entry.
#include <iostream>

#include "engines/spreadsheet/excel/linux_excel.h"
#include "engines/spreadsheet/xlsx/xlsx_workbook.h"
#include "platform/command_line.h"
#include "platform/posix/program_directory.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/system_host.h"
#include "platform/posix/xdg_opener.h"
#include "platform/program_exit.h"
#include "platform/qt/qt_desktop_session.h"
#include "platform/x11/x11_window_system.h"
#include "tabulo/run_tabulo.h"

extern char** environ;

int main(int argc, char** argv)
{
    using namespace zlt;
    constexpr const char* program = "tabulo";
    return guardedMain(program, std::cerr, [&] {
        SystemHost host(program, environ);
        const auto messages = makeMessageBoxOnDemand(program, host.settings);
        const auto windows = makeWindowSystem();
        const auto clock = makeSystemClock();
        const auto opener = makeDesktopOpener(host.settings);
        ExcelHost excelHost{host.files,  host.codePage, *clock, opener.get(), workbooksFolderOf(host.settings),
                            makeXlsxWorkbook, &std::cerr};
        tabulo::TabuloPlatform platform{host.files, host.codePage, *messages, *windows,
                                        [&] { return makeLinuxExcel(excelHost); }, programDataDirectory() + "/",
                                        &std::cerr};
        return tabulo::runTabulo(argumentText(argc, argv, host.codePage), platform);
    });
}
