#include "engines/mail/smtp/curl_mail_message.h"

#include <chrono>
#include <ctime>
#include <string>

#include "engines/mail/smtp/mail_header_text.h"

namespace zlt::mail {

namespace {

std::string mailDateNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    const long offset = localtime_r(&now, &local) ? local.tm_gmtoff : 0;
    return formatMailDate(now, static_cast<int>(offset));
}

}  // namespace

List buildMailHeaders(const MailAccount& account, const MailMessage& message, std::uint64_t randomBits)
{
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    List headers;
    append(headers, "Date: " + mailDateNow());
    append(headers, "From: " + mailboxHeader(account.senderName, account.senderAddress));
    append(headers, "To: " + message.recipient);
    append(headers, "Subject: " + unstructuredHeader(message.subject));
    append(headers, "Message-ID: " + messageId(randomBits, milliseconds.count(), account.senderAddress));
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
