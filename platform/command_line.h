#pragma once
// The one argument text a program reads from its command line.
#include <string>

namespace zlt {

// One argument is taken verbatim; several are joined with single spaces
// (the shell has already split what the host typed); none gives "".
std::string argumentText(int argc, const char* const* argv);

}  // namespace zlt
