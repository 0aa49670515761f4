#pragma once
// The report font every run starts in, and the font test page.
#include "platform/print/printer.h"

namespace zlt::repview {

// The report font (see reportFontName) at 10 points, no bold, italic, underline or strikethrough.
// The text colour is left alone.
void selectReportFont(Printer& printer);

// One document: per font of the printer's list, a sample line and 52
// hyphens, each in that font at 12 points.
void printFontTestPage(Printer& printer);

}  // namespace zlt::repview
