#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "engines/mail/mail_session.h"
#include "platform/run_time_error.h"

namespace zlt::testing {

// Test double of the mail session: writes each call with its value, in
// order, into a log other doubles may share ("compose", "recipAddress smtp:
// a@b", "send false" ...), and keeps every message sent with its attachment
// as the file was at the send, read from the file system the program writes
// to. Deliveries are scripted by recipient address.
class RecordingMailSession : public MailSession {
public:
    RecordingMailSession(std::vector<std::string>& log, FileSystem& files) : log_(log), files_(files) {}

    struct Sent {
        std::string recipient, subject, note, attachmentPath, attachmentBytes;
    };

    // Script.
    std::uint32_t sessionNumber = 1;  // 0: the sign-on fails
    std::map<std::string, MailDelivery> deliveries;  // by address; others are accepted

    // Record.
    std::vector<Sent> sent;

    void setDownloadMail(bool download) override { record("downloadMail", download); }
    void setUserName(const std::string& name) override
    {
        record("userName " + name);
        userName_ = name;
    }
    std::string userName() const override { return userName_; }
    void signOn() override
    {
        record("signOn");
        session_ = sessionNumber;
    }
    std::uint32_t sessionId() const override { return session_; }
    std::string signOnProblem() const override { return session_ ? "" : "the server did not answer"; }
    void signOff() override
    {
        record("signOff");
        session_ = 0;
    }

    void setMessagesSessionId(std::uint32_t id) override { record("messagesSessionId " + std::to_string(id)); }
    void compose() override
    {
        record("compose");
        message_ = {};
        attachments_ = 0;
    }
    void setRecipDisplayName(const std::string& name) override { record("recipDisplayName " + name); }
    void setRecipAddress(const std::string& address) override
    {
        record("recipAddress " + address);
        message_.recipient = address;
    }
    void setMsgSubject(const std::string& subject) override
    {
        record("msgSubject " + subject);
        message_.subject = subject;
    }
    std::string msgSubject() const override { return message_.subject; }
    void setMsgReceiptRequested(bool requested) override { record("msgReceiptRequested", requested); }
    void setMsgNoteText(const std::string& text) override
    {
        record("msgNoteText");
        message_.note = text;
    }
    int attachmentCount() const override { return attachments_; }
    void setAttachmentIndex(int index) override { record("attachmentIndex " + std::to_string(index)); }
    void setAttachmentPathName(const std::string& path) override
    {
        record("attachmentPathName " + path);
        message_.attachmentPath = path;
        attachments_ = 1;
    }
    void setAttachmentType(int type) override { record("attachmentType " + std::to_string(type)); }
    MailDelivery send(bool showDialog) override
    {
        record("send", showDialog);
        if (session_ == 0)
            throw RunTimeError(error_number::InvalidProcedureCall);
        Sent copy = message_;
        if (!copy.attachmentPath.empty()) {
            copy.attachmentBytes = readAll(*files_.openRead(copy.attachmentPath));
        }
        sent.push_back(copy);
        const std::string address = copy.recipient.substr(copy.recipient.find(' ') + 1);
        const auto scripted = deliveries.find(address);
        return scripted == deliveries.end() ? MailDelivery {true, 250, "OK"} : scripted->second;
    }

private:
    void record(const std::string& call) { log_.push_back(call); }
    void record(const std::string& call, bool value) { log_.push_back(call + (value ? " true" : " false")); }

    std::vector<std::string>& log_;
    FileSystem& files_;
    std::string userName_;
    std::uint32_t session_ = 0;
    Sent message_;
    int attachments_ = 0;
};

}  // namespace zlt::testing
