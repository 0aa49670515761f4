#include "platform/posix/program_directory.h"
#include "platform/linux_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
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

std::string programDataDirectory()
{
    const std::string binary = programDirectory();
    // ZLT_DATA_FROM_BIN: the installed data folder relative to the installed
    // programs' folder, as the build's install layout sets them.
    char* installed = ::realpath((binary + "/" ZLT_DATA_FROM_BIN).c_str(), nullptr);
    struct stat status {};
    const bool isInstalled = installed && ::stat(installed, &status) == 0 && S_ISDIR(status.st_mode);
    const std::string folder = isInstalled ? installed : binary;
    std::free(installed);
    return folder;
}

}  // namespace zlt
