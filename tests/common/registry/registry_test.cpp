// Lookups in the keys a .reg file builds: a file exactly as the Windows
// registry editor exports it, overrides, deletions and case-blind names.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/registry/registry.h"

namespace zlt::registry {
namespace {

// The bytes of a 5.00 export: UTF-16LE behind a byte-order mark.
std::string utf16leFile(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST(Registry, ReadsAWindowsExport)
{
    const Registry registry = Registry::fromRegFile(utf16leFile(
        u"Windows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager\\Accounts\\00000002]\r\n"
        u"\"Account Name\"=\"Caf\u00e9 M\u00fcller \U0001F4EE\"\r\n"
        u"\"SMTP Port\"=dword:0000024b\r\n"
        u"\"Signature\"=hex(2):25,00,55,00,53,00,45,00,52,00,50,00,52,00,4f,00,46,00,49,00,\\\r\n"
        u"  4c,00,45,00,25,00,00,00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager\\Accounts\\00000001]\r\n\r\n"));
    const std::string key = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager\\Accounts\\00000002";
    EXPECT_EQ(registry.stringValue(key, "Account Name"), "Caf\u00e9 M\u00fcller \U0001F4EE");
    EXPECT_EQ(registry.dwordValue(key, "SMTP Port"), 587u);
    EXPECT_EQ(registry.stringValue(key, "Signature"), "%USERPROFILE%");
    EXPECT_EQ(registry.subkeys("HKCU\\Software\\Microsoft\\Internet Account Manager\\Accounts"),
              (std::vector<std::string>{"00000002", "00000001"}));
    EXPECT_EQ(registry.subkeys("HKCU\\Software\\Microsoft"), (std::vector<std::string>{"Internet Account Manager"}));
}

struct Lookup {
    const char* key;
    const char* name;
    std::optional<std::string> text;
};

TEST(Registry, LaterStatementsOverrideAndDelete)
{
    Registry registry = Registry::fromRegFile("REGEDIT4\n"
                                              "[HKCU\\A]\n\"x\"=\"1\"\n\"y\"=\"keep\"\n@=\"default\"\n\"n\"=dword:7\n"
                                              "[HKCU\\A\\B\\C]\n\"z\"=\"gone\"\n"
                                              "[hkey_current_user\\a]\n\"X\"=\"2\"\n\"y\"=-\n"
                                              "[-HKEY_CURRENT_USER\\A\\B]\n"
                                              "[HKCU\\A\\D]\n[HKCU\\A\\b]\n");
    registry.apply(parseRegFile("REGEDIT4\n[HKCU\\A\\D]\n\"w\"=\"second file\"\n").statements);
    const Lookup lookups[] = {
        {"HKEY_CURRENT_USER\\A", "x", "2"},
        {"hkcu\\a\\\\", "X", "2"},
        {"HKCU\\A", "y", std::nullopt},
        {"HKCU\\A", "", "default"},
        {"HKCU\\A", "n", std::nullopt},
        {"HKCU\\A\\B\\C", "z", std::nullopt},
        {"HKCU\\A\\D", "w", "second file"},
        {"HKLM\\A", "x", std::nullopt},
        {"NOWHERE\\A", "x", std::nullopt},
    };
    for (const Lookup& l : lookups) {
        SCOPED_TRACE(std::string(l.key) + " " + l.name);
        EXPECT_EQ(registry.stringValue(l.key, l.name), l.text);
    }
    EXPECT_EQ(registry.dwordValue("HKCU\\A", "n"), 7u);
    EXPECT_EQ(registry.dwordValue("HKCU\\A", "x"), std::nullopt);
    EXPECT_FALSE(registry.hasKey("HKCU\\A\\B\\C"));
    EXPECT_TRUE(registry.hasKey("HKCU\\A\\B"));
    EXPECT_EQ(registry.subkeys("HKCU\\A"), (std::vector<std::string>{"D", "b"}));
    EXPECT_EQ(registry.subkeys("HKCU\\Missing"), std::vector<std::string>{});
}

}  // namespace
}  // namespace zlt::registry
