// The .reg reader line by line: every value form, the header lines and
// encodings, malformed lines skipped, and files that are no .reg at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/registry/reg_file.h"
#include "platform/run_time_error.h"

namespace zlt::registry {
namespace {

using Kind = Statement::Kind;

}  // namespace

// Readable failures: the type number and the data.
void PrintTo(const Value& value, std::ostream* out)
{
    *out << "type " << value.type << ": ";
    std::visit([out](const auto& data) { *out << ::testing::PrintToString(data); }, value.data);
}

namespace {

const std::string Header = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n";

struct ValueCase {
    const char* line;
    const char* name;
    Value value;
};

const ValueCase ValueCases[] = {
    {R"("a"="plain text")", "a", {value_type::String, std::string("plain text")}},
    {R"("a \"b\""="back\\slash \"quoted\"")", "a \"b\"", {value_type::String, std::string(R"(back\slash "quoted")")}},
    {R"("Path"="C:\Temp\new")", "Path", {value_type::String, std::string(R"(C:\Temp\new)")}},
    {R"(@="default")", "", {value_type::String, std::string("default")}},
    {R"("a"="")", "a", {value_type::String, std::string()}},
    {R"("a"=dword:0000001a)", "a", {value_type::Dword, std::uint32_t(26)}},
    {R"("a"=DWORD:FFFFFFFF)", "a", {value_type::Dword, std::uint32_t(0xFFFFFFFF)}},
    {R"("a"=dword:19)", "a", {value_type::Dword, std::uint32_t(25)}},
    {R"("a"=hex(4):4b,02,00,00)", "a", {value_type::Dword, std::uint32_t(587)}},
    {R"("a"=hex:01,ff,0A)", "a", {value_type::Binary, Bytes{0x01, 0xFF, 0x0A}}},
    {R"("a"=hex:)", "a", {value_type::Binary, Bytes{}}},
    {"\"a\"=hex:01,02,\\\r\n  03,04", "a", {value_type::Binary, Bytes{1, 2, 3, 4}}},
    {"\"a\"=hex:01,\\\n\t02  ; two lines", "a", {value_type::Binary, Bytes{1, 2}}},
    {R"("a"=hex(2):25,00,41,00,25,00,00,00)", "a", {value_type::ExpandString, std::string("%A%")}},
    {R"("a"=hex(1):e9,00,3d,d8,ee,dc,00,00)", "a", {value_type::String, std::string("\u00e9\U0001F4EE")}},
    {R"("a"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00)", "a",
     {value_type::MultiString, std::vector<std::string>{"a", "bc"}}},
    {R"("a"=hex(7):00,00)", "a", {value_type::MultiString, std::vector<std::string>{}}},
    {R"("a"=hex(b):01,00,00,00,00,00,00,00)", "a", {value_type::Qword, Bytes{1, 0, 0, 0, 0, 0, 0, 0}}},
    {R"("a"=hex(4):01,02)", "a", {value_type::Dword, Bytes{1, 2}}},
    {"  \"a\" =\t\"spaced\"  ; comment", "a", {value_type::String, std::string("spaced")}},
};

TEST(RegFile, ReadsEveryValueForm)
{
    for (const ValueCase& c : ValueCases) {
        SCOPED_TRACE(c.line);
        const RegFile file = parseRegFile(Header + c.line + "\r\n");
        ASSERT_EQ(file.statements.size(), 2u);
        EXPECT_TRUE(file.skippedLines.empty());
        const Statement& set = file.statements[1];
        EXPECT_EQ(set.kind, Kind::SetValue);
        EXPECT_EQ(set.key, "HKEY_CURRENT_USER\\K");
        EXPECT_EQ(set.name, c.name);
        EXPECT_EQ(set.value, c.value);
        EXPECT_EQ(set.line, 4);
    }
}

// Each is skipped alone; the line after it is read.
const char* const MalformedLines[] = {
    R"("a"="unterminated)", R"("a"=dword:123456789)", R"("a"=dword:)", R"("a"=dword:12xy)",
    R"("a"=hex:0g)", R"("a"=hex:123)", R"("a"=hex(2:00)", R"("a"=hex(2)00)", "\"a\"=hex:01,\\ 02",
    R"("a"="x" trailing)", R"("a")", R"(a="x")", R"("a"=string)", R"("a"=)",
};

TEST(RegFile, SkipsAMalformedLineAndReadsOn)
{
    for (const char* line : MalformedLines) {
        SCOPED_TRACE(line);
        const RegFile file = parseRegFile(Header + line + "\r\n\"ok\"=\"yes\"\r\n");
        EXPECT_EQ(file.skippedLines, std::vector<int>{4});
        ASSERT_FALSE(file.statements.empty());
        EXPECT_EQ(file.statements.back().name, "ok");
        EXPECT_EQ(file.statements.back().line, 5);
    }
}

