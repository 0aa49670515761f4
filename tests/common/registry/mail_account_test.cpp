// The sign-on name in the order of its four registry places, and the
// account settings a name leads to.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/registry/mail_account.h"

namespace zlt::registry {
namespace {

const std::string Profiles = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Messaging Subsystem\\Profiles]\n";
const std::string NtProfiles =
    "[HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles]\n";
const std::string Manager = "[HKCU\\Software\\Microsoft\\Internet Account Manager]\n";
const std::string Account = "[HKCU\\Software\\Microsoft\\Internet Account Manager\\Accounts\\00000003]\n";

struct NameCase {
    const char* what;
    std::string file;
    std::optional<std::string> name;
};

const NameCase NameCases[] = {
    {"all four: the first profile",
     Profiles + "\"DefaultProfile\"=\"First\"\n" + NtProfiles + "\"DefaultProfile\"=\"Second\"\n" + Manager +
         "\"Default Mail Account\"=\"00000003\"\n" + Account + "\"Account Name\"=\"Mail\"\n",
     "First"},
    {"second profile before the account",
     NtProfiles + "\"DefaultProfile\"=\"Second\"\n" + Manager + "\"Default Mail Account\"=\"00000003\"\n" + Account +
         "\"Account Name\"=\"Mail\"\n",
     "Second"},
    {"an empty first profile is found", Profiles + "@=\"\"\n\"DefaultProfile\"=\"\"\n" + NtProfiles +
                                            "\"DefaultProfile\"=\"Second\"\n", ""},
    {"a first profile that is no text", Profiles + "\"DefaultProfile\"=dword:1\n" + NtProfiles +
                                            "\"DefaultProfile\"=\"Second\"\n", "Second"},
    {"the default account's name",
     Manager + "\"Default Mail Account\"=\"00000003\"\n" + Account + "\"Account Name\"=\"Mail\"\n", "Mail"},
    {"default account's key case-blind",
     Manager + "\"Default Mail Account\"=\"00000003\"\n" + Account + "\"account name\"=\"Mail\"\n", "Mail"},
    {"default account without a name", Manager + "\"Default Mail Account\"=\"00000003\"\n" + Account, std::nullopt},
    {"account name without a default account", Account + "\"Account Name\"=\"Mail\"\n", std::nullopt},
    {"default account pointing elsewhere",
     Manager + "\"Default Mail Account\"=\"00000009\"\n" + Account + "\"Account Name\"=\"Mail\"\n", std::nullopt},
    {"nothing", Profiles, std::nullopt},
};

TEST(MailProfileName, TriesTheFourPlacesInOrder)
{
    for (const NameCase& c : NameCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(mailProfileName(Registry::fromRegFile("REGEDIT4\n" + c.file)), c.name);
    }
}

const std::string ProfileKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Messaging Subsystem\\Profiles\\";
const std::string AccountsKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager\\Accounts\\";

TEST(FindMailAccount, ReadsTheProfileOrTheAccountOfAName)
{
    const Registry registry = Registry::fromRegFile(
        "Windows Registry Editor Version 5.00\n"
        "[" + ProfileKey + "Office]\n\"SMTP Server\"=\"smtp.office.example\"\n\"SMTP Port\"=dword:0000024b\n"
        "\"SMTP Email Address\"=\"desk@office.example\"\n\"SMTP Display Name\"=\"Front Desk\"\n"
        "\"SMTP User Name\"=\"desk\"\n\"SMTP Secure Connection\"=dword:00000001\n"
        "[" + ProfileKey + "Dual]\n\"Other\"=\"no SMTP here\"\n"
        "[" + AccountsKey + "00000001]\n\"Account Name\"=\"News\"\n\"NNTP Server\"=\"news.example\"\n"
        "[" + AccountsKey + "00000002]\n\"Account Name\"=\"Home\"\n\"SMTP Server\"=\"smtp.home.example\"\n"
        "\"SMTP Email Address\"=\"me@home.example\"\n\"SMTP Port\"=\"465\"\n"
        "[" + AccountsKey + "00000003]\n\"Account Name\"=\"Office\"\n\"SMTP Server\"=\"wrong.example\"\n"
        "[" + AccountsKey + "00000004]\n\"Account Name\"=\"Dual\"\n\"SMTP Server\"=\"smtp.dual.example\"\n");
    const struct {
        const char* name;
        std::optional<MailAccountSettings> settings;
    } cases[] = {
        {"Office", MailAccountSettings{ProfileKey + "Office", "smtp.office.example", 587, "desk@office.example",
                                       "Front Desk", "desk", 1}},
        {"Home", MailAccountSettings{AccountsKey + "00000002", "smtp.home.example", 25, "me@home.example", "", "", 0}},
        {"Dual", MailAccountSettings{AccountsKey + "00000004", "smtp.dual.example", 25, "", "", "", 0}},
        {"News", MailAccountSettings{AccountsKey + "00000001", "", 25, "", "", "", 0}},
        {"home", std::nullopt},
        {"Nobody", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(findMailAccount(registry, c.name), c.settings);
    }
}

}  // namespace
}  // namespace zlt::registry
