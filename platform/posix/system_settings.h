#pragma once
// The settings of this machine and user, read once at start.
#include <ostream>
#include <string>
#include <string_view>

#include "platform/settings.h"

namespace zlt {

// The machine's settings file; the package installs a commented one there.
inline constexpr const char* MachineSettingsFile = "/etc/zlt/zlt.conf";

// The settings: the machine's file, then the user's
// ($XDG_CONFIG_HOME/zlt/zlt.conf, else ~/.config/zlt/zlt.conf), then the
// environment, each overriding the one before. A missing file is no
// problem; a line that is no setting, or a file that cannot be read, is one
// line "<program>: setting: ..." on `warnings` and the run goes on. The
// home, when HOME is not set, from the password database. The
// paper, when PAPERSIZE is set nowhere, from /etc/papersize as Debian's
// tools take it.
Settings readSystemSettings(std::string_view program, const char* const* environment,
                            const std::string& machineFile, std::ostream& warnings);

// The same with this machine's file and standard error.
Settings readSystemSettings(std::string_view program, const char* const* environment);

}  // namespace zlt
