#pragma once
// What a message carries besides its recipient and subject: the note the
// recipient reads first, and the report text as the rich-text file attached.
#include <string>

#include "platform/code_page.h"

namespace zlt::sendwell {

// The note: 50 spaces, the signature's lines, an empty line, the
// disclaimer's lines and the two fixed lines about margins; CR LF breaks.
std::string noteText(const std::string& signature, const std::string& disclaimer);

// The body as the rich-text file the recipient opens: every line in the
// body font at 9.75 points.
std::string bodyDocument(const std::string& body, const std::string& font, const CodePage& codePage);

}  // namespace zlt::sendwell
