#pragma once
// The one argument text a program reads from its command line, and the one
// rule for what its bytes mean.
#include <string>

#include "platform/code_page.h"

namespace zlt {

// One argument is taken verbatim; several are joined with single spaces
// (the shell has already split what the host typed); none gives "".
//
// The text comes back as UTF-8. The host hands over the bytes of its code
// page, a shell or desktop on Linux hands over UTF-8, and an emulator in
// between may do either: the joined bytes are taken as UTF-8 when they are
// well-formed UTF-8 as a whole, and read in the host's code page otherwise.
// ASCII reads the same both ways; host text in a Latin code page almost
// never forms well-formed UTF-8 by chance (it takes an accented capital or
// a symbol from 0xC2 to 0xF4 followed straight by one from 0x80 to 0xBF).
std::string argumentText(int argc, const char* const* argv, const CodePage& hostCodePage);

}  // namespace zlt
