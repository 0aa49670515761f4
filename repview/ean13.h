#pragma once
// EAN-13 article numbers as text for the "EAN-13" barcode font.
#include <string>
#include <string_view>

namespace zlt::repview {

// The text for a barcode field as the report has it (12 characters, read
// after ">[BC"): the check digit is appended to a 12-character field, then
// the text is built: the leading digit, the left guard with the second
// digit, five digits in the number sets the leading digit prescribes, the
// centre guard, five digits in set C, the check digit with the right guard.
// Characters other than digits count as 0, except the second, which must be
// a digit: RunTimeError TypeMismatch, quoting the field.
std::string ean13Text(std::string_view field);

}  // namespace zlt::repview
