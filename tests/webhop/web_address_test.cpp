// Encoding of the login values: only what cannot change the query's
// structure passes unchanged.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "webhop/web_address.h"

namespace zlt::webhop {
namespace {

TEST(PercentEncoded, KeepsUnreservedCharactersAndEncodesEveryOtherByte)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"AZaz09-._~", "AZaz09-._~"},
        {"a b", "a%20b"},
        {"&#%+=?", "%26%23%25%2B%3D%3F"},
        {"/:@;,!$'()*[]", "%2F%3A%40%3B%2C%21%24%27%28%29%2A%5B%5D"},
        {std::string("\x01\x1f\x7f", 3), "%01%1F%7F"},
        {std::string("\0x", 2), "%00x"},
        {"\xC3\xA9\xFF", "%C3%A9%FF"},
    };
    for (const auto& [value, encoded] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(percentEncoded(value), encoded);
    }
}

}  // namespace
}  // namespace zlt::webhop
