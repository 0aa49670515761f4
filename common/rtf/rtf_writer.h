#pragma once
// Builds a rich-text document in memory from host text: the notes document
// with its heading and time stamps, the body of a mail saved as an
// attachment. Formatting works like a word processor's insertion point:
// font, size and bold apply to the text written after them, alignment to
// the paragraph being written and the ones after it.
//
// Line breaks in the text end paragraphs: CR LF, a lone LF and a lone CR
// each end one (a CR at the end of one write and an LF at the start of the
// next are still one break). Every paragraph ends in \par, the last one too
// when it holds text; an empty last paragraph writes nothing, so "line" and
// "line\r\n" read the same.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/rtf/rtf_escape.h"
#include "common/rtf/rtf_picture.h"
#include "platform/code_page.h"

namespace zlt::rtf {

enum class Alignment { Left, Centre, Right };

// The font families of the font table, which let a reader without the
// named font choose a similar one.
enum class FontFamily { Nil, Roman, Swiss, Modern, Script, Decor, Tech };

struct Font {
    std::string name;  // host bytes, as the font list shows it: "Courier New"
    FontFamily family = FontFamily::Nil;
    bool fixedPitch = false;
};

// Where a fragment is to go. A fragment made for another document uses
// that document's font numbers and the escapes its code page allows.
struct FragmentTarget {
    Escapes escapes = Escapes::Windows1252;
    // The \f number of each font of the writer's table, by index; empty:
    // the writer's own numbers (0, 1, 2 ...).
    std::vector<int> fontNumbers;
};

class Writer {
public:
    // Font 0 is the default font. Text starts in it, 12 point, not bold, left.
    Writer(const CodePage& page, Font defaultFont);

    // Adds a font to the table; returns its index for setFont.
    std::size_t addFont(Font font);
    const std::vector<Font>& fonts() const { return fonts_; }

    // RunTimeError SubscriptOutOfRange for an index the table lacks.
    void setFont(std::size_t index);
    // Points are written in half points, the nearest one (9.75 becomes
    // 10). RunTimeError InvalidProcedureCall outside 1 to 1638 points.
    void setPoints(double points);
    void setBold(bool on);
    void setAlignment(Alignment alignment);

    // The page a whole document is laid out on; none: the reader's own.
    void setPaper(const Paper& paper) { paper_ = paper; }
    // A picture behind the text of every page (rtf_picture.h), placed on
    // the paper set (A4 when none is); only a whole document carries it, a
    // fragment does not.
    void setBackground(Picture picture) { background_ = std::move(picture); }

    // Host bytes in the page given to the constructor.
    void write(std::string_view hostText);
    void endParagraph();

    // True until some text or paragraph end was written.
    bool empty() const;
    // Whether text or a paragraph end was written in the font.
    bool usesFont(std::size_t index) const;

    // A whole document: {\rtf1\ansi\ansicpg1252\deff0 {\fonttbl ...} paragraphs}.
    std::string document() const;

    // The paragraphs alone in one group that starts from plain text
    // (\pard\plain, its own \uc1, explicit font and size), so that nothing
    // of the formatting in force where it is inserted carries into it.
    // Empty when the writer is empty.
    std::string fragment(const FragmentTarget& target = {}) const;

    // The font table entry of one font under the given number:
    // {\f2\fmodern\fprq1\fcharset0 Courier New;}. RunTimeError
    // SubscriptOutOfRange for an index the table lacks.
    std::string fontTableEntry(std::size_t index, int number) const;

private:
    struct CharacterFormat {
        std::size_t font = 0;
        int halfPoints = 24;
        bool bold = false;
        bool operator==(const CharacterFormat&) const = default;
    };
    struct Run {
        CharacterFormat format;
        std::string text;  // host bytes without line breaks
    };
    struct Paragraph {
        Alignment alignment = Alignment::Left;
        std::vector<Run> runs;
        CharacterFormat mark;  // the format of its paragraph end
    };

    void appendText(std::string_view hostText);
    void appendParagraphs(std::string& out, const FragmentTarget& target) const;

    CodePage page_;
    std::vector<Font> fonts_;
    std::optional<Paper> paper_;
    std::optional<Picture> background_;
    CharacterFormat format_;
    Alignment alignment_ = Alignment::Left;
    // The last one is open: text goes into it.
    std::vector<Paragraph> paragraphs_;
    bool afterCarriageReturn_ = false;
};

}  // namespace zlt::rtf
