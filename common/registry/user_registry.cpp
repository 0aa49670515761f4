#include "common/registry/user_registry.h"

namespace zlt::registry {

Registry readUserRegistry(FileSystem& files, const Settings& settings)
{
    const std::string path =
        expandHome(settings.registry.empty() ? "~/.config/zlt/user.reg" : settings.registry, settings.home);
    if (files.status(path).kind != EntryKind::File)
        return {};
    return Registry::fromRegFile(readAll(*files.openRead(path)), path);
}

}  // namespace zlt::registry
