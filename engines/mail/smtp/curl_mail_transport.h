#pragma once
// The mail transport of a Linux desktop: SMTP submission through libcurl.
#include <memory>
#include <string>

#include "engines/mail/mail_transport.h"
#include "platform/clock.h"

namespace zlt {

// `netrcPath` is where the password of an account with a user name and no
// password is looked up, by server name and user name (the caller passes
// $HOME/.netrc). The first transport made initialises libcurl for the
// process, which is not thread-safe: make it before starting threads that
// use libcurl. `clock` dates the messages and must outlive the transport.
// Throws RunTimeError when libcurl cannot be initialised.
std::unique_ptr<MailTransport> makeCurlMailTransport(std::string netrcPath, Clock& clock);

}  // namespace zlt
