#pragma once
// The user's registry: the .reg file ZLT_REGISTRY names, else
// ~/.config/zlt/user.reg. None there is an empty registry.
#include "common/registry/registry.h"
#include "platform/file_system.h"
#include "platform/settings.h"

namespace zlt::registry {

// Throws zlt::RunTimeError as Registry::fromRegFile does.
Registry readUserRegistry(FileSystem& files, const Settings& settings);

}  // namespace zlt::registry
