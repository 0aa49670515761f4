#pragma once
#include <string>

namespace zlt {

// The folder holding the running binary, where the build puts the pictures
// the programs ship with; empty when the system cannot tell.
std::string programDirectory();

}  // namespace zlt
