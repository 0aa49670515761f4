#pragma once
// The report tool's main routine: the argument text chooses the mode.
#include <functional>
#include <string>

#include "platform/printer.h"
#include "repview/print_engine.h"
#include "repview/repview_state.h"

namespace zlt::repview {

enum class Mode { Viewer, FontTest, BatchPrint };

// "" opens the viewer; "FONTS" in any letter case prints the font test
// page; anything else, unchanged, is the report to print.
Mode modeOf(const std::string& argumentText);

// Runs a printing mode. Returns 0 on success; on a failure, says why in one
// line on standard error (the host never sees it) and returns 1.
int runPrintingMode(Mode mode, const std::string& argumentText, RepviewState& state, PrintEngine& engine);

}  // namespace zlt::repview
