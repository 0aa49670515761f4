#pragma once
#include <map>
#include <optional>
#include <vector>

#include "engines/mail/mail_transport.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace zlt::testing {

// Test double of the mail transport: keeps every account signed on to and
// every message handed over, its attachment as the file was at the send
// (read from the file system the program writes to). A failed sign-on and
// each recipient's delivery or failure are scripted; like the real
// transport, send needs a session.
class RecordingMailTransport : public MailTransport {
public:
    explicit RecordingMailTransport(FileSystem& files) : files_(files) {}

    struct Sent {
        MailMessage message;
        std::string attachmentBytes;
    };

    std::optional<RunTimeError> signOnFailure;
    std::map<std::string, MailDelivery> deliveries;  // by recipient; the others are accepted
    std::map<std::string, RunTimeError> failures;    // by recipient: a lost connection ...
    std::vector<MailAccount> accounts;               // of every sign-on
    std::vector<Sent> sent;
    bool signedOn = false;

    std::uint32_t signOn(const MailAccount& account) override
    {
        accounts.push_back(account);
        signedOn = !signOnFailure;
        if (signOnFailure)
            throw *signOnFailure;
        return static_cast<std::uint32_t>(accounts.size());
    }

    MailDelivery send(const MailMessage& message) override
    {
        if (!signedOn)
            throw RunTimeError(error_number::InvalidProcedureCall);
        sent.push_back({message, message.attachment ? readAll(*files_.openRead(message.attachment->path)) : ""});
        if (const auto failure = failures.find(message.recipient); failure != failures.end())
            throw failure->second;
        const auto delivery = deliveries.find(message.recipient);
        return delivery == deliveries.end() ? MailDelivery {MailVerdict::Accepted, 250, "OK"} : delivery->second;
    }

    void signOff() override { signedOn = false; }

private:
    FileSystem& files_;
};

}  // namespace zlt::testing
