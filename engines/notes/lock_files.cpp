#include "engines/notes/lock_files.h"
#include "platform/linux_path.h"

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
    const std::string folder = parentFolder(path), name = fileNameOf(path);
    for (const std::string& lock : {joinPath(folder, ".~lock." + name + "#"), joinPath(folder, wordOwnerName(name))})
        if (files.status(lock).kind != EntryKind::Missing)
            return lock;
    return {};
}

}  // namespace zlt
