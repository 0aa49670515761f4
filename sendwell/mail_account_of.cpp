#include "sendwell/mail_account_of.h"

#include <algorithm>

#include "common/registry/mail_account.h"
#include "platform/run_time_error.h"

namespace zlt::sendwell {

std::optional<MailAccount> mailAccountNamed(const registry::Registry& registry, const std::string& name)
{
    using namespace std::chrono;
    const auto settings = registry::findMailAccount(registry, name);
    if (!settings)
        return std::nullopt;
    if (!settings->problem.empty())
        throw RunTimeError(error_number::InvalidProcedureCall, "bad setting in the registry: " + settings->problem);
    MailAccount account;
    account.server = settings->server;
    account.port = static_cast<int>(settings->port);
    account.senderAddress = settings->emailAddress;
    account.senderName = settings->displayName;
    account.userName = settings->userName;
    if (settings->secureConnection == 1)
        account.security = account.port == 465 ? MailSecurity::ImplicitTls : MailSecurity::StartTls;
    if (settings->timeoutSeconds > 0)
        account.replyTimeout = seconds(std::min<std::uint32_t>(settings->timeoutSeconds, 3600));
    account.connectTimeout = std::min<milliseconds>(account.replyTimeout, seconds(20));
    return account;
}

}  // namespace zlt::sendwell
