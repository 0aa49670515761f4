#pragma once
// What the report tool's routines share for the whole run: the active
// report, the cancelled-dialog flag, the viewer's selection handed to the
// print engine, and the barcode field being printed.
#include <string>

namespace zlt::repview {

struct RepviewState {
    std::string ReportPath;        // the active report, as the host or the dialog gave it
    bool DialogCancelled = false;  // the last dialog was cancelled
    std::string SelectedText;      // the selection a viewer print hands the engine
    std::string BarcodeDigits;     // the field after "BC", then its check digit
    std::string BarcodeText;       // what is printed in the "EAN-13" font
};

}  // namespace zlt::repview
