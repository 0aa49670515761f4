#pragma once
// How the dispatcher writes a number into its log lines and captions.
#include <string>

namespace zlt::sendwell {

// The digits after a space, or after "-" for a negative number, as the
// host's tools printed numbers: 3 gives " 3", hence "Email 3" reads
// "Email" + signPadded(3).
inline std::string signPadded(long long number)
{
    return number < 0 ? std::to_string(number) : " " + std::to_string(number);
}

}  // namespace zlt::sendwell
