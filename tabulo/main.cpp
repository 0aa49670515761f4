// Tabulo: turns a host export (a field dictionary and comma-separated data
// files) into a formatted workbook that opens in the desktop's spreadsheet
// application. Wires the real backends to the entry.
#include <iostream>

#include "platform/backends.h"
#include "platform/command_line.h"
#include "engines/spreadsheet/excel/linux_excel.h"
#include "platform/program_exit.h"
#include "platform/system_host.h"
#include "engines/spreadsheet/xlsx/xlsx_workbook.h"
#include "tabulo/run_tabulo.h"

extern char** environ;

int main(int argc, char** argv)
{
    using namespace zlt;
    return guardedMain("tabulo", std::cerr, [&] {
        SystemHost host(environ);
        const Settings& settings = host.settings;
        const CodePage& codePage = host.codePage;
        HostFiles& files = host.files;
        const auto messages = makeMessageBoxOnDemand("tabulo", settings);
        const auto windows = makeWindowSystem();
        const auto clock = makeSystemClock();
        const auto opener = makeDesktopOpener(settings);
        ExcelHost excelHost{files, codePage, *clock, opener.get(), workbooksFolderOf(settings), makeXlsxWorkbook,
                            &std::cerr};
        tabulo::TabuloPlatform platform{files,    codePage, *messages, *windows, [&] { return makeLinuxExcel(excelHost); },
                                        programDirectory() + "/", &std::cerr};
        return tabulo::runTabulo(argumentText(argc, argv), platform);
    });
}
