#pragma once
// The lock file a word processor keeps beside a document it has open: what
// the user types there and what we would write must never overwrite each
// other.
#include <string>

#include "platform/file_system.h"

namespace zlt {

// LibreOffice's ".~lock.<name>#" or Word's owner file "~$<name>" (Word
// drops the first one or two characters of a name longer than six before
// its extension) when one is there; "" when none is.
std::string lockFileOf(FileSystem& files, const std::string& path);

}  // namespace zlt
