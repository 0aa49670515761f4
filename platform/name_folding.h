#pragma once
// How DOS compares names: letter case folded in the host's code page (é
// finds É, ü finds Ü), trailing dots and blanks dropped.
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace zlt {

// The upper-case form of a letter of the Latin pages the host uses.
char32_t upperLatin(char32_t c);

// The key of a name given in the host's code page (none: ASCII only).
std::u32string hostNameKey(std::string_view hostName, const CodePage* codePage);
// The key of a name as Linux stores it (UTF-8); none when it is not UTF-8.
std::u32string diskNameKey(std::string_view utf8Name);

}  // namespace zlt
