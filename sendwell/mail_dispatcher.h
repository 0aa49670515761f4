#pragma once
// The lines of one queued mail file turned into messages: headers begin
// them, body lines collect, a body past the part limit is split, and each
// message (each part) is composed on the mail session with its note and
// its body as a rich-text attachment, sent, logged and recorded.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/host_files.h"
#include "engines/mail/mail_session.h"
#include "platform/status_window.h"
#include "sendwell/dispatch_log.h"
#include "sendwell/host_paths.h"
#include "sendwell/send_journal.h"

namespace zlt::sendwell {

// A part is sent once its body holds more characters than this.
constexpr size_t PartLimit = 500'000;

struct DispatchContext {
    HostFiles& files;
    MailSession& mail;
    DispatchLog& log;
    StatusWindow& window;
    const CodePage& codePage;
    const HostPaths& paths;
    std::string bodyFont;  // "Courier" or "Courier New"
};

// The note: 50 spaces, the signature's lines, an empty line, the
// disclaimer's lines and the two fixed lines about margins; CR LF breaks.
std::string noteText(const std::string& signature, const std::string& disclaimer);

// The body as the rich-text file the recipient opens: every line in the
// body font at 9.75 points.
std::string bodyDocument(const std::string& body, const std::string& font, const CodePage& codePage);

class MailDispatcher {
public:
    explicit MailDispatcher(DispatchContext context);

    // A new file: nothing of the last file's messages carries into it.
    void beginFile(SendJournal& journal, std::int64_t fileLength);
    void processLine(std::string_view line);
    // The end of the file sends the message in progress.
    void endFile();

    // A message was refused for now: the file stays queued for the next
    // run to send that one again; the rest of the file still goes in this one.
    bool leftQueued() const { return leftQueued_; }
    // Whether the file held a header: text of a file without any reaches no one.
    bool sawHeader() const { return emailNumber_ > 0; }

private:
    void beginMessage(const std::string& line);
    void sendCurrentMessage(bool atEnd);
    void attachBody();
    void buildNoteText();
    void saveBodyBuffer();
    void appendToBody(const std::string& line);
    std::string messageTag(bool atEnd) const;
    std::string hostText(const std::string& utf8) const;

    DispatchContext context_;
    SendJournal* journal_ = nullptr;
    // The run's message state; a header sets it afresh.
    int partCount_ = 0;
    std::string mailBody_;
    std::string mailAddress_;
    std::string mailSubject_;
    std::string bodyBuffer_;  // the rich text saved last, written again when a message begins
    // This file's.
    int emailNumber_ = 0;
    int messagesSent_ = 0;  // every part counts: the record's numbering
    bool inMessage_ = false;
    bool leftQueued_ = false;
    std::int64_t fileLength_ = 0;
    std::int64_t bytesRead_ = 0;
};

}  // namespace zlt::sendwell
