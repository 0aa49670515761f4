#include "sendwell/message_sender.h"

#include "sendwell/message_content.h"
#include "sendwell/sign_padded.h"

namespace zlt::sendwell {

namespace {

// A server's reply on one log line.
std::string oneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

std::string messageTag(const MessagePart& part, bool atEnd)
{
    return " {Email" + signPadded(part.emailNumber) + (atEnd ? "" : " part" + signPadded(part.partCount)) + "}";
}

}  // namespace

MessageSender::MessageSender(SenderContext context)
    : context_(std::move(context)), bodyDocument_(bodyDocument("", context_.bodyFont, context_.codePage))
{
}

void MessageSender::beginFile(SendJournal& journal)
{
    journal_ = &journal;
    messagesOfFile_ = 0;
    leftQueued_ = false;
}

void MessageSender::begin(const MessagePart& part)
{
    if (accountRefused_)
        return;  // the run stops at this line: nothing more goes for this account
    MailSession& mail = context_.mail;
    const CodePage& codePage = context_.codePage;
    mail.compose();
    context_.log.status("Setting up outgoing mail process");
    mail.setRecipDisplayName(codePage.toUtf8(part.address));
    mail.setRecipAddress("smtp: " + codePage.toUtf8(part.address));
    mail.setMsgSubject(codePage.toUtf8(part.subject));
    if (part.partCount > 0)
        mail.setMsgSubject(mail.msgSubject() + " (Part" + signPadded(part.partCount + 1) + ")");
    mail.setMsgReceiptRequested(false);
    setNoteText(part.partCount);
    // The part's attachment file is written now, before its body is known,
    // with the rich text saved last (an empty document at the run's first
    // message): the file is there from the moment the message is begun, as
    // the host's tools have always found it. Sending writes it again with
    // this part's own body. When it was saved there last, it is there already.
    if (part.partCount != savedPart_)
        saveBodyDocument(part.partCount);
}

void MessageSender::setNoteText(int partCount)
{
    DispatchLog& log = context_.log;
    log.status("Loading ZELTO signature mail message");
    const std::string signature = readAll(*context_.files.openRead(context_.paths.signatureFile()));
    log.status("Loading ZELTO dialogue mail message");
    const std::string disclaimer = readAll(*context_.files.openRead(context_.paths.disclaimerFile()));
    log.status("Constructing email body for EMAIL" + std::to_string(partCount) + ".RTF");
    context_.mail.setMsgNoteText(context_.codePage.toUtf8(noteText(signature, disclaimer)));
}

std::string MessageSender::saveBodyDocument(int partCount)
{
    // Written over in place rather than emptied first, which would make ext4
    // write it out to disk at its close: a disk write a message.
    const std::string path = context_.files.resolve(context_.paths.attachmentFile(partCount));
    // Read back at once by the mail session: no need to sync it.
    context_.files.fileSystem().openWrite(path, WriteMode::Overwrite)->write(bodyDocument_);
    savedPart_ = partCount;
    return path;
}

void MessageSender::unusableHeader(std::string_view line)
{
    context_.log.status("Email header without its address and subject; its text is not sent: " + std::string(line));
}

void MessageSender::send(const MessagePart& part, bool atEnd)
{
    const int message = ++messagesOfFile_;
    const std::string what = part.subject + messageTag(part, atEnd);
    DispatchLog& log = context_.log;
    if (journal_->isDone(message)) {
        log.status(part.address + " already sent " + what + " in an earlier run");
        return;
    }
    MailSession& mail = context_.mail;
    bodyDocument_ = bodyDocument(part.body, context_.bodyFont, context_.codePage);
    const std::string attachment = saveBodyDocument(part.partCount);
    mail.setAttachmentIndex(mail.attachmentCount());
    mail.setAttachmentPathName(attachment);
    mail.setAttachmentType(0);

    const MailDelivery delivery = mail.send(false);
    const std::string reply = context_.codePage.fromUtf8(
        oneLine(delivery.replyCode ? std::to_string(delivery.replyCode) + " " + delivery.replyText : delivery.replyText));
    // An address no server takes may be any length; the log keeps its start.
    const std::string who = part.address.size() <= 254 ? part.address : part.address.substr(0, 64) + "...";
    switch (delivery.verdict) {
    case MailVerdict::Accepted:
        journal_->markDone(message);
        log.status(who + " sent " + what);
        break;
    case MailVerdict::RefusedForGood:
        journal_->markDone(message);
        log.status(who + " not sent " + what + ": refused for good" + (delivery.replyCode ? " by the server: " : ": ") + reply);
        break;
    case MailVerdict::RefusedForNow:
        leftQueued_ = true;
        log.status(who + " not sent " + what + ": refused for now: " + reply);
        break;
    case MailVerdict::AccountRefused:
        leftQueued_ = accountRefused_ = true;
        log.status(who + " not sent " + what + ": the server refused the account: " + reply);
        break;
    }
}

}  // namespace zlt::sendwell
