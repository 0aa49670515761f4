#include "platform/posix/system_host.h"

#include "platform/posix/posix_file_system.h"
#include "platform/posix/system_settings.h"
#include "platform/drive_map.h"

namespace zlt {

SystemHost::SystemHost(std::string_view program, char** environment)
    : settings(readSystemSettings(program, environment)),
      codePage(CodePage::fromSetting(settings.codePage)),
      fileSystem(makeFileSystem()),
      files(*fileSystem, DriveMap::parse(settings.drives, settings.home), &codePage)
{
}

}  // namespace zlt
