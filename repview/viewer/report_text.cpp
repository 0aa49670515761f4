#include "repview/viewer/report_text.h"

namespace zlt::repview {

ReportTextDecoder::ReportTextDecoder(const CodePage& codePage)
{
    for (int b = 0; b < 256; ++b) {
        char32_t c = codePage.toUnicode(static_cast<unsigned char>(b));
        // Single-byte pages stay in the basic plane.
        characters_[static_cast<size_t>(b)] = c < 0x10000 ? QChar(static_cast<char16_t>(c)) : QChar::ReplacementCharacter;
    }
    characters_['\n'] = QChar::LineSeparator;
}

void ReportTextDecoder::appendLine(QString& text, std::string_view line) const
{
    const qsizetype start = text.size();
    text.resize(start + static_cast<qsizetype>(line.size()) + 1);
    QChar* out = text.data() + start;
    for (char byte : line)
        *out++ = characters_[static_cast<unsigned char>(byte)];
    *out = QChar::ParagraphSeparator;
}

std::string hostBytesOf(const QString& boxText, const CodePage& codePage)
{
    QString text = boxText;
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    const QByteArray utf8 = text.toUtf8();
    return codePage.fromUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

}  // namespace zlt::repview
