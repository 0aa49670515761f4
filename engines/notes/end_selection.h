#pragma once
// The selection of the notes engine: the insertion point, or the text just
// given to it, always at the end of the document. What the selection calls
// add is kept as characters with their format and written out through an
// rtf::Writer; the document's own text is never touched. Text is host bytes.
//
// As Word does, a collapsed selection reads as the paragraph mark that
// follows it when it stands after text: text added to it then starts a
// paragraph of its own. In an empty paragraph it reads as nothing.
#include <string>
#include <vector>

#include "common/rtf/rtf_writer.h"
#include "engines/notes/word_application.h"

namespace zlt {

class EndSelection : public WordSelection {
public:
    // A new, empty document has its insertion point at its end; an opened
    // one at its start until EndKey takes it to the end. continuesText: the
    // document's last paragraph holds text.
    EndSelection(bool atEnd, bool continuesText);

    void setBold(bool bold) override;
    void setSize(double points) override;
    std::string text() override;
    void setText(const std::string& text) override;
    void setAlignment(int alignment) override;
    void endKey() override;
    void endKey(int unit, int extend) override;

    // The added paragraphs, ready for a whole document or for appending.
    void writeTo(rtf::Writer& out) const;

private:
    struct Format {
        bool bold = false;
        double points = 12;
        bool operator==(const Format&) const = default;
    };
    struct Character {
        char byte;  // '\r' is a paragraph mark
        Format format;
    };

    void requireEnd(const char* call) const;
    bool lastParagraphHasText() const;
    // The paragraph the selection starts in, counted from the first added one.
    std::size_t firstSelectedParagraph() const;

    bool atEnd_;
    bool continuesText_;
    Format format_;                   // what typed text gets
    std::vector<Character> added_;
    std::vector<rtf::Alignment> alignments_{rtf::Alignment::Left};  // one per added paragraph
    std::size_t selected_ = 0;        // characters at the end that the selection covers
};

}  // namespace zlt
