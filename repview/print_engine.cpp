#include "repview/print_engine.h"

#include "repview/code_reader.h"
#include "repview/report_font.h"

#include <memory>

namespace zlt::repview {

PrintEngine::PrintEngine(Printer& printer, HostFiles& files, std::function<void()> processEvents)
    : printer_(printer), files_(files), processEvents_(std::move(processEvents))
{
}

void PrintEngine::printReportFile(std::string_view hostPath)
{
    run(nullptr, [&] { return std::make_unique<FileReportInput>(files_.openRead(hostPath)); });
}

void PrintEngine::printReportText(std::string_view text)
{
    TextReportInput input(text);
    run(&input, {});
}

// input is the text source; for the file source, open() makes it after the
// font is set and events have run, so a missing file prints nothing.
void PrintEngine::run(ReportInput* input, const std::function<std::unique_ptr<ReportInput>()>& open)
{
    selectReportFont(printer_);
    if (processEvents_)
        processEvents_();
    std::unique_ptr<ReportInput> file;
    if (open) {
        file = open();
        input = file.get();
    }
    printer_.beginDocument();
    try {
        while (!input->usedUp())
            dispatch(*input, input->read(1));
    } catch (...) {
        printer_.abandonDocument();
        throw;
    }
    printer_.endDocument();
}

void PrintEngine::dispatch(ReportInput& input, std::string_view first)
{
    // Holds the character across reads: a view into the input would not.
    char held = first.empty() ? '\0' : first[0];
    bool empty = first.empty();
    for (;;) {
        if (empty) {
            printer_.printText({});  // reading past the end gave nothing
            return;
        }
        char c = held;
        if (c == '>' || c == '\r') {
            std::string_view next = input.read(1);
            if (c == '>' && next == "[") {
                readCode(input, printer_);
                return;
            }
            if (c == '\r' && next == "\n") {
                printer_.printText("\r\n");
                return;
            }
            empty = next.empty();
            held = empty ? '\0' : next[0];
            continue;  // the '>' or CR is dropped; the next one is dispatched afresh
        }
        if (c == '\f') {
            printer_.endDocument();
            if (!input.usedUp())
                printer_.beginDocument();
            return;
        }
        if (c == '\0')
            return;
        printer_.printText(std::string_view(&held, 1));
        return;
    }
}

}  // namespace zlt::repview
