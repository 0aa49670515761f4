#include "platform/utf8.h"

namespace zlt {

Utf8Character decodeUtf8(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t minimum = 0, c = 0;
    if (lead < 0x80)
        return {lead, 1};
    if ((lead & 0xE0) == 0xC0)
        length = 2, minimum = 0x80, c = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, minimum = 0x800, c = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, minimum = 0x10000, c = lead & 0x07;
    else
        return {};
    if (length > text.size() - at)
        return {};
    for (std::size_t k = 1; k < length; ++k) {
        if (!isUtf8Continuation(text[at + k]))
            return {};
        c = (c << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {};
    return {c, length};
}

bool isValidUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = decodeUtf8(bytes, i).length;
        if (length == 0)
            return false;
        i += length;
    }
    return true;
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

std::size_t utf8CharacterCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        count += isUtf8Continuation(c) ? 0 : 1;
    return count;
}

}  // namespace zlt
