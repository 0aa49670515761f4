#pragma once
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engines/mail/mail_transport.h"
#include "platform/run_time_error.h"

namespace zlt::testing {

// Test double of the mail transport: writes each call, in order, into a log
// that other doubles may share ("signOn <server>:<port> <sender>",
// "send <recipient> | <subject> | <attachment name, or ->", "signOff") and
// keeps the values handed in. Scripted failures are thrown after the call is
// logged; like the real transport, send needs a session and reads the
// attached file at once (a file it cannot read is the errno's error and
// nothing is sent).
class RecordingMailTransport : public MailTransport {
public:
    explicit RecordingMailTransport(std::vector<std::string>& log) : log_(log) {}

    struct Sent {
        MailMessage message;
        std::optional<std::string> attachmentBytes;  // as the file was at the call
        std::optional<MailDelivery> delivery;        // none when a failure was thrown
    };

    // Script.
    std::uint32_t sessionNumber = 1;
    std::optional<RunTimeError> signOnFailure;
    std::map<std::string, MailDelivery> refusals;    // by recipient
    std::map<std::string, RunTimeError> failures;    // by recipient: a lost connection ...

    // Record.
    std::vector<MailAccount> accounts;  // of every sign-on
    std::vector<Sent> sent;             // every message that reached the server
    bool signedOn() const { return signedOn_; }

    std::uint32_t signOn(const MailAccount& account) override
    {
        log_.push_back("signOn " + account.server + ":" + std::to_string(account.port) + " " + account.senderAddress);
        accounts.push_back(account);
        signedOn_ = false;
        if (signOnFailure)
            throw *signOnFailure;
        signedOn_ = true;
        return sessionNumber;
    }

    MailDelivery send(const MailMessage& message) override
    {
        log_.push_back("send " + message.recipient + " | " + message.subject + " | " +
                       (message.attachment ? message.attachment->fileName : "-"));
        if (!signedOn_)
            throw RunTimeError(error_number::InvalidProcedureCall);
        Sent record {message, std::nullopt, std::nullopt};
        if (message.attachment)
            record.attachmentBytes = readFile(message.attachment->path);
        sent.push_back(record);
        if (const auto failure = failures.find(message.recipient); failure != failures.end())
            throw failure->second;
        const auto refusal = refusals.find(message.recipient);
        const MailDelivery delivery = refusal != refusals.end() ? refusal->second : MailDelivery {true, 250, "OK"};
        sent.back().delivery = delivery;
        return delivery;
    }

    void signOff() override
    {
        log_.push_back("signOff");
        signedOn_ = false;
    }

private:
    static std::string readFile(const std::string& path)
    {
        const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (file < 0)
            throw errorFromErrno(errno, path);
        std::string bytes;
        char chunk[65536];
        ssize_t got = 0;
        while ((got = read(file, chunk, sizeof chunk)) > 0)
            bytes.append(chunk, static_cast<std::size_t>(got));
        const int readError = got < 0 ? errno : 0;
        close(file);
        if (readError)
            throw errorFromErrno(readError, path);
        return bytes;
    }

    std::vector<std::string>& log_;
    bool signedOn_ = false;
};

}  // namespace zlt::testing
