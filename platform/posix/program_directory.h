#pragma once
#include <string>

namespace zlt {

// The folder holding the running binary; empty when the system cannot tell.
std::string programDirectory();

// The folder holding what the programs ship with (the background picture):
// <binary's folder>/../share/zlt when installed, the binary's own folder in
// a build tree, where the build puts it beside the binaries. Found from the
// binary, so an installation under any prefix finds its own.
std::string programDataDirectory();

}  // namespace zlt
