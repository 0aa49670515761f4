// Host bytes through the code pages the shops use.
#include "platform/code_page.h"
#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace zlt;

TEST(CodePage, KnownCharacters)
{
    struct Case {
        int page;
        unsigned char byte;
        char32_t expected;
    };
    const Case cases[] = {
        {1252, 'A', U'A'},    {1252, 0x80, U'€'},   {1252, 0xE9, U'é'},  {1252, 0x81, 0x81},  // undefined: kept
        {1252, 0x0C, 0x0C},   {437, 0x82, U'é'},    {437, 0xC4, U'─'},   {437, 0x0C, 0x0C},
        {850, 0x9C, U'£'},    {850, 0xD5, U'ı'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CodePage(c.page).toUnicode(c.byte), c.expected) << c.page << " byte " << int(c.byte);
}

TEST(CodePage, Utf8RoundTrip)
{
    CodePage cp(1252);
    std::string host = "Caf\xE9 \x80 5";
    EXPECT_EQ(cp.toUtf8(host), "Café € 5");
    EXPECT_EQ(cp.fromUtf8("Café € 5"), host);
    EXPECT_EQ(cp.fromUtf8("日本"), "??");
    EXPECT_EQ(cp.fromUtf8(std::string("A\xFF" "B")), "A?B");  // malformed UTF-8
    CodePage dos(437);
    EXPECT_EQ(dos.fromUtf8(dos.toUtf8("\x82\xC4\xDB")), "\x82\xC4\xDB");
}

TEST(CodePage, FromEnvironment)
{
    unsetenv("ZLT_CODEPAGE");
    EXPECT_EQ(CodePage::fromEnvironment().number(), 1252);
    setenv("ZLT_CODEPAGE", "cp850", 1);
    EXPECT_EQ(CodePage::fromEnvironment().number(), 850);
    setenv("ZLT_CODEPAGE", "latin", 1);
    EXPECT_THROW(CodePage::fromEnvironment(), std::invalid_argument);
    setenv("ZLT_CODEPAGE", "99999", 1);
    EXPECT_THROW(CodePage::fromEnvironment(), std::invalid_argument);
    unsetenv("ZLT_CODEPAGE");
}

TEST(ArgumentText, JoinsArgumentsWithSingleSpaces)
{
    const char* none[] = {"prog"};
    const char* one[] = {"prog", "a  b"};
    const char* three[] = {"prog", "a", "", "c"};
    EXPECT_EQ(argumentText(1, none), "");
    EXPECT_EQ(argumentText(2, one), "a  b");
    EXPECT_EQ(argumentText(4, three), "a  c");
}
