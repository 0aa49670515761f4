#include "platform/name_folding.h"
#include "platform/utf8.h"

namespace zlt {

namespace {

std::u32string_view withoutTrailingDotsAndBlanks(std::u32string_view key)
{
    while (!key.empty() && (key.back() == U'.' || key.back() == U' '))
        key.remove_suffix(1);
    return key;
}

std::u32string folded(std::u32string text)
{
    for (char32_t& c : text)
        c = upperLatin(c);
    return std::u32string(withoutTrailingDotsAndBlanks(text));
}

}  // namespace

char32_t upperLatin(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    // Latin Extended-A pairs: upper case first, except in 0x139-0x148 and 0x179-0x17E.
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F)
        return (c % 2 == (oddUpper ? 0 : 1)) ? c - 1 : c;
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2)  // Greek, in the DOS pages
        return c - 0x20;
    return c;
}

std::u32string hostNameKey(std::string_view hostName, const CodePage* codePage)
{
    std::u32string text;
    for (const char byte : hostName)
        text += codePage ? codePage->toUnicode(static_cast<unsigned char>(byte)) : static_cast<char32_t>(static_cast<unsigned char>(byte));
    return folded(std::move(text));
}

std::u32string diskNameKey(std::string_view utf8Name)
{
    std::u32string text;
    for (size_t i = 0; i < utf8Name.size();) {
        const Utf8Character c = decodeUtf8(utf8Name, i);
        if (c.length == 0)
            return {};
        text += c.codePoint;
        i += c.length;
    }
    return folded(std::move(text));
}

}  // namespace zlt
