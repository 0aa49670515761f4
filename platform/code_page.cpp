#include "platform/code_page.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace zlt {

namespace {

// Converts one byte to UTF-32 through iconv; false when the page leaves it undefined.
bool convertByte(iconv_t cd, unsigned char byte, char32_t& out)
{
    char in[1] = {static_cast<char>(byte)};
    char32_t result[2] = {};
    char* inPtr = in;
    size_t inLeft = 1;
    char* outPtr = reinterpret_cast<char*>(result);
    size_t outLeft = sizeof(result);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1))
        return false;
    if (outLeft != sizeof(result) - sizeof(char32_t))
        return false;
    out = result[0];
    return true;
}

}  // namespace

int parseCodePageNumber(std::string_view text)
{
    if (text.size() >= 2 && (text[0] == 'c' || text[0] == 'C') && (text[1] == 'p' || text[1] == 'P'))
        text.remove_prefix(2);
    if (text.empty() || text.size() > 5)
        return 0;
    int number = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        number = number * 10 + (c - '0');
    }
    return number;
}

CodePage CodePage::fromSetting(std::string_view value)
{
    if (value.empty())
        return CodePage(1252);
    const std::string bad = "ZLT_CODEPAGE=" + std::string(value) + " is not a code page";
    const int number = parseCodePageNumber(value);
    if (number == 0)
        throw std::invalid_argument(bad + " number (such as 1252, 437 or 850)");
    try {
        return CodePage(number);
    } catch (const std::invalid_argument&) {
        throw std::invalid_argument(bad + " iconv knows");
    }
}

CodePage::CodePage(int number) : number_(number)
{
    std::string name = "CP" + std::to_string(number);
    iconv_t cd = iconv_open("UTF-32LE", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::invalid_argument("code page " + std::to_string(number) + " is not known to iconv");
    for (int b = 0; b < 256; ++b) {
        char32_t c;
        table_[b] = convertByte(cd, static_cast<unsigned char>(b), c) ? c : static_cast<char32_t>(b);
    }
    iconv_close(cd);
    // The DOS pages give graphic symbols to the control bytes; the host
    // means them as controls, so they keep their control values.
    for (int b = 0; b < 32; ++b)
        table_[b] = static_cast<char32_t>(b);
    table_[127] = 127;
    for (int b = 0; b < 256; ++b)
        reverse_[b] = {table_[b], static_cast<unsigned char>(b)};
    std::sort(reverse_.begin(), reverse_.end());
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string CodePage::toUtf8(std::string_view hostText) const
{
    std::string out;
    out.reserve(hostText.size());
    for (char byte : hostText)
        appendUtf8(out, table_[static_cast<unsigned char>(byte)]);
    return out;
}

namespace {

// Decodes one UTF-8 sequence; malformed input yields U+FFFD and moves one byte.
char32_t nextCodePoint(std::string_view s, size_t& i)
{
    unsigned char lead = static_cast<unsigned char>(s[i]);
    int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
    if (extra == 0) {
        ++i;
        return lead;
    }
    if (extra < 0 || i + extra >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t c = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        unsigned char cont = static_cast<unsigned char>(s[i + k]);
        if ((cont & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (cont & 0x3F);
    }
    i += extra + 1;
    return c;
}

}  // namespace

std::string CodePage::fromUtf8(std::string_view utf8) const
{
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = nextCodePoint(utf8, i);
        auto it = std::lower_bound(reverse_.begin(), reverse_.end(), std::make_pair(c, static_cast<unsigned char>(0)));
        out += (it != reverse_.end() && it->first == c) ? static_cast<char>(it->second) : '?';
    }
    return out;
}

bool isValidUtf8(std::string_view bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        size_t length = 0;
        char32_t minimum = 0;
        char32_t c = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, minimum = 0x80, c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, minimum = 0x800, c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, minimum = 0x10000, c = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past Unicode are not UTF-8.
        if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

}  // namespace zlt
