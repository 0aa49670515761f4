#pragma once
// Finding a program the way a shell would, without asking a shell.
#include <string>
#include <string_view>

namespace zlt::posix {

// The first regular, executable file called `name` in the directories of
// `searchPath` (a PATH value, ':'-separated). Empty and relative entries are
// skipped: the current directory of whoever started the program is no place
// to take a program from. "" when none is found.
std::string findExecutable(std::string_view name, std::string_view searchPath);

}  // namespace zlt::posix
