#pragma once
// One outgoing message as libcurl sends it: the header lines and the MIME
// body (the note as text/plain UTF-8, the attached file as base64).
#include <curl/curl.h>

#include <cstdint>
#include <memory>

#include "engines/mail/smtp/base64.h"
#include "engines/mail/smtp/curl_resources.h"
#include "engines/mail/mail_transport.h"
#include "platform/clock.h"

namespace zlt::mail {

// Date (`now`, local time with its offset), From, To, Subject and a
// Message-ID made unique by `randomBits` and the time.
List buildMailHeaders(const MailAccount& account, const MailMessage& message, std::uint64_t randomBits,
                      const LocalTime& now);

// The MIME body and the attached file it reads while the message goes out.
struct MailBody {
    std::unique_ptr<Base64FileReader> attachment;  // declared first: outlives the MIME tree reading it
    Mime mime;
};

// The note with CR LF line breaks, quoted-printable; the attachment opened
// now (its errno's RunTimeError when it cannot be read, and nothing is
// sent), read from its file while the message is sent, with our own
// Content-Disposition (libcurl then adds none) carrying the name the
// recipient sees. It may be sent more than once: libcurl rewinds it.
MailBody buildMailBody(CURL* handle, const MailMessage& message);

}  // namespace zlt::mail
