#include "engines/mail/smtp/curl_mail_message.h"

#include <string>

#include "engines/mail/smtp/mail_header_text.h"

namespace zlt::mail {

List buildMailHeaders(const MailAccount& account, const MailMessage& message, std::uint64_t randomBits,
                      const LocalTime& now)
{
    const std::int64_t milliseconds = unixMilliseconds(now);
    List headers;
    append(headers, "Date: " + formatMailDate(milliseconds / 1000, now.utcOffsetSeconds));
    append(headers, "From: " + mailboxHeader(account.senderName, account.senderAddress));
    append(headers, "To: " + message.recipient);
    append(headers, "Subject: " + unstructuredHeader(message.subject));
    append(headers, "Message-ID: " + messageId(randomBits, milliseconds, account.senderAddress));
    return headers;
}

Mime buildMailBody(CURL* handle, const MailMessage& message)
{
    Mime mime(curl_mime_init(handle));
    if (!mime)
        throw RunTimeError(error_number::OutOfMemory);
    const std::string note = withCrLf(message.noteText);
    curl_mimepart* notePart = curl_mime_addpart(mime.get());
    check(curl_mime_data(notePart, note.data(), note.size()), "building the note");
    check(curl_mime_type(notePart, "text/plain; charset=utf-8"), "building the note");
    check(curl_mime_encoder(notePart, "quoted-printable"), "building the note");
    if (message.attachment) {
        const auto& attachment = *message.attachment;
        curl_mimepart* filePart = curl_mime_addpart(mime.get());
        check(curl_mime_filedata(filePart, attachment.path.c_str()), "attaching the file");
        check(curl_mime_type(filePart, attachment.contentType.c_str()), "attaching the file");
        check(curl_mime_encoder(filePart, "base64"), "attaching the file");
        List partHeaders;
        append(partHeaders, "Content-Disposition: " + attachmentDisposition(attachment.fileName));
        check(curl_mime_headers(filePart, partHeaders.get(), 1), "attaching the file");
        static_cast<void>(partHeaders.release());  // the part owns it now
    }
    return mime;
}

}  // namespace zlt::mail
