#pragma once
// The system's files, through descriptors.
#include <memory>

#include "platform/file_system.h"

namespace zlt {

std::unique_ptr<FileSystem> makeFileSystem();

}  // namespace zlt
