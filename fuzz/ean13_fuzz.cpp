// Any report's barcode field: the text for the "EAN-13" font is made or the
// field refused as a type mismatch, and the symbol the printers draw from
// it is placed. A field of 12 characters that starts with two digits gives
// a whole symbol, 95 modules between its quiet zones, that reads back as
// the field (other characters counting 0) with its check digit.
#include <array>
#include <cmath>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/ascii.h"
#include "platform/print/ean13_layout.h"
#include "platform/run_time_error.h"
#include "repview/ean13.h"

namespace {

constexpr std::array<const char*, 10> SetA = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                              "0110001", "0101111", "0111011", "0110111", "0001011"};
// Which of the five digits after the second are in set B, by leading digit.
constexpr std::array<const char*, 10> Parities = {"AAAAA", "ABABB", "ABBAB", "ABBBA", "BAABB",
                                                  "BBAAB", "BBBAA", "BABAB", "BABBA", "BBABA"};

// The digit seven modules hold in one set ('A', 'B' or 'C'); -1 for none.
int decodeDigit(const std::string& modules, char set)
{
    for (int d = 0; d < 10; ++d) {
        std::string pattern = SetA[d];
        if (set != 'A')
            for (char& m : pattern)
                m = m == '1' ? '0' : '1';
        if (set == 'B')
            pattern = std::string(pattern.rbegin(), pattern.rend());
        if (modules == pattern)
            return d;
    }
    return -1;
}

// The 13 digits a scanner reads from the symbol's modules; "" when it reads none.
std::string scan(const std::string& m)
{
    if (m.size() != 95 || m.substr(0, 3) != "101" || m.substr(45, 5) != "01010" || m.substr(92) != "101")
        return {};
    std::string digits = "0", parity;
    for (int k = 0; k < 6; ++k) {
        const std::string cell = m.substr(3 + 7 * k, 7);
        const int a = decodeDigit(cell, 'A'), b = decodeDigit(cell, 'B');
        if (a < 0 && b < 0)
            return {};
        digits += static_cast<char>('0' + (a >= 0 ? a : b));
        parity += a >= 0 ? 'A' : 'B';
    }
    for (int k = 0; k < 6; ++k) {
        const int c = decodeDigit(m.substr(50 + 7 * k, 7), 'C');
        if (c < 0)
            return {};
        digits += static_cast<char>('0' + c);
    }
    // The leading digit is in the number sets of the second to seventh.
    for (int d = 0; d < 10; ++d)
        if (parity == std::string("A") + Parities[d])
            digits[0] = static_cast<char>('0' + d);
    return parity[0] == 'A' ? digits : std::string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view field = zlt::fuzz::textOf(data, size);
    std::string text;
    try {
        text = zlt::repview::ean13Text(field);
    } catch (const zlt::RunTimeError& error) {
        FUZZ_CHECK(error.number() == zlt::error_number::TypeMismatch);
        FUZZ_CHECK(field.size() < 2 || !zlt::isAsciiDigit(field[1]));
        return 0;
    }
    constexpr double Points = 28, Module = Points / 30;
    const zlt::PlacedBarcode symbol = zlt::placeEan13Text(text, Points, 1.0);
    for (const auto& bar : symbol.bars)
        FUZZ_CHECK(bar.x >= 0 && bar.width > 0 && bar.x + bar.width <= symbol.width + 1e-9);
    if (field.size() != 12 || !zlt::isAsciiDigit(field[0]))
        return 0;

    std::string modules(static_cast<std::size_t>(std::lround(symbol.width / Module)), '0');
    for (const auto& bar : symbol.bars)
        for (long i = std::lround(bar.x / Module); i < std::lround((bar.x + bar.width) / Module); ++i)
            modules[static_cast<std::size_t>(i)] = '1';
    FUZZ_CHECK(modules.size() == 11 + 95 + 7);
    const std::string digits = scan(modules.substr(11, 95));
    FUZZ_CHECK(digits.size() == 13 && symbol.digits.size() == 13);
    for (std::size_t p = 0; p < 13; ++p)
        FUZZ_CHECK(symbol.digits[p].digit == digits[p]);  // printed beneath as scanned
    int sum = 0;
    for (std::size_t p = 0; p < 12; ++p) {
        const char expected = zlt::isAsciiDigit(field[p]) ? field[p] : '0';
        FUZZ_CHECK(digits[p] == expected);
        sum += (p % 2 == 0 ? 1 : 3) * (expected - '0');
    }
    FUZZ_CHECK(digits[12] - '0' == (10 - sum % 10) % 10);
    return 0;
}
