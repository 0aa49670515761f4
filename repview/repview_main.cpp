#include "repview/repview_main.h"

#include "platform/run_time_error.h"
#include "repview/report_font.h"

#include <cstdio>

namespace zlt::repview {

Mode modeOf(const std::string& argumentText)
{
    if (argumentText.empty())
        return Mode::Viewer;
    std::string upper = argumentText;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper == "FONTS" ? Mode::FontTest : Mode::BatchPrint;
}

int runPrintingMode(Mode mode, const std::string& argumentText, RepviewState& state, PrintEngine& engine)
{
    try {
        if (mode == Mode::FontTest) {
            PrintFontTestPage(engine.printer());
        } else {
            state.ReportPath = argumentText;
            engine.PrintReportFile();
        }
        return 0;
    } catch (const RunTimeError& e) {
        std::fprintf(stderr, "repview: %s (error %d)\n", e.what(), e.number());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "repview: %s\n", e.what());
    }
    return 1;
}

}  // namespace zlt::repview
