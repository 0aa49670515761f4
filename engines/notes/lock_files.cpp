#include "engines/notes/lock_files.h"

namespace zlt {

namespace {

std::string wordOwnerName(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    const std::size_t stem = dot == std::string::npos ? name.size() : dot;
    const std::size_t dropped = stem <= 6 ? 0 : stem == 7 ? 1 : 2;
    return "~$" + name.substr(dropped);
}

}  // namespace

std::string lockFileOf(FileSystem& files, const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = path.substr(0, slash + 1);
    const std::string name = path.substr(slash + 1);
    for (const std::string& lock : {folder + ".~lock." + name + "#", folder + wordOwnerName(name)})
        if (files.status(lock).kind != EntryKind::Missing)
            return lock;
    return {};
}

}  // namespace zlt
