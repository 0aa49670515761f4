#pragma once
// The print engine: a report, from its file or from the viewer's text, onto
// the printer, character by character, with its codes, line breaks and
// form-feed job breaks.
#include <functional>
#include <string>
#include <string_view>

#include "platform/host_files.h"
#include "platform/print/printer.h"
#include "repview/report_input.h"

namespace zlt::repview {

class PrintEngine {
public:
    // processEvents lets the window paint once before a run prints.
    PrintEngine(Printer& printer, HostFiles& files, std::function<void()> processEvents = {});

    // Prints the file a path the host gave (DOS or Linux) names. A failure
    // is a RunTimeError, raised after the file is closed and an unfinished
    // document abandoned.
    void printReportFile(std::string_view hostPath);
    // Prints the text (CR LF line breaks), which is left unchanged.
    void printReportText(std::string_view text);

    Printer& printer() { return printer_; }

private:
    void run(ReportInput* input, const std::function<std::unique_ptr<ReportInput>()>& open);
    void dispatch(ReportInput& input, std::string_view c);

    Printer& printer_;
    HostFiles& files_;
    std::function<void()> processEvents_;
};

}  // namespace zlt::repview
