#include "repview/viewer/report_text.h"

namespace zlt::repview {

namespace {
constexpr QChar LfSymbol(u'\u240a');
}

ReportTextBuilder::ReportTextBuilder(const CodePage& codePage)
{
    for (int b = 0; b < 256; ++b) {
        char32_t c = codePage.toUnicode(static_cast<unsigned char>(b));
        // Single-byte pages stay in the basic plane.
        characters_[static_cast<size_t>(b)] = c < 0x10000 ? QChar(static_cast<char16_t>(c)) : QChar::ReplacementCharacter;
    }
    characters_['\n'] = LfSymbol;
}

void ReportTextBuilder::appendLine(QString& text, std::string_view line)
{
    const qsizetype start = text.size();
    const bool breakBefore = lines_ > 0;
    text.resize(start + static_cast<qsizetype>(line.size()) + (breakBefore ? 1 : 0));
    QChar* out = text.data() + start;
    if (breakBefore)
        *out++ = lines_ % LinesPerParagraph == 0 ? QChar::ParagraphSeparator : QChar::LineSeparator;
    for (char byte : line)
        *out++ = characters_[static_cast<unsigned char>(byte)];
    ++lines_;
}

void ReportTextBuilder::finish(QString& text)
{
    if (lines_ > 0)
        text += QChar::ParagraphSeparator;
}

std::string hostBytesOf(const QString& boxText, const CodePage& codePage)
{
    QString text = boxText;
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    text.replace(QChar::LineSeparator, QLatin1String("\r\n"));
    text.replace(LfSymbol, QLatin1Char('\n'));
    const QByteArray utf8 = text.toUtf8();
    return codePage.fromUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

}  // namespace zlt::repview
