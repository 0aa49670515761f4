#pragma once
// The print engine: a report, from its file or from the viewer's text, onto
// the printer, character by character, with its codes, line breaks and
// form-feed job breaks.
#include <functional>

#include "platform/drive_map.h"
#include "platform/printer.h"
#include "repview/report_input.h"
#include "repview/repview_state.h"

namespace zlt::repview {

class PrintEngine {
public:
    // processEvents lets the window paint once before a run prints.
    PrintEngine(RepviewState& state, Printer& printer, const DriveMap& drives,
                std::function<void()> processEvents = {});

    // Prints the file named by ReportPath (a DOS or Linux path). A failure
    // is a RunTimeError, raised after the file is closed and an unfinished
    // document abandoned.
    void PrintReportFile();
    // Prints the text (CR LF line breaks), which is left unchanged.
    void PrintReportText(const std::string& text);

    Printer& printer() { return printer_; }

private:
    void run(ReportInput* input, const std::function<std::unique_ptr<ReportInput>()>& open);
    void dispatch(ReportInput& input, std::string_view c);

    RepviewState& state_;
    Printer& printer_;
    const DriveMap& drives_;
    std::function<void()> processEvents_;
};

}  // namespace zlt::repview
