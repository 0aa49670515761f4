#include "engines/mail/smtp/curl_mail_message.h"

#include <cstdio>
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

namespace {

// libcurl's own base64 encoder reads a file 256 bytes at a time and sends
// each piece on its own; this reader fills whatever libcurl asks for.
std::size_t readAttachment(char* buffer, std::size_t size, std::size_t count, void* reader)
{
    try {
        return static_cast<Base64FileReader*>(reader)->read(buffer, size * count);
    } catch (const RunTimeError&) {
        return CURL_READFUNC_ABORT;
    }
}

int rewindAttachment(void* reader, curl_off_t offset, int origin)
{
    if (offset != 0 || origin != SEEK_SET)
        return CURL_SEEKFUNC_CANTSEEK;
    try {
        static_cast<Base64FileReader*>(reader)->rewind();
        return CURL_SEEKFUNC_OK;
    } catch (const RunTimeError&) {
        return CURL_SEEKFUNC_FAIL;
    }
}

}  // namespace

MailBody buildMailBody(CURL* handle, const MailMessage& message)
{
    MailBody body;
    if (message.attachment)
        body.attachment = std::make_unique<Base64FileReader>(message.attachment->path);
    body.mime.reset(curl_mime_init(handle));
    const Mime& mime = body.mime;
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
        // Its exact size lets libcurl go on to the closing boundary in the same read.
        check(curl_mime_data_cb(filePart, body.attachment->encodedSize(), readAttachment, rewindAttachment, nullptr,
                                body.attachment.get()), "attaching the file");
        check(curl_mime_type(filePart, attachment.contentType.c_str()), "attaching the file");
        List partHeaders;
        append(partHeaders, "Content-Disposition: " + attachmentDisposition(attachment.fileName));
        append(partHeaders, "Content-Transfer-Encoding: base64");
        check(curl_mime_headers(filePart, partHeaders.get(), 1), "attaching the file");
        static_cast<void>(partHeaders.release());  // the part owns it now
    }
    return body;
}

}  // namespace zlt::mail
