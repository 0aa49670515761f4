#include "platform/code_page.h"
#include "platform/utf8.h"

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

std::string CodePage::toUtf8(std::string_view hostText) const
{
    std::string out;
    out.reserve(hostText.size());
    for (char byte : hostText)
        appendUtf8(out, table_[static_cast<unsigned char>(byte)]);
    return out;
}

std::string CodePage::fromUtf8(std::string_view utf8) const
{
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        // Bytes that are not UTF-8 read as U+FFFD, one at a time.
        const Utf8Character decoded = decodeUtf8(utf8, i);
        const char32_t c = decoded.length ? decoded.codePoint : 0xFFFD;
        i += decoded.length ? decoded.length : 1;
        auto it = std::lower_bound(reverse_.begin(), reverse_.end(), std::make_pair(c, static_cast<unsigned char>(0)));
        out += (it != reverse_.end() && it->first == c) ? static_cast<char>(it->second) : '?';
    }
    return out;
}

}  // namespace zlt
