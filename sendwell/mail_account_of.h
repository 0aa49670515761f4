#pragma once
// The SMTP account a profile or account name stands for, from the
// registry values Windows mail accounts use.
#include <optional>
#include <string>

#include "common/registry/registry.h"
#include "engines/mail/mail_transport.h"

namespace zlt::sendwell {

// "SMTP Secure Connection" 1: TLS from the first byte on port 465, else
// STARTTLS. "SMTP Timeout" (seconds, default 60) bounds each wait for the
// server; connecting waits at most 20 seconds of it. nullopt when the
// registry has no account of that name; InvalidProcedureCall, naming each
// bad value, for one whose values are of the wrong type or out of range.
std::optional<MailAccount> mailAccountNamed(const registry::Registry& registry, const std::string& name);

}  // namespace zlt::sendwell
