#include "platform/print/run_printer.h"

#include "platform/ascii.h"

namespace zlt {

namespace {
// Past this a run is drawn anyway: a report line with no break must not
// gather in memory.
constexpr size_t LongestRun = 4096;
}  // namespace

template <class T>
void RunPrinter::change(T& setting, const T& value)
{
    if (setting == value)
        return;
    flush();
    setting = value;
}

void RunPrinter::setFontName(const std::string& name) { change(style_.fontName, name); }
void RunPrinter::setFontSize(double points) { change(style_.points, points); }
void RunPrinter::setBold(bool on) { change(style_.bold, on); }
void RunPrinter::setItalic(bool on) { change(style_.italic, on); }
void RunPrinter::setUnderline(bool on) { change(style_.underline, on); }
void RunPrinter::setStrikethrough(bool on) { change(style_.strikethrough, on); }
void RunPrinter::setColour(HostColour colour) { change(style_.colour, colour); }

bool RunPrinter::fontIs(std::string_view name) const
{
    // ASCII only: Qt has set the C locale from the user's.
    return upperAscii(style_.fontName) == upperAscii(name);
}

void RunPrinter::printText(std::string_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lineBreak();
            ++i;
            continue;
        }
        run_ += text[i];
    }
    if (run_.size() >= LongestRun)
        flush();
}

void RunPrinter::printLine(std::string_view text)
{
    printText(text);
    lineBreak();
}

void RunPrinter::lineBreak()
{
    flush();
    x_ = 0;
    y_ += lineHeight();
}

void RunPrinter::beginDocument()
{
    // The job starts with its first drawing, so an empty document wastes no sheet.
    flush();
    documentOpen_ = true;
    x_ = 0;
    y_ = 0;
}

void RunPrinter::flush()
{
    if (run_.empty())
        return;
    if (!documentOpen_) {
        documentOpen_ = true;
        x_ = 0;
        y_ = 0;
    }
    // The two buffers trade places, so drawing allocates nothing.
    drawing_.clear();
    drawing_.swap(run_);
    drawRun(drawing_);
}

}  // namespace zlt
