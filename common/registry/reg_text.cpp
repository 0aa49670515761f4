#include "common/registry/reg_text.h"

#include "platform/code_page.h"
#include "platform/utf8.h"

namespace zlt::registry {

namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

const CodePage& windowsAnsi()
{
    static const CodePage page(1252);
    return page;
}

}  // namespace

std::string utf16leToUtf8(std::string_view bytes, bool stopAtNul)
{
    std::string out;
    out.reserve(bytes.size() / 2);
    const size_t units = bytes.size() / 2;
    auto unitAt = [&](size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    };
    for (size_t i = 0; i < units; ++i) {
        const char16_t unit = unitAt(i);
        if (unit == 0 && stopAtNul)
            break;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const char16_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(low) - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? ReplacementCharacter : char32_t(unit));
    }
    return out;
}

std::string ansiToUtf8(std::string_view bytes)
{
    return windowsAnsi().toUtf8(bytes);
}

std::string decodeRegFileText(std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE"))
        return utf16leToUtf8(bytes.substr(2), false);
    if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0')
        return utf16leToUtf8(bytes, false);
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return std::string(bytes.substr(3));
    if (isValidUtf8(bytes))
        return std::string(bytes);
    return ansiToUtf8(bytes);
}

}  // namespace zlt::registry
