#pragma once
// Test double of a printer that draws: the run machinery of RunPrinter, with
// every run recorded where it landed and in what style. Each character
// advances one unit and a line is as high as the font's points, so tests
// state positions as plain numbers: x is the column, y the sum of the line
// heights above.
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/print/run_printer.h"

namespace zlt::testing {

struct DrawnRun {
    double x = 0;
    double y = 0;
    std::string text;
    std::string font;
    double points = 0;
    bool bold = false;
    HostColour colour = 0;
    bool operator==(const DrawnRun&) const = default;
};

// How a test failure shows a run.
inline void PrintTo(const DrawnRun& r, std::ostream* out)
{
    *out << "{" << r.x << ", " << r.y << ", \"" << r.text << "\", " << r.font << ", " << r.points
         << (r.bold ? ", bold" : "") << ", colour " << r.colour << "}";
}

class RecordingRunPrinter : public RunPrinter {
public:
    explicit RecordingRunPrinter(std::vector<std::string> fonts = {"Courier New", "EAN-13"}) : fonts_(std::move(fonts)) {}

    // The ended documents that drew something (a sheet each), in order.
    std::vector<std::vector<DrawnRun>> jobs;
    int abandoned = 0;

    int fontCount() override { return static_cast<int>(fonts_.size()); }
    std::string fontName(int index) override { return fonts_.at(static_cast<size_t>(index)); }
    void endDocument() override
    {
        flush();
        if (!current_.empty())
            jobs.push_back(std::move(current_));
        current_.clear();
        documentClosed();
    }
    void abandonDocument() override
    {
        discardRun();
        current_.clear();
        ++abandoned;
        documentClosed();
    }

    // The jobs as a reader sees them: "\f" between jobs, CR LF where a run
    // starts lower down, and before a run in another style than the one
    // before it (at a job's start, than the report font: 10-point Courier
    // New) that style in braces: the font when it is another, the points,
    // " b" for bold, " c" and the colour when it is not black.
    std::string printed() const
    {
        std::string out;
        for (const auto& job : jobs) {
            DrawnRun last{0, 0, "", "Courier New", 10, false, 0};
            out += &job == jobs.data() ? "" : "\f";
            for (const DrawnRun& run : job) {
                out += run.y > last.y ? "\r\n" : "";
                if (std::tie(run.font, run.points, run.bold, run.colour) != std::tie(last.font, last.points, last.bold, last.colour))
                    out += "{" + (run.font == "Courier New" ? "" : run.font + " ") + std::to_string(static_cast<int>(run.points)) +
                           (run.bold ? " b" : "") + (run.colour ? " c" + std::to_string(run.colour) : "") + "}";
                out += run.text;
                last = run;
            }
        }
        return out;
    }

private:
    void drawRun(std::string_view hostText) override
    {
        const TextStyle& s = style();
        current_.push_back({x_, y_, std::string(hostText), s.fontName, s.points, s.bold, s.colour});
        x_ += static_cast<double>(hostText.size());
    }
    double lineHeight() override { return style().points; }

    std::vector<std::string> fonts_;
    std::vector<DrawnRun> current_;
};

}  // namespace zlt::testing
