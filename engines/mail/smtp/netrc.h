#pragma once
// The password of a login on a machine, as ~/.netrc holds it. Read by us
// rather than by libcurl, which hands another login's password to a user
// name the file does not list.
#include <optional>
#include <string>
#include <string_view>

namespace zlt::mail {

// The password of exactly that login on exactly that machine (a "default"
// entry counts for any machine); none when the file names no such login.
std::optional<std::string> netrcPassword(std::string_view netrcText, std::string_view machine, std::string_view login);

}  // namespace zlt::mail
