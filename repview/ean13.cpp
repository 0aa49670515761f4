#include "repview/ean13.h"

#include "platform/ascii.h"
#include "platform/print/ean13_layout.h"
#include "platform/run_time_error.h"

namespace zlt::repview {

namespace {

int valueAt(const std::string& digits, size_t position)
{
    if (position > digits.size())
        return 0;
    char c = digits[position - 1];
    return isAsciiDigit(c) ? c - '0' : 0;
}

// Number sets of the third to seventh digits by leading digit: 'A' or 'B'.
constexpr const char* LeftHalfSets[10] = {
    "AAAAA", "ABABB", "ABBAB", "ABBBA", "BAABB", "BBAAB", "BBBAA", "BABAB", "BABBA", "BBABA",
};

}  // namespace

std::string ean13Text(std::string_view field)
{
    std::string digits(field);
    if (digits.size() == 12) {
        int sum = 0;
        for (size_t p = 1; p <= 12; ++p)
            sum += (p % 2 == 1 ? 1 : 3) * valueAt(digits, p);
        int check = 10 - sum % 10;
        if (check == 10)
            check = 0;
        digits += static_cast<char>('0' + check);
    }

    using namespace ean13_font;
    std::string text;
    text += static_cast<char>(LeadingDigit + valueAt(digits, 1));
    // The second character is taken as a whole number, not as a digit value.
    if (digits.size() < 2 || !isAsciiDigit(digits[1]))
        throw RunTimeError(error_number::TypeMismatch, "Type mismatch (barcode field \"" + std::string(field) + "\")");
    text += static_cast<char>(LeftGuardSetA + (digits[1] - '0'));
    char lead = digits[0];
    if (isAsciiDigit(lead)) {
        const char* sets = LeftHalfSets[lead - '0'];
        for (size_t p = 3; p <= 7; ++p)
            text += static_cast<char>((sets[p - 3] == 'A' ? SetA : SetB) + valueAt(digits, p));
    }
    text += CentreGuard;
    for (size_t p = 8; p <= 12; ++p)
        text += static_cast<char>(SetC + valueAt(digits, p));
    text += static_cast<char>(SetCRightGuard + valueAt(digits, 13));
    return text;
}

}  // namespace zlt::repview
