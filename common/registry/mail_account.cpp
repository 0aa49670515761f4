#include "common/registry/mail_account.h"

#include <string_view>
#include <vector>

namespace zlt::registry {

namespace {

constexpr std::string_view ProfilesKey =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Messaging Subsystem\\Profiles";
constexpr std::string_view NtProfilesKey =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";
constexpr std::string_view AccountManagerKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager";
constexpr std::string_view AccountsKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager\\Accounts";
constexpr std::uint32_t DefaultSmtpPort = 25;

MailAccountSettings readSettings(const Registry& registry, const std::string& key)
{
    MailAccountSettings settings;
    settings.key = key;
    settings.server = registry.stringValue(key, "SMTP Server").value_or("");
    settings.port = registry.dwordValue(key, "SMTP Port").value_or(DefaultSmtpPort);
    settings.emailAddress = registry.stringValue(key, "SMTP Email Address").value_or("");
    settings.displayName = registry.stringValue(key, "SMTP Display Name").value_or("");
    settings.userName = registry.stringValue(key, "SMTP User Name").value_or("");
    settings.secureConnection = registry.dwordValue(key, "SMTP Secure Connection").value_or(0);
    return settings;
}

}  // namespace

std::optional<std::string> mailProfileName(const Registry& registry)
{
    if (auto name = registry.stringValue(ProfilesKey, "DefaultProfile"))
        return name;
    if (auto name = registry.stringValue(NtProfilesKey, "DefaultProfile"))
        return name;
    const auto accountKey = registry.stringValue(AccountManagerKey, "Default Mail Account");
    if (!accountKey)
        return std::nullopt;
    return registry.stringValue(std::string(AccountsKey) + "\\" + *accountKey, "Account Name");
}

std::optional<MailAccountSettings> findMailAccount(const Registry& registry, const std::string& name)
{
    std::vector<std::string> candidates;
    // An empty name would make the Profiles key itself a profile.
    const std::string profileKey = std::string(ProfilesKey) + "\\" + name;
    if (!name.empty() && registry.hasKey(profileKey))
        candidates.push_back(profileKey);
    for (const std::string& account : registry.subkeys(AccountsKey)) {
        const std::string accountKey = std::string(AccountsKey) + "\\" + account;
        if (registry.stringValue(accountKey, "Account Name") == name)
            candidates.push_back(accountKey);
    }
    if (candidates.empty())
        return std::nullopt;
    for (const std::string& key : candidates) {
        if (registry.stringValue(key, "SMTP Server"))
            return readSettings(registry, key);
    }
    return readSettings(registry, candidates.front());
}

}  // namespace zlt::registry
