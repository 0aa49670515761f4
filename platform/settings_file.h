#pragma once
// A settings file, /etc/zlt/zlt.conf or the user's zlt.conf: the settings
// the environment may give, written as NAME=value lines, so a shop sets up
// a machine once instead of in every session that starts a program.
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings.h"

namespace zlt {

// Sets in `settings` every setting the file's text names. Blank lines and
// lines starting with '#' are skipped; blanks around the name and the value,
// and one pair of quotes around the value, are not part of them. Any other
// line (not NAME=value, a name that is no setting, one the environment alone
// gives) is skipped too and told in `problems` as
// "<fileName>:<line number>: <what is wrong>", so one slip never stops a run.
void readSettingsFile(std::string_view text, const std::string& fileName, Settings& settings,
                      std::vector<std::string>& problems);

}  // namespace zlt
