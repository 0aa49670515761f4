#pragma once
// What makes an address one that SMTP can carry.
#include <string>
#include <string_view>

namespace zlt::mail {

// Why no SMTP server could take the address, or empty text when one could:
// it is empty, holds what no command line may carry (a control character,
// a blank, "<" or ">"), or passes SMTP's length limits: 64 octets before
// the "@", 255 after it, and a path of 256 with its angle brackets, so 254
// in all.
std::string addressProblem(std::string_view address);

}  // namespace zlt::mail
