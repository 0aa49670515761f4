#pragma once
// EAN-13 article numbers as text for the "EAN-13" barcode font.
#include <string>

#include "repview/repview_state.h"

namespace zlt::repview {

// Appends the check digit to BarcodeDigits when it holds exactly 12
// characters, and builds BarcodeText: the leading digit, the left guard
// with the second digit, five digits in the number sets the leading digit
// prescribes, the centre guard, five digits in set C, the check digit with
// the right guard. Characters other than digits count as 0, except the
// second, which must be a digit: RunTimeError 13 ("Type mismatch").
void EncodeEan13(RepviewState& state);

}  // namespace zlt::repview
