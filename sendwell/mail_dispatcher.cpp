#include "sendwell/mail_dispatcher.h"

#include "common/rtf/rtf_writer.h"
#include "sendwell/mail_header.h"
#include "platform/text_lines.h"
#include "sendwell/sign_padded.h"

namespace zlt::sendwell {

namespace {

const std::string CrLf = "\r\n";

// A server's reply on one log line.
std::string oneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

}  // namespace

std::string noteText(const std::string& signature, const std::string& disclaimer)
{
    std::string note = std::string(50, ' ') + CrLf;
    for (const std::string_view line : textLines(signature))
        (note += line) += CrLf;
    note += CrLf;
    for (const std::string_view line : textLines(disclaimer))
        (note += line) += CrLf;
    note += CrLf + " To make this report MS Word friendly you" + CrLf + " may need to adjust your horizontal margins." + CrLf;
    return note;
}

std::string bodyDocument(const std::string& body, const std::string& font, const CodePage& codePage)
{
    rtf::Writer writer(codePage, rtf::Font {font, rtf::FontFamily::Modern, true});
    writer.setPoints(9.75);
    writer.write(body);
    return writer.document();
}

MailDispatcher::MailDispatcher(DispatchContext context)
    : context_(std::move(context)), bodyBuffer_(bodyDocument("", context_.bodyFont, context_.codePage))
{
}

void MailDispatcher::beginFile(SendJournal& journal, std::int64_t fileLength)
{
    journal_ = &journal;
    emailNumber_ = 0;
    messagesSent_ = 0;
    inMessage_ = false;
    leftQueued_ = false;
    fileLength_ = fileLength;
    bytesRead_ = 0;
    mailBody_.clear();
}

void MailDispatcher::processLine(std::string_view rawLine)
{
    bytesRead_ += static_cast<std::int64_t>(rawLine.size());
    const std::int64_t percent = fileLength_ > 0 ? bytesRead_ * 100 / fileLength_ : 0;
    context_.window.setProgress(signPadded(percent) + "%");

    const std::string line = withoutPrinterPrefix(rawLine);
    const bool header = isHeaderLine(line);
    const bool partChange = inMessage_ && partCount_ > 0 && mailBody_.size() > PartLimit;
    if (!header && !partChange) {
        // Text outside a message (before the first header, or after a
        // header that names no one) reaches no one.
        if (inMessage_)
            appendToBody(line);
        context_.window.processEvents();
        return;
    }
    if (inMessage_)
        sendCurrentMessage(false);
    if (header)
        partCount_ = 0;
    beginMessage(line);
    mailBody_.clear();
    // The line that showed the part change is the next part's first.
    if (!header && inMessage_)
        appendToBody(line);
}

void MailDispatcher::appendToBody(const std::string& line)
{
    mailBody_ += line;
    mailBody_ += CrLf;
    if (mailBody_.size() > PartLimit)
        ++partCount_;
}

void MailDispatcher::endFile()
{
    if (inMessage_ && !mailBody_.empty())
        sendCurrentMessage(true);
    inMessage_ = false;
}

void MailDispatcher::beginMessage(const std::string& line)
{
    MailSession& mail = context_.mail;
    mail.compose();
    context_.log.status("Setting up outgoing mail process");
    if (partCount_ == 0) {
        ++emailNumber_;
        const auto header = parseHeader(line);
        inMessage_ = header.has_value();
        if (!header) {
            context_.log.status("Email header without its address and subject; its text is not sent: " + line);
            return;
        }
        mailAddress_ = header->address;
        mailSubject_ = header->subject;
    }
    mail.setRecipDisplayName(context_.codePage.toUtf8(mailAddress_));
    mail.setRecipAddress("smtp: " + context_.codePage.toUtf8(mailAddress_));
    mail.setMsgSubject(context_.codePage.toUtf8(mailSubject_));
    if (partCount_ > 0)
        mail.setMsgSubject(mail.msgSubject() + " (Part" + signPadded(partCount_ + 1) + ")");
    mail.setMsgReceiptRequested(false);
    buildNoteText();
}

void MailDispatcher::buildNoteText()
{
    DispatchLog& log = context_.log;
    log.status("Loading ZELTO signature mail message");
    const std::string signature = readAll(*context_.files.openRead(context_.paths.signatureFile()));
    log.status("Loading ZELTO dialogue mail message");
    const std::string disclaimer = readAll(*context_.files.openRead(context_.paths.disclaimerFile()));
    log.status("Constructing email body for EMAIL" + std::to_string(partCount_) + ".RTF");
    context_.mail.setMsgNoteText(context_.codePage.toUtf8(noteText(signature, disclaimer)));
    saveBodyBuffer();
}

void MailDispatcher::saveBodyBuffer()
{
    // Read back at once by the mail session: no need to sync it.
    context_.files.openWrite(context_.paths.attachmentFile(partCount_), WriteMode::Replace)->write(bodyBuffer_);
}

void MailDispatcher::attachBody()
{
    bodyBuffer_ = bodyDocument(mailBody_, context_.bodyFont, context_.codePage);
    saveBodyBuffer();
    MailSession& mail = context_.mail;
    mail.setAttachmentIndex(mail.attachmentCount());
    mail.setAttachmentPathName(context_.files.resolve(context_.paths.attachmentFile(partCount_)));
    mail.setAttachmentType(0);
}

std::string MailDispatcher::messageTag(bool atEnd) const
{
    return " {Email" + signPadded(emailNumber_) + (atEnd ? "" : " part" + signPadded(partCount_)) + "}";
}

std::string MailDispatcher::hostText(const std::string& utf8) const
{
    return context_.codePage.fromUtf8(oneLine(utf8));
}

void MailDispatcher::sendCurrentMessage(bool atEnd)
{
    const int message = ++messagesSent_;
    const std::string tag = messageTag(atEnd);
    if (journal_->isDone(message)) {
        context_.log.status(mailAddress_ + " already sent " + mailSubject_ + tag + " in an earlier run");
        return;
    }
    attachBody();
    const MailDelivery delivery = context_.mail.send(false);
    const std::string reply =
        hostText(delivery.replyCode ? std::to_string(delivery.replyCode) + " " + delivery.replyText : delivery.replyText);
    if (delivery.accepted) {
        journal_->markDone(message);
        context_.log.status(mailAddress_ + " sent " + mailSubject_ + tag);
    } else if (delivery.refusedForGood()) {
        journal_->markDone(message);
        context_.log.status(mailAddress_ + " not sent " + mailSubject_ + tag + ": refused for good by the server: " + reply);
    } else {
        leftQueued_ = true;
        context_.log.status(mailAddress_ + " not sent " + mailSubject_ + tag + ": refused for now: " + reply);
    }
}

}  // namespace zlt::sendwell
