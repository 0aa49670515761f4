#pragma once
// The in-line print-control codes of a report: ">[" two letters "]<".
#include "platform/print/printer.h"
#include "repview/report_input.h"

namespace zlt::repview {

// Reads one code right after its opening ">[" and applies it. The body is
// read in pairs up to a "]<" that falls on a pair boundary (or the end of
// the input); its first two characters are the code. "BC" is acted on at
// once: 12 characters of digits, 2 more skipped, the barcode printed and the
// report font restored.
void readCode(ReportInput& input, Printer& printer);

}  // namespace zlt::repview
