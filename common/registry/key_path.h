#pragma once
// Registry key paths: "HKEY_CURRENT_USER\Software\Microsoft" split into
// names, the root written out in full whichever short form was used. Names
// compare case-blind with ASCII folding, as the registry compares them.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zlt::registry {

// The registry's own limit on the levels of a key, its root counted: no
// deeper key can exist, and none is built (one a million deep overflowed
// the stack when freed).
constexpr std::size_t MaxKeyDepth = 512;

// The names of a path, the root first in its full form (HKCU becomes
// HKEY_CURRENT_USER). Empty names from doubled or trailing backslashes are
// dropped, as the registry drops them. nullopt when the root is not one of
// the registry's roots, or the path is deeper than MaxKeyDepth.
std::optional<std::vector<std::string>> splitKeyPath(std::string_view path);

std::string joinKeyPath(const std::vector<std::string>& names);

// The form under which a key or value name is stored and looked up.
std::string foldName(std::string_view name);

}  // namespace zlt::registry
