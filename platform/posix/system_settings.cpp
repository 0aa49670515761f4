#include "platform/posix/system_settings.h"

#include <fstream>

namespace zlt {

Settings readSystemSettings(const char* const* environment)
{
    Settings settings = settingsFromEnvironment(environment);
    if (settings.paperSize.empty()) {
        std::ifstream file("/etc/papersize");
        std::getline(file, settings.paperSize);
    }
    return settings;
}

}  // namespace zlt
