#pragma once
// The mail session of a Linux desktop: the session and message calls turned
// into SMTP submission through a mail transport, one connection a run.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engines/mail/mail_session.h"
#include "engines/mail/mail_transport.h"

namespace zlt {

// The account a profile or account name stands for; nullopt: none. A
// RunTimeError for one that cannot be used, its description the reason.
using MailAccountFinder = std::function<std::optional<MailAccount>(const std::string& name)>;

// Sign-on looks the user name up with `findAccount` and signs the
// transport on to it: an unknown name, an incomplete account or a server
// that does not answer leaves the session number 0. The transport must
// outlive the session.
std::unique_ptr<MailSession> makeTransportMailSession(MailTransport& transport, MailAccountFinder findAccount);

// The address in "smtp: a@b" (the type prefix and blanks taken off; the
// text as it is when it has no prefix).
std::string addressOfRecipient(const std::string& recipAddress);

}  // namespace zlt
