#include "common/rtf/rtf_writer.h"

#include <cmath>
#include <utility>

#include "platform/run_time_error.h"

namespace zlt::rtf {

namespace {

constexpr double SmallestPoints = 1;
constexpr double LargestPoints = 1638;

const char* alignmentWord(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Centre:
        return "\\qc";
    case Alignment::Right:
        return "\\qr";
    case Alignment::Left:
        break;
    }
    return "\\ql";
}

const char* familyWord(FontFamily family)
{
    switch (family) {
    case FontFamily::Roman:
        return "\\froman";
    case FontFamily::Swiss:
        return "\\fswiss";
    case FontFamily::Modern:
        return "\\fmodern";
    case FontFamily::Script:
        return "\\fscript";
    case FontFamily::Decor:
        return "\\fdecor";
    case FontFamily::Tech:
        return "\\ftech";
    case FontFamily::Nil:
        break;
    }
    return "\\fnil";
}

}  // namespace

Writer::Writer(const CodePage& page, Font defaultFont) : page_(page), paragraphs_(1)
{
    fonts_.push_back(std::move(defaultFont));
}

std::size_t Writer::addFont(Font font)
{
    fonts_.push_back(std::move(font));
    return fonts_.size() - 1;
}

void Writer::setFont(std::size_t index)
{
    if (index >= fonts_.size())
        throw RunTimeError(error_number::SubscriptOutOfRange);
    format_.font = index;
}

void Writer::setPoints(double points)
{
    if (!(points >= SmallestPoints && points <= LargestPoints))
        throw RunTimeError(error_number::InvalidProcedureCall);
    format_.halfPoints = static_cast<int>(std::lround(points * 2));
}

void Writer::setBold(bool on)
{
    format_.bold = on;
}

void Writer::setAlignment(Alignment alignment)
{
    alignment_ = alignment;
    paragraphs_.back().alignment = alignment;
}

void Writer::write(std::string_view hostText)
{
    if (hostText.empty())
        return;
    std::size_t start = 0;
    if (afterCarriageReturn_ && hostText.front() == '\n')
        start = 1;
    afterCarriageReturn_ = false;
    for (std::size_t i = start; i < hostText.size(); ++i) {
        const char c = hostText[i];
        if (c != '\r' && c != '\n')
            continue;
        appendText(hostText.substr(start, i - start));
        endParagraph();
        if (c == '\r') {
            if (i + 1 < hostText.size() && hostText[i + 1] == '\n')
                ++i;
            else if (i + 1 == hostText.size())
                afterCarriageReturn_ = true;
        }
        start = i + 1;
    }
    appendText(hostText.substr(start));
}

void Writer::appendText(std::string_view hostText)
{
    if (hostText.empty())
        return;
    std::vector<Run>& runs = paragraphs_.back().runs;
    if (!runs.empty() && runs.back().format == format_)
        runs.back().text += hostText;
    else
        runs.push_back(Run{format_, std::string(hostText)});
}

void Writer::endParagraph()
{
    paragraphs_.back().mark = format_;
    paragraphs_.push_back(Paragraph{alignment_, {}, {}});
    afterCarriageReturn_ = false;
}

bool Writer::empty() const
{
    return paragraphs_.size() == 1 && paragraphs_.front().runs.empty();
}

bool Writer::usesFont(std::size_t index) const
{
    for (std::size_t p = 0; p < paragraphs_.size(); ++p) {
        const Paragraph& paragraph = paragraphs_[p];
        if (p + 1 < paragraphs_.size() && paragraph.mark.font == index)
            return true;
        for (const Run& run : paragraph.runs)
            if (run.format.font == index)
                return true;
    }
    return false;
}

std::string Writer::fontTableEntry(std::size_t index, int number) const
{
    if (index >= fonts_.size())
        throw RunTimeError(error_number::SubscriptOutOfRange);
    const Font& font = fonts_[index];
    std::string out = "{\\f" + std::to_string(number) + familyWord(font.family);
    if (font.fixedPitch)
        out += "\\fprq1";
    out += "\\fcharset0 ";
    for (char byte : font.name) {
        // A semicolon would end the entry early.
        if (byte == ';')
            out += "\\'3b";
        else
            appendEscapedCharacter(out, page_.toUnicode(static_cast<unsigned char>(byte)), Escapes::Windows1252);
    }
    out += ";}";
    return out;
}

std::string Writer::document() const
{
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
    for (std::size_t i = 0; i < fonts_.size(); ++i)
        out += fontTableEntry(i, static_cast<int>(i));
    out += "}\r\n";
    if (paper_)
        out += "\\paperw" + std::to_string(paper_->widthTwips()) + "\\paperh" + std::to_string(paper_->heightTwips()) +
               "\r\n";
    if (background_)
        out += backgroundHeader(*background_, paper_.value_or(Paper{}));
    appendParagraphs(out, FragmentTarget{});
    out += '}';
    return out;
}

std::string Writer::fragment(const FragmentTarget& target) const
{
    if (empty())
        return {};
    std::string out = "{";
    appendParagraphs(out, target);
    out += '}';
    return out;
}

void Writer::appendParagraphs(std::string& out, const FragmentTarget& target) const
{
    auto number = [&](std::size_t font) {
        return std::to_string(target.fontNumbers.empty() ? static_cast<int>(font) : target.fontNumbers.at(font));
    };
    // An empty last paragraph is the insertion point, not a paragraph yet.
    std::size_t count = paragraphs_.size();
    if (paragraphs_.back().runs.empty())
        --count;

    CharacterFormat current;
    Alignment currentAlignment = Alignment::Left;
    bool afterWord = false;  // a control word waits for its delimiter
    auto switchTo = [&](const CharacterFormat& format) {
        if (format.font != current.font)
            out += "\\f" + number(format.font);
        if (format.halfPoints != current.halfPoints)
            out += "\\fs" + std::to_string(format.halfPoints);
        if (format.bold != current.bold)
            out += format.bold ? "\\b" : "\\b0";
        if (!(format == current))
            afterWord = true;
        current = format;
    };

    for (std::size_t p = 0; p < count; ++p) {
        const Paragraph& paragraph = paragraphs_[p];
        // The last paragraph, still open, ends in the format of its text.
        const CharacterFormat& mark = p + 1 == paragraphs_.size() ? paragraph.runs.back().format : paragraph.mark;
        if (p == 0) {
            const CharacterFormat& start = paragraph.runs.empty() ? mark : paragraph.runs.front().format;
            out += "\\pard\\plain\\uc1";
            out += alignmentWord(paragraph.alignment);
            out += "\\f" + number(start.font) + "\\fs" + std::to_string(start.halfPoints);
            if (start.bold)
                out += "\\b";
            current = start;
            currentAlignment = paragraph.alignment;
            afterWord = true;
        } else if (paragraph.alignment != currentAlignment) {
            out += alignmentWord(paragraph.alignment);
            currentAlignment = paragraph.alignment;
            afterWord = true;
        }
        for (const Run& run : paragraph.runs) {
            switchTo(run.format);
            if (afterWord)
                out += ' ';
            appendEscaped(out, run.text, page_, target.escapes);
            afterWord = false;
        }
        switchTo(mark);
        out += "\\par\r\n";
        afterWord = false;
    }
}

}  // namespace zlt::rtf
