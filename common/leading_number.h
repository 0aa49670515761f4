#pragma once
// Numbers as the host's tools read them from text: fixed positions of a
// dictionary line, a version text.
#include <string_view>

namespace zlt {

// The leading numeric part of the text, blanks (space, tab, line feed)
// ignored wherever they stand: optional sign, digits, a full stop as the
// decimal point whatever the locale, an exponent written E or D. Text that
// does not start with a number gives 0: "9.0" 9, " 1 2" 12, "8.5x" 8.5.
double leadingNumber(std::string_view text);

// The whole number nearest to the value, a value exactly halfway going to
// the even neighbour (8.5 gives 8, 7.5 gives 8); Overflow (6) when it does
// not fit a 16-bit signed integer.
int roundedToInteger(double value);

}  // namespace zlt
