#pragma once
// Reads the structure of an existing rich-text document without
// interpreting its content: where it ends, what its header declares, where
// its font table is and whether its last paragraph is still open. Only what
// adding paragraphs at the end needs.
#include <cstddef>
#include <string_view>
#include <vector>

namespace zlt::rtf {

struct FontTableFont {
    int number = 0;
    int charset = -1;  // \fcharsetN; -1 when the entry gives none
};

struct DocumentLayout {
    // Offset of the brace that closes the document.
    std::size_t closingBrace = 0;
    // Offset after the header's leading control words (\rtf1\ansi\deff0 ...),
    // where a font table can go when the document has none.
    std::size_t headerEnd = 0;
    int ansiCodePage = 0;     // \ansicpgN; 0 when not declared
    bool ansiCharset = true;  // false after \mac, \pc or \pca
    int defaultFont = 0;      // \deffN
    bool hasFontTable = false;
    // Offset of the font table's closing brace, and whether its entries are
    // groups ({\f0 ...;}) rather than the older run of entries.
    std::size_t fontTableEnd = 0;
    bool fontTableGrouped = false;
    std::vector<FontTableFont> fonts;
    // Text (or a tab, a picture ...) follows the last \par: the last
    // paragraph has no paragraph end yet.
    bool lastParagraphOpen = false;
};

// Throws RunTimeError BadFileMode (the file is there and readable, but not
// in the one format that can be written into) when the bytes are not one
// complete rich-text document: not starting with {\rtf (empty, a binary
// .doc, a zip .docx, plain text), braces that do not balance, \bin data
// running past the end, or anything but white space, NUL or Ctrl-Z after
// the closing brace.
DocumentLayout scanDocument(std::string_view bytes);

}  // namespace zlt::rtf
