#include "common/leading_number.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/ascii.h"
#include "platform/run_time_error.h"

namespace zlt {

namespace {

// The host's tools read a number across these, wherever they stand.
bool isSkippedInNumbers(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

double leadingNumber(std::string_view text)
{
    std::string plain;  // the text without its blanks
    for (const char c : text)
        if (!isSkippedInNumbers(c))
            plain += c;
    // The longest start that reads as a number, rewritten for from_chars
    // (which reads no '+' and no 'D').
    std::string number;
    std::size_t at = 0;
    if (at < plain.size() && (plain[at] == '+' || plain[at] == '-'))
        number += plain[at++] == '-' ? "-" : "";
    bool digits = false;
    for (; at < plain.size() && isAsciiDigit(plain[at]); ++at, digits = true)
        number += plain[at];
    if (at < plain.size() && plain[at] == '.') {
        number += '.';
        for (++at; at < plain.size() && isAsciiDigit(plain[at]); ++at, digits = true)
            number += plain[at];
    }
    if (!digits)
        return 0;
    if (at < plain.size() && (upperAscii(plain[at]) == 'E' || upperAscii(plain[at]) == 'D')) {
        std::string exponent = "e";
        std::size_t e = at + 1;
        if (e < plain.size() && (plain[e] == '+' || plain[e] == '-'))
            exponent += plain[e++];
        const std::size_t firstDigit = e;
        for (; e < plain.size() && isAsciiDigit(plain[e]); ++e)
            exponent += plain[e];
        if (e > firstDigit)
            number += exponent;
    }
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {  // too small for a double, or too large
        if (number.find("e-") != std::string::npos)
            return 0;
        return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

int roundedToInteger(double value)
{
    const double rounded = std::nearbyint(value);  // the default rounding: half to even
    if (!(rounded >= -32768 && rounded <= 32767))
        throw RunTimeError(error_number::Overflow);
    return static_cast<int>(rounded);
}

}  // namespace zlt
