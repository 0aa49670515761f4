// Well-formed UTF-8 decides how a command line and a disk name are read: a
// second spelling of a character (overlong, surrogate) must never pass.
#include <gtest/gtest.h>

#include "platform/name_folding.h"
#include "platform/utf8.h"

namespace zlt {
namespace {

TEST(Utf8, OnlyWellFormedBytesAreUtf8)
{
    const std::pair<std::string, std::u32string> table[] = {  // bytes, characters (empty: not UTF-8)
        {"Caf\xC3\xA9", U"Caf\u00E9"},
        {"\xE2\x82\xAC", U"\u20AC"},
        {"\xF0\x9F\x98\x80", U"\U0001F600"},
        {"\xF4\x8F\xBF\xBF", U"\U0010FFFF"},     // the last code point
        {"\xC0\xAF", U""},                       // overlong "/"
        {"\xE0\x80\xAF", U""},                   // overlong "/" in three bytes
        {"\xF0\x82\x82\xAC", U""},               // overlong euro sign
        {"\xED\xA0\x80", U""},                   // a surrogate
        {"\xF4\x90\x80\x80", U""},               // past Unicode
        {"\xC3", U""},                           // cut short
        {"\xE2\x82", U""},
        {"\x80", U""},                           // a continuation alone
        {"\xFF", U""},
        {"a\xC3(b", U""},                        // a lead without its continuation
    };
    for (const auto& [bytes, characters] : table) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        EXPECT_EQ(isValidUtf8(bytes), !characters.empty());
        std::u32string decoded;
        for (std::size_t i = 0; i < bytes.size();) {
            const Utf8Character c = decodeUtf8(bytes, i);
            if (c.length == 0) {
                decoded.clear();
                break;
            }
            decoded += c.codePoint;
            i += c.length;
        }
        EXPECT_EQ(decoded, characters);
        std::string encoded;
        for (const char32_t c : characters)
            appendUtf8(encoded, c);
        EXPECT_EQ(encoded, characters.empty() ? "" : bytes);
        // A disk name that is not UTF-8 matches no host name.
        EXPECT_EQ(diskNameKey(bytes).empty(), characters.empty());
    }
    EXPECT_EQ(utf8CharacterCount("Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80"), 7u);
}

}  // namespace
}  // namespace zlt
