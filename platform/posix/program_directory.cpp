#include "platform/posix/program_directory.h"
#include "platform/linux_path.h"

#include <unistd.h>

#include <string>

namespace zlt {

std::string programDirectory()
{
    // The kernel's link names the binary however it was started (PATH
    // search, a relative path, a symbolic link), so its pictures are found
    // beside it from any working directory.
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
    path.resize(static_cast<std::size_t>(length));
    return parentFolder(path);
}

}  // namespace zlt
