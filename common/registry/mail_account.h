#pragma once
// The mail account Sendwell signs on with, found in the registry: the
// default profile or account name, then the account's SMTP settings under
// the value names Windows mail accounts use.
#include <cstdint>
#include <optional>
#include <string>

#include "common/registry/registry.h"

namespace zlt::registry {

struct MailAccountSettings {
    std::string key;  // where the settings were read
    std::string server;  // "SMTP Server"
    std::uint32_t port = 25;  // "SMTP Port"
    std::string emailAddress;  // "SMTP Email Address", the sender
    std::string displayName;  // "SMTP Display Name", the sender's name
    std::string userName;  // "SMTP User Name"; empty: no sign-in
    std::uint32_t secureConnection = 0;  // "SMTP Secure Connection": 1 for TLS
    std::uint32_t timeoutSeconds = 0;  // "SMTP Timeout"; 0: the default
    // The values there of the wrong type or out of range, each named with
    // what it should be and what it is; empty when every one can be used.
    std::string problem;

    bool operator==(const MailAccountSettings&) const = default;
};

// The sign-on name, tried in this order under HKEY_CURRENT_USER:
//   1. Software\Microsoft\Windows Messaging Subsystem\Profiles, "DefaultProfile"
//   2. Software\Microsoft\Windows NT\CurrentVersion\Windows Messaging Subsystem\Profiles, "DefaultProfile"
//   3. Software\Microsoft\Internet Account Manager, "Default Mail Account", the key of
//   4. ...\Internet Account Manager\Accounts\<that key>, "Account Name".
// The first of 1 and 2 that is there is the name, even when it is empty;
// without either, the name is the one of 4, and there is none when 3 or 4
// is missing. Only string values count.
std::optional<std::string> mailProfileName(const Registry& registry);

// The settings of the account a name names: the profile key
// ...\Windows Messaging Subsystem\Profiles\<name>, then each key under
// ...\Internet Account Manager\Accounts\ whose "Account Name" is exactly the
// name, in file order. The first of these that holds "SMTP Server" wins;
// when none does, the first that exists (its settings incomplete, for the
// sign-on to reject); nullopt when there is none. A bad value is never
// taken as missing: it is told of in problem.
std::optional<MailAccountSettings> findMailAccount(const Registry& registry, const std::string& name);

}  // namespace zlt::registry
