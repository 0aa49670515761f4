#pragma once
// How each message of a mail file goes out: composed on the mail session
// with its note and its body as a rich-text attachment, sent, logged, and
// recorded so that no later run sends it again.
#include <string>
#include <string_view>

#include "engines/mail/mail_session.h"
#include "platform/code_page.h"
#include "platform/host_files.h"
#include "sendwell/dispatch_log.h"
#include "sendwell/host_paths.h"
#include "sendwell/message_assembler.h"
#include "sendwell/send_journal.h"

namespace zlt::sendwell {

struct SenderContext {
    HostFiles& files;
    MailSession& mail;
    DispatchLog& log;
    const CodePage& codePage;
    const HostPaths& paths;
    std::string bodyFont;  // "Courier" or "Courier New"
};

class MessageSender : public MessageOutbox {
public:
    explicit MessageSender(SenderContext context);

    // A new file, with its record of the messages already done.
    void beginFile(SendJournal& journal);
    // A message was refused for now: the file stays queued for the next
    // run to send that one again; the rest of the file still goes in this one.
    bool leftQueued() const { return leftQueued_; }
    // The server refused the sender or the session: nothing more of this
    // run's mail can go, and none of it is filed as sent.
    bool accountRefused() const { return accountRefused_; }

    void begin(const MessagePart& part) override;
    void send(const MessagePart& part, bool atEnd) override;
    void unusableHeader(std::string_view line) override;

private:
    void setNoteText(int partCount);
    // Where it went, as a Linux path.
    std::string saveBodyDocument(int partCount);

    SenderContext context_;
    SendJournal* journal_ = nullptr;
    std::string bodyDocument_;  // the rich text saved last
    int savedPart_ = -1;        // the attachment file it was saved to, by part number
    int messagesOfFile_ = 0;    // every part counts: the record's numbering
    bool leftQueued_ = false;
    bool accountRefused_ = false;
};

}  // namespace zlt::sendwell
