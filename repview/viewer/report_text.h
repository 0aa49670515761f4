#pragma once
// The report as the text box holds it. Every loaded line ends in a line
// break that stands for its CR LF: a paragraph break after every 32nd line
// and the last one, a line separator (U+2028) between them. (A paragraph
// per line would cost the text box ten times as long to fill; a paragraph
// of 32 lines shows and scrolls the same.) A lone LF inside a line is shown
// as the LF symbol (U+240A), so it stays inside the line. Every other
// character is its byte in the host's code page. So the box's text maps
// back to the host's bytes exactly.
#include <array>
#include <string>
#include <string_view>

#include <QChar>
#include <QString>

#include "platform/code_page.h"

namespace zlt::repview {

class ReportTextBuilder {
public:
    static constexpr int LinesPerParagraph = 32;

    explicit ReportTextBuilder(const CodePage& codePage);
    // Appends the break of the line before, then the line's characters.
    void appendLine(QString& text, std::string_view line);
    // Appends the last line's break.
    void finish(QString& text);

private:
    std::array<QChar, 256> characters_{};
    long long lines_ = 0;
};

// Text from the box (a selection, or all of it) as host bytes with CR LF
// line breaks, the form the print engine takes.
std::string hostBytesOf(const QString& boxText, const CodePage& codePage);

}  // namespace zlt::repview
