#pragma once
// The file and printer dialog the viewer shares between its commands: one
// object whose properties keep what the last command set, and Show methods
// that open the Open, Save As, Print or Print Setup dialog.
#include <string>

#include "platform/run_time_error.h"

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
    std::string Filter;
    std::string DialogTitle;
    // In: the name shown in the file-name box (Open, Save As). Out: the
    // chosen file's full path. The printer dialogs leave it alone.
    std::string FileName;
    // Cancel raises RunTimeError 32755 instead of returning quietly.
    bool CancelError = false;
    long Flags = 0;
    // What the printer dialogs choose holds for the prints that follow.
    bool PrinterDefault = false;
    int Copies = 1;

    virtual void ShowOpen() = 0;
    virtual void ShowSave() = 0;
    // Print, or Print Setup when Flags has PrintSetup.
    virtual void ShowPrinter() = 0;

protected:
    // What a dialog does when its user cancels.
    void cancelled() const
    {
        if (CancelError)
            throw RunTimeError(error_number::DialogCancelled, "Cancel was selected.");
    }
};

}  // namespace zlt
