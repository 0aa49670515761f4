#pragma once
// The file and printer dialog the viewer shares between its commands: one
// object whose properties keep what the last command set, and show methods
// that open the Open, Save As, Print or Print Setup dialog.
#include <memory>
#include <string>

#include "platform/print/printer.h"

namespace zlt {

// Print dialog options, with the values of the Windows PRINTDLG flags the
// host's programs were written against.
namespace print_dialog_flags {
constexpr long Selection = 0x1;                // opens with the Selection range chosen
constexpr long PrintSetup = 0x40;              // Print Setup instead of Print
constexpr long DisablePrintToFile = 0x80000;   // print-to-file offered but disabled
constexpr long HidePrintToFile = 0x100000;     // print-to-file not offered
}  // namespace print_dialog_flags

class CommonDialog {
public:
    virtual ~CommonDialog() = default;

    // "Description|pattern|Description|pattern"; the first pair is chosen
    // when a file dialog opens.
    std::string filter;
    std::string dialogTitle;
    // In: the name shown in the file-name box (Open, Save As). Out: the
    // chosen file's full path. The printer dialogs leave it alone.
    std::string fileName;
    long flags = 0;
    // What the printer dialogs choose holds for the prints that follow.
    bool printerDefault = false;
    int copies = 1;

    // Each returns false when its user cancelled.
    virtual bool showOpen() = 0;
    virtual bool showSave() = 0;
    // Print, or Print Setup when flags has PrintSetup.
    virtual bool showPrinter() = 0;
};

// A printer and the dialog whose printer dialogs set it up, so that a
// printer chosen there holds for the following prints of the process.
struct PrinterWithDialog {
    std::unique_ptr<Printer> printer;
    std::unique_ptr<CommonDialog> dialog;
};

}  // namespace zlt
