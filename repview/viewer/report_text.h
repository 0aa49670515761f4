#pragma once
// The report as the text box holds it. Each loaded line ends in a paragraph
// break, which stands for the CR LF the line gets; a lone LF inside a line
// is a line separator (U+2028), which keeps it inside the paragraph. So the
// box's text maps back to the host's bytes exactly: paragraph breaks give
// CR LF, line separators LF, every other character its byte in the code
// page.
#include <array>
#include <string>
#include <string_view>

#include <QChar>
#include <QString>

#include "platform/code_page.h"

namespace zlt::repview {

class ReportTextDecoder {
public:
    explicit ReportTextDecoder(const CodePage& codePage);
    // Appends the line's characters and its paragraph break.
    void appendLine(QString& text, std::string_view line) const;

private:
    std::array<QChar, 256> characters_{};
};

// Text from the box (a selection, or all of it) as host bytes with CR LF
// line breaks, the form the print engine takes.
std::string hostBytesOf(const QString& boxText, const CodePage& codePage);

}  // namespace zlt::repview
