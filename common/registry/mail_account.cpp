#include "common/registry/mail_account.h"

#include <string_view>
#include <variant>
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

// A value as it is written in a .reg file, to name it in a problem.
std::string writtenForm(const Value& value)
{
    if (const auto* text = std::get_if<std::string>(&value.data))
        return value.type == value_type::Unreadable ? *text : "the string \"" + *text + "\"";
    if (const auto* number = std::get_if<std::uint32_t>(&value.data))
        return std::to_string(*number);
    return "a value of type " + std::to_string(value.type);
}

// Reads one value into `out` when it is there, of its type and in range;
// tells of it in `problem` when it is there but is not.
class SettingsReader {
public:
    SettingsReader(const Registry& registry, MailAccountSettings& settings) : registry_(registry), settings_(settings) {}

    void text(const char* name, std::string& out)
    {
        if (const Value* value = registry_.value(settings_.key, name)) {
            if (const auto found = registry_.stringValue(settings_.key, name))
                out = *found;
            else
                bad(name, "a string", *value);
        }
    }
    void number(const char* name, std::uint32_t& out, std::uint32_t lowest, std::uint32_t highest, const char* range)
    {
        if (const Value* value = registry_.value(settings_.key, name)) {
            const auto found = registry_.dwordValue(settings_.key, name);
            if (found && *found >= lowest && *found <= highest)
                out = *found;
            else
                bad(name, range, *value);
        }
    }

private:
    void bad(const char* name, const char* should, const Value& value)
    {
        settings_.problem += (settings_.problem.empty() ? "\"" : "; \"") + std::string(name) + "\" must be " + should +
                             ", not " + writtenForm(value);
    }

    const Registry& registry_;
    MailAccountSettings& settings_;
};

MailAccountSettings readSettings(const Registry& registry, const std::string& key)
{
    MailAccountSettings settings;
    settings.key = key;
    settings.port = DefaultSmtpPort;
    SettingsReader read(registry, settings);
    read.text("SMTP Server", settings.server);
    read.number("SMTP Port", settings.port, 1, 65535, "a dword from 1 to 65535");
    read.text("SMTP Email Address", settings.emailAddress);
    read.text("SMTP Display Name", settings.displayName);
    read.text("SMTP User Name", settings.userName);
    read.number("SMTP Secure Connection", settings.secureConnection, 0, 1, "a dword 0 or 1");
    read.number("SMTP Timeout", settings.timeoutSeconds, 0, 0xFFFFFFFF, "a dword");
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
