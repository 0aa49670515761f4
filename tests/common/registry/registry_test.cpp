// The .reg reader (every value form in both headers and every encoding,
// malformed lines skipped, files that are no .reg refused), lookups in the
// keys it builds, and the mail account a sign-on name leads to.
#include <gtest/gtest.h>

#include "common/registry/mail_account.h"
#include "platform/run_time_error.h"

namespace zlt::registry {

// Readable failures: the type number and the data.
void PrintTo(const Value& v, std::ostream* out) { *out << v.type << ": " << ::testing::PrintToString(v.data); }

namespace {

using Kind = Statement::Kind;
const std::string Header = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n";

Value text(const char* utf8, std::uint32_t type = value_type::String) { return {type, std::string(utf8)}; }
Value dword(std::uint32_t number) { return {value_type::Dword, number}; }

// UTF-16LE byte for byte, as a 5.00 export holds its text.
std::string utf16le(std::u16string_view text)
{
    std::string bytes;
    for (char16_t unit : text)
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

const std::pair<std::string, std::vector<Value>> FileCases[] = {
    {Header + R"("a"="back\\slash \"quoted\" C:\Temp")", {text(R"(back\slash "quoted" C:\Temp)")}},
    {Header + "@=DWORD:FFFFFFFF\n@=dword:19\n@=hex(4):4b,02,00,00", {dword(0xFFFFFFFF), dword(25), dword(587)}},
    {Header + "\"a\"=hex(4):01,02\n\"b\"=hex(b):01", {{value_type::Dword, Bytes{1, 2}}, {value_type::Qword, Bytes{1}}}},
    {Header + R"("a"=hex:01,ff,0A)", {{value_type::Binary, Bytes{0x01, 0xFF, 0x0A}}}},
    {Header + "\"a\"=hex:\n  @ =\t\"\"  ; comment", {{value_type::Binary, Bytes{}}, text("")}},
    {Header + "\"a\"=hex:01,\\\r\n  02,\\\n\t03  ; three lines", {{value_type::Binary, Bytes{1, 2, 3}}}},
    {Header + "@=hex(2):25,00,41,00,25,00,00,00\n@=hex(1):41,00", {text("%A%", value_type::ExpandString), text("A")}},
    {Header + R"("a"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00)",
     {{value_type::MultiString, std::vector<std::string>{"a", "bc"}}}},
    // As the Windows registry editor exports: UTF-16LE behind a mark, CR LF, hex lines continued.
    {"\xFF\xFE" + utf16le(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Accounts\\00000002]\r\n"
                          u"\"Account Name\"=\"Caf\u00e9 \U0001F4EE\"\r\n\"SMTP Port\"=dword:0000024b\r\n"
                          u"\"Signature\"=hex(2):25,00,55,00,53,00,45,00,52,00,\\\r\n  25,00,00,00\r\n\r\n"),
     {text("Caf\u00e9 \U0001F4EE"), dword(587), text("%USER%", value_type::ExpandString)}},
    {utf16le(u"REGEDIT4\r\n[HKCU\\K]\r\n\"a\"=\"x\"\r\n"), {text("x")}},
    {"REGEDIT4\r\n[HKCU\\K]\r\n\"a\"=\"Caf\xE9 \x80\"\r\n", {text("Caf\u00e9 \u20ac")}},  // ANSI
    {"REGEDIT4\n[HKCU\\K]\n\"a\"=hex(2):25,e9,25,00\n", {text("%\u00e9%", value_type::ExpandString)}},
    {"REGEDIT4\n[HKCU\\K]\n\"a\"=\"Caf\u00e9\"\n", {text("Caf\u00e9")}},
    {"\xEF\xBB\xBFWindows Registry Editor Version 5.00\n[HKCU\\K]\n\"a\"=\"\u00e9\"", {text("\u00e9")}},
    {"REGEDIT4  \t\r[HKCU\\K]\r\"a\"=\"x\"\r", {text("x")}},
};

TEST(RegFile, ReadsEveryValueFormAndEncoding)
{
    for (const auto& [bytes, expected] : FileCases) {
        SCOPED_TRACE(bytes);
        std::vector<Value> values;
        for (const Statement& statement : parseRegFile(bytes).statements)
            if (statement.kind == Kind::SetValue)
                values.push_back(statement.value);
        EXPECT_EQ(values, expected);
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
        EXPECT_EQ(file.statements.back().line, 5);
    }
}

TEST(RegFile, KeyLinesDeletionsCommentsAndValuesWithoutAKey)
{
    const RegFile file = parseRegFile("REGEDIT4\n\"orphan\"=\"no key yet\"\n; [HKCU\\Commented]\n"
                                      "[hkcu\\Software\\\\Trailing\\]\n\"gone\"=-\n"
                                      "[-HKEY_CURRENT_USER\\Old]  ; with its subkeys\n\"under deletion\"=\"x\"\n"
                                      "[HKEY_NOWHERE\\K]\n\"under bad key\"=\"x\"\n[HKLM\\Unclosed\n[HKU\\K]\n@=-\n"
                                      "\"a \\\"b\\\"\"=\"x\"\n");
    const std::vector<Statement> expected = {
        {Kind::CreateKey, "HKEY_CURRENT_USER\\Software\\Trailing", "", {}, 4},
        {Kind::DeleteValue, "HKEY_CURRENT_USER\\Software\\Trailing", "gone", {}, 5},
        {Kind::DeleteKey, "HKEY_CURRENT_USER\\Old", "", {}, 6},
        {Kind::CreateKey, "HKEY_USERS\\K", "", {}, 11},
        {Kind::DeleteValue, "HKEY_USERS\\K", "", {}, 12},
        {Kind::SetValue, "HKEY_USERS\\K", "a \"b\"", text("x"), 13},
    };
    EXPECT_EQ(file.statements, expected);
    EXPECT_EQ(file.skippedLines, (std::vector<int>{2, 7, 8, 9, 10}));
    EXPECT_EQ(file.version, 4);
}

TEST(RegFile, RefusesAFileWithoutAHeader)
{
    const std::string notRegFiles[] = {
        "", "\xEF\xBB\xBF", "\xFF\xFE", "garbage\n[HKCU\\K]\n", "REGEDIT\n", "Windows Registry Editor Version 4.00\n",
        "\r\nREGEDIT4\r\n", " REGEDIT4\n", "regedit4\n", std::string("%PDF-1.4\n\0\x01\x02", 12),
    };
    for (const std::string& bytes : notRegFiles) {
        SCOPED_TRACE(bytes);
        try {
            parseRegFile(bytes, "/u/user.reg");
            ADD_FAILURE() << "accepted";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(std::to_string(e.number()) + " " + e.description(),
                      "440 Automation error (not a registry file: /u/user.reg)");
        }
    }
}

TEST(Registry, LaterStatementsOverrideAndDelete)
{
    Registry registry = Registry::fromRegFile(
        "REGEDIT4\n[HKCU\\A]\n\"x\"=\"1\"\n\"y\"=\"keep\"\n@=\"default\"\n\"n\"=dword:7\n\"e\"=hex(2):41,00\n"
        "[HKCU\\A\\B\\C]\n\"z\"=\"gone\"\n[hkey_current_user\\a]\n\"X\"=\"2\"\n\"y\"=-\n"
        "[-HKEY_CURRENT_USER\\A\\B]\n[HKCU\\A\\D]\n[HKCU\\A\\b]\n");
    registry.apply(parseRegFile("REGEDIT4\n[HKCU\\A\\D]\n\"w\"=\"second file\"\n").statements);
    const std::tuple<const char*, const char*, std::optional<std::string>> lookups[] = {
        {"hkcu\\a\\\\", "X", "2"}, {"HKCU\\A", "y", std::nullopt}, {"HKCU\\A", "", "default"},
        {"HKCU\\A", "n", std::nullopt}, {"HKCU\\A\\B\\C", "z", std::nullopt}, {"HKCU\\A\\D", "w", "second file"},
        {"HKCU\\A", "e", "A"}, {"HKLM\\A", "x", std::nullopt}, {"NOWHERE\\A", "x", std::nullopt},
    };
    for (const auto& [key, name, text] : lookups) {
        SCOPED_TRACE(std::string(key) + " " + name);
        EXPECT_EQ(registry.stringValue(key, name), text);
    }
    EXPECT_EQ(registry.subkeys("HKCU\\A"), (std::vector<std::string>{"D", "b"}));
    EXPECT_EQ(registry.subkeys("HKCU\\Missing"), std::vector<std::string>{});
}

const std::string Software = "HKEY_CURRENT_USER\\Software\\Microsoft\\";
const std::string ProfileKey = Software + "Windows Messaging Subsystem\\Profiles\\";
const std::string AccountsKey = Software + "Internet Account Manager\\Accounts\\";
const std::string First = "[" + ProfileKey + "]\n\"DefaultProfile\"=\"First\"\n";
const std::string Second = "[" + Software + "Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles]\n"
                           "\"DefaultProfile\"=\"Second\"\n";
const std::string Account = "[" + AccountsKey + "00000003]\n\"Account Name\"=\"Mail\"\n";

std::string defaultAccount(const char* key)
{
    return "[" + Software + "Internet Account Manager]\n\"Default Mail Account\"=\"" + key + "\"\n" + Account;
}

TEST(MailProfileName, TriesTheFourPlacesInOrder)
{
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {First + Second + defaultAccount("00000003"), "First"},
        {Second + defaultAccount("00000003"), "Second"},
        {"[" + ProfileKey + "]\n\"DefaultProfile\"=\"\"\n" + Second, ""},  // empty, yet there
        {"[" + ProfileKey + "]\n\"DefaultProfile\"=dword:1\n" + Second, "Second"},  // no text
        {defaultAccount("00000003"), "Mail"},
        {Account, std::nullopt},
        {defaultAccount("00000009"), std::nullopt},
    };
    for (const auto& [file, name] : cases) {
        SCOPED_TRACE(file);
        EXPECT_EQ(mailProfileName(Registry::fromRegFile("REGEDIT4\n" + file)), name);
    }
}

TEST(FindMailAccount, ReadsTheProfileOrTheAccountOfAName)
{
    const Registry registry = Registry::fromRegFile(
        "REGEDIT4\n[" + ProfileKey + "Office]\n\"SMTP Server\"=\"smtp.office.example\"\n\"SMTP Port\"=dword:0000024b\n"
        "\"SMTP Email Address\"=\"desk@office.example\"\n\"SMTP Display Name\"=\"Front Desk\"\n"
        "\"SMTP User Name\"=\"desk\"\n\"SMTP Secure Connection\"=dword:00000001\n"
        "[" + ProfileKey + "Dual]\n\"Other\"=\"no SMTP here\"\n"
        "[" + AccountsKey + "00000001]\n\"Account Name\"=\"News\"\n\"NNTP Server\"=\"news.example\"\n"
        "[" + AccountsKey + "00000002]\n\"Account Name\"=\"Home\"\n\"SMTP Server\"=\"smtp.home.example\"\n"
        "\"SMTP Email Address\"=\"me@home.example\"\n\"SMTP Port\"=\"465\"\n"
        "[" + AccountsKey + "00000003]\n\"Account Name\"=\"Office\"\n\"SMTP Server\"=\"wrong.example\"\n"
        "[" + AccountsKey + "00000004]\n\"Account Name\"=\"Dual\"\n\"SMTP Server\"=\"smtp.dual.example\"\n");
    const std::pair<const char*, std::optional<MailAccountSettings>> cases[] = {
        {"Office", MailAccountSettings{ProfileKey + "Office", "smtp.office.example", 587, "desk@office.example",
                                       "Front Desk", "desk", 1, 0, ""}},
        {"Home", MailAccountSettings{AccountsKey + "00000002", "smtp.home.example", 25, "me@home.example", "", "", 0, 0,
                                     "\"SMTP Port\" must be a dword from 1 to 65535, not the string \"465\""}},
        {"Dual", MailAccountSettings{AccountsKey + "00000004", "smtp.dual.example", 25, "", "", "", 0, 0, ""}},
        {"News", MailAccountSettings{AccountsKey + "00000001", "", 25, "", "", "", 0, 0, ""}},
        {"home", std::nullopt}, {"Nobody", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& [name, settings] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(findMailAccount(registry, name), settings);
    }
}

}  // namespace
}  // namespace zlt::registry
