#include "engines/notes/end_selection.h"

#include <algorithm>

#include "platform/run_time_error.h"

namespace zlt {

namespace {

constexpr double SmallestPoints = 1;
constexpr double LargestPoints = 1638;

}  // namespace

EndSelection::EndSelection(bool atEnd, bool continuesText) : atEnd_(atEnd), continuesText_(continuesText) {}

void EndSelection::requireEnd(const char* call) const
{
    // Only the end of a document is ours to write: what it holds stays as
    // its author saved it.
    if (!atEnd_)
        throw RunTimeError(error_number::NoSuchMember,
                           std::string("The notes engine changes documents only at their end (") + call + ")");
}

void EndSelection::setBold(bool bold)
{
    format_.bold = bold;
    for (std::size_t i = added_.size() - selected_; i < added_.size(); ++i)
        added_[i].format.bold = bold;
}

void EndSelection::setSize(double points)
{
    if (!(points >= SmallestPoints && points <= LargestPoints))
        throw RunTimeError(error_number::InvalidProcedureCall, "Font.Size must be 1 to 1638 points");
    format_.points = points;
    for (std::size_t i = added_.size() - selected_; i < added_.size(); ++i)
        added_[i].format.points = points;
}

bool EndSelection::lastParagraphHasText() const
{
    const auto mark = std::find_if(added_.rbegin(), added_.rend(), [](const Character& c) { return c.byte == '\r'; });
    return mark != added_.rbegin() || (mark == added_.rend() && continuesText_);
}

std::string EndSelection::text()
{
    requireEnd("Text");
    if (selected_ == 0)
        return lastParagraphHasText() ? "\r" : "";
    std::string out;
    for (std::size_t i = added_.size() - selected_; i < added_.size(); ++i)
        out += added_[i].byte;
    return out;
}

void EndSelection::setText(const std::string& text)
{
    requireEnd("Text");
    for (; selected_ > 0; --selected_) {
        if (added_.back().byte == '\r')
            alignments_.pop_back();
        added_.pop_back();
    }
    // CR LF, a lone CR and a lone LF each end a paragraph; the new one goes
    // on in the alignment of the one it was split from.
    for (std::size_t i = 0; i < text.size(); ++i) {
        char byte = text[i];
        if (byte == '\r' || byte == '\n') {
            if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            byte = '\r';
            alignments_.push_back(alignments_.back());
        }
        added_.push_back({byte, format_});
        ++selected_;
    }
}

std::size_t EndSelection::firstSelectedParagraph() const
{
    return static_cast<std::size_t>(std::count_if(added_.begin(), added_.end() - static_cast<std::ptrdiff_t>(selected_),
                                                  [](const Character& c) { return c.byte == '\r'; }));
}

void EndSelection::setAlignment(int alignment)
{
    requireEnd("ParagraphFormat.Alignment");
    rtf::Alignment value;
    switch (alignment) {
    case word::AlignParagraphLeft: value = rtf::Alignment::Left; break;
    case word::AlignParagraphCenter: value = rtf::Alignment::Centre; break;
    case word::AlignParagraphRight: value = rtf::Alignment::Right; break;
    default: throw RunTimeError(error_number::InvalidProcedureCall, "Alignment must be 0, 1 or 2");
    }
    for (std::size_t p = firstSelectedParagraph(); p < alignments_.size(); ++p)
        alignments_[p] = value;
}

void EndSelection::endKey()
{
    // From the start of an opened document the end of its first line is in
    // text that is not ours: the insertion point stays where it is.
    selected_ = 0;
}

void EndSelection::endKey(int unit, int extend)
{
    if ((unit != word::Line && unit != word::Story) || (extend != word::Move && extend != word::Extend))
        throw RunTimeError(error_number::InvalidProcedureCall, "EndKey takes Unit 5 or 6 and Extend 0 or 1");
    if (extend == word::Extend) {
        // Selecting the document's own text: not ours to hand out.
        requireEnd("EndKey Extend");
        return;
    }
    if (unit == word::Story)
        atEnd_ = true;
    selected_ = 0;
}

void EndSelection::writeTo(rtf::Writer& out) const
{
    std::size_t start = 0, paragraph = 0;
    // The document's last paragraph ends where its text ends: its mark is
    // the paragraph end the appender puts there.
    if (continuesText_ && !added_.empty() && added_.front().byte == '\r')
        start = paragraph = 1;
    out.setAlignment(alignments_[paragraph]);
    std::string run;
    Format runFormat;
    const auto flush = [&] {
        if (run.empty())
            return;
        out.setBold(runFormat.bold);
        out.setPoints(runFormat.points);
        out.write(run);
        run.clear();
    };
    for (std::size_t i = start; i < added_.size(); ++i) {
        const Character& c = added_[i];
        if (c.byte == '\r') {
            flush();
            out.setBold(c.format.bold);
            out.setPoints(c.format.points);
            out.endParagraph();
            out.setAlignment(alignments_[++paragraph]);
            continue;
        }
        if (!run.empty() && !(c.format == runFormat))
            flush();
        runFormat = c.format;
        run += c.byte;
    }
    flush();
}

}  // namespace zlt
