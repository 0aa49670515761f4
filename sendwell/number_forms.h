#pragma once
// The two ways the dispatcher writes numbers into its texts.
#include <string>

namespace zlt::sendwell {

// The digits after a space, or after "-" for a negative number: 3 gives " 3".
inline std::string signedForm(long long number)
{
    return number < 0 ? std::to_string(number) : " " + std::to_string(number);
}

// The digits alone: 3 gives "3".
inline std::string plainForm(long long number)
{
    return std::to_string(number);
}

}  // namespace zlt::sendwell
