#pragma once
// Adds paragraphs at the end of an existing rich-text document: the time
// stamp appended to a record's notes each time they are opened. Any
// complete rich-text document is accepted, whichever program saved it.
#include <string>
#include <string_view>

#include "common/rtf/rtf_scanner.h"
#include "common/rtf/rtf_writer.h"

namespace zlt::rtf {

// Returns the document with the writer's fragment inserted before its
// closing brace: after all of its text, starting a paragraph of its own
// (a \par goes first when the last paragraph has no paragraph end) and
// starting from plain text, whatever the document's last formatting was.
//
// The writer's font 0 becomes the document's default font (\deffN): text
// added to someone's document takes the document's font. Other fonts the
// writer used are added to the document's font table under unused numbers.
// Characters outside ASCII go in as \'hh only when the document declares
// \ansicpg1252 and its default font has an ANSI charset; otherwise as \uN?.
// A writer with nothing in it leaves the document as it was.
//
// Throws RunTimeError BadFileMode when the bytes are not a complete
// rich-text document (see scanDocument): the file exists and can be read,
// so neither "not found" nor an access error, but it is in a format this
// cannot write into (a binary .doc, a .docx, plain text, an empty or cut
// off file).
std::string appendParagraphs(std::string_view document, const Writer& paragraphs);

// The same for a document scanned before (scanDocument on these very
// bytes): a large document is read through once, not twice.
std::string appendParagraphs(std::string_view document, const DocumentLayout& layout, const Writer& paragraphs);

}  // namespace zlt::rtf
