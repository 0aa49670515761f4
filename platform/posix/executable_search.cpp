#include "platform/posix/executable_search.h"

#include <sys/stat.h>
#include <unistd.h>

namespace zlt::posix {

std::string findExecutable(std::string_view name, std::string_view searchPath)
{
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string_view::npos)
            end = searchPath.size();
        const std::string_view directory = searchPath.substr(start, end - start);
        start = end + 1;
        if (directory.empty() || directory.front() != '/')
            continue;
        std::string candidate(directory);
        if (candidate.back() != '/')
            candidate += '/';
        candidate += name;
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

}  // namespace zlt::posix