TEST(RegFile, KeyLinesDeletionsCommentsAndValuesWithoutAKey)
{
    const RegFile file = parseRegFile("REGEDIT4\n"
                                      "\"orphan\"=\"no key yet\"\n"
                                      "; [HKCU\\Commented]\n"
                                      "[hkcu\\Software\\\\Trailing\\]\n"
                                      "\"gone\"=-\n"
                                      "[-HKEY_CURRENT_USER\\Old]  ; with its subkeys\n"
                                      "\"under deletion\"=\"x\"\n"
                                      "[HKEY_NOWHERE\\K]\n"
                                      "\"under bad key\"=\"x\"\n"
                                      "[HKLM\\Unclosed\n"
                                      "[HKU\\K]\n"
                                      "@=-\n");
    const std::vector<Statement> expected = {
        {Kind::CreateKey, "HKEY_CURRENT_USER\\Software\\Trailing", "", {}, 4},
        {Kind::DeleteValue, "HKEY_CURRENT_USER\\Software\\Trailing", "gone", {}, 5},
        {Kind::DeleteKey, "HKEY_CURRENT_USER\\Old", "", {}, 6},
        {Kind::CreateKey, "HKEY_USERS\\K", "", {}, 11},
        {Kind::DeleteValue, "HKEY_USERS\\K", "", {}, 12},
    };
    EXPECT_EQ(file.statements, expected);
    EXPECT_EQ(file.skippedLines, (std::vector<int>{2, 7, 8, 9, 10}));
    EXPECT_EQ(file.version, 4);
}

struct EncodingCase {
    const char* what;
    std::string bytes;
    int version;
    Value value;
};

Value text(const char* utf8, std::uint32_t type = value_type::String)
{
    return {type, std::string(utf8)};
}

// UTF-16LE without a byte-order mark, of ASCII text.
std::string utf16leWithoutMark(std::string_view ascii)
{
    std::string bytes;
    for (char c : ascii)
        bytes += {c, '\0'};
    return bytes;
}

const EncodingCase EncodingCases[] = {
    {"UTF-16LE without mark", utf16leWithoutMark("REGEDIT4\r\n[HKCU\\K]\r\n\"a\"=\"x\"\r\n"), 4, text("x")},
    {"ANSI REGEDIT4", "REGEDIT4\r\n[HKCU\\K]\r\n\"a\"=\"Caf\xE9 \x80\"\r\n", 4, text("Caf\u00e9 \u20ac")},
    {"ANSI expand string", "REGEDIT4\n[HKCU\\K]\n\"a\"=hex(2):25,e9,25,00\n", 4,
     text("%\u00e9%", value_type::ExpandString)},
    {"UTF-8 without mark", "REGEDIT4\n[HKCU\\K]\n\"a\"=\"Caf\u00e9\"\n", 4, text("Caf\u00e9")},
    {"UTF-8 with mark", "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n[HKCU\\K]\n\"a\"=\"\u00e9\"", 5,
     text("\u00e9")},
    {"blanks after the header, lone CR", "REGEDIT4  \t\r[HKCU\\K]\r\"a\"=\"x\"\r", 4, text("x")},
};

TEST(RegFile, ReadsBothHeadersInEveryEncoding)
{
    for (const EncodingCase& c : EncodingCases) {
        SCOPED_TRACE(c.what);
        const RegFile file = parseRegFile(c.bytes);
        EXPECT_EQ(file.version, c.version);
        ASSERT_EQ(file.statements.size(), 2u);
        EXPECT_EQ(file.statements[1].value, c.value);
    }
}

const std::string NotRegFiles[] = {
    "", "\xEF\xBB\xBF", "\xFF\xFE", "garbage\n[HKCU\\K]\n", "REGEDIT\n", "Windows Registry Editor Version 4.00\n",
    "\r\nREGEDIT4\r\n", " REGEDIT4\n", "regedit4\n", std::string("%PDF-1.4\n\0\x01\x02", 12),
};

TEST(RegFile, RefusesAFileWithoutAHeader)
{
    for (const std::string& bytes : NotRegFiles) {
        SCOPED_TRACE(bytes);
        try {
            parseRegFile(bytes, "/home/u/user.reg");
            ADD_FAILURE() << "accepted";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), error_number::AutomationError);
            EXPECT_EQ(e.description(), "Automation error (not a registry file: /home/u/user.reg)");
        }
    }
}

}  // namespace
}  // namespace zlt::registry
