// Encoding of the login values: what could change the query's structure,
// or is no URL character, is encoded; the rest reaches the forum as typed.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "webhop/web_address.h"

namespace zlt::webhop {
namespace {

struct EncodingCase {
    const char* name;
    std::string value;
    std::string encoded;
};

const EncodingCase encodingCases[] = {
    {"empty", "", ""},
    {"letters, digits and unreserved marks kept", "AZaz09-._~", "AZaz09-._~"},
    {"query and fragment delimiters encoded", "&#%+=?", "%26%23%25%2B%3D%3F"},
    {"space encoded", "a b", "a%20b"},
    {"other printable ASCII kept as typed", "/:@;,!$'()*[]\"<>\\^`{|}",
     "/:@;,!$'()*[]\"<>\\^`{|}"},
    {"control bytes encoded", std::string("\x01\t\n\x1f", 4), "%01%09%0A%1F"},
    {"NUL encoded", std::string("\0x", 2), "%00x"},
    {"DEL encoded", "\x7f", "%7F"},
    {"bytes above 127 encoded", "\x80\xC3\xA9\xFF", "%80%C3%A9%FF"},
    {"mixed postcode", "Unit 4/12 K\xC3\xB6ln&x", "Unit%204/12%20K%C3%B6ln%26x"},
};

TEST(WebAddress, LoginValuesEncodeOnlyWhatWouldChangeTheQuery)
{
    for (const EncodingCase& c : encodingCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(percentEncoded(c.value), c.encoded);
    }
}

// Every single byte: exactly the listed ones are written as %XX.
TEST(WebAddress, EachByteOfALoginValueIsEncodedOnlyWhenListed)
{
    const std::string listed = "&#%+=? ";
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        SCOPED_TRACE(byte);
        const bool encode = byte < 0x20 || byte >= 0x7F || listed.find(c) != std::string::npos;
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned>(byte));
        const std::string expected = encode ? std::string(escaped) : std::string(1, c);
        EXPECT_EQ(percentEncoded(std::string(1, c)), expected);
    }
}

}  // namespace
}  // namespace zlt::webhop
