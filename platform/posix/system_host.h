#pragma once
// What every program's main starts from: the settings read once from the
// settings files and the environment, the host's code page, the system's files and the host tree
// over the drive map. Bad settings throw std::invalid_argument, which
// guardedMain reports as a bad setting.
#include <memory>
#include <string_view>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/host_files.h"
#include "platform/settings.h"

namespace zlt {

struct SystemHost {
    SystemHost(std::string_view program, char** environment);
    SystemHost(const SystemHost&) = delete;
    SystemHost& operator=(const SystemHost&) = delete;

    const Settings settings;
    const CodePage codePage;
    const std::unique_ptr<FileSystem> fileSystem;
    HostFiles files;  // over fileSystem and codePage above
};

}  // namespace zlt
