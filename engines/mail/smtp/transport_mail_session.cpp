#include "engines/mail/smtp/transport_mail_session.h"

#include "engines/mail/smtp/smtp_address.h"
#include "platform/ascii.h"
#include "platform/run_time_error.h"
#include "platform/linux_path.h"

namespace zlt {

namespace {

using namespace error_number;

bool endsWithRtf(const std::string& name)
{
    return name.size() >= 4 && upperAscii(std::string_view(name).substr(name.size() - 4)) == ".RTF";
}

class TransportMailSession : public MailSession {
public:
    TransportMailSession(MailTransport& transport, MailAccountFinder findAccount)
        : transport_(transport), findAccount_(std::move(findAccount))
    {
    }
    ~TransportMailSession() override { signOff(); }

    void setDownloadMail(bool) override {}  // submission never fetches mail
    void setUserName(const std::string& name) override { userName_ = name; }
    std::string userName() const override { return userName_; }

    void signOn() override
    {
        signOff();
        problem_.clear();
        try {
            const auto account = findAccount_(userName_);
            if (!account) {
                problem_ = "no mail account named \"" + userName_ + "\" in the registry";
                return;
            }
            session_ = transport_.signOn(*account);
        } catch (const RunTimeError& error) {
            problem_ = error.description();
        }
    }
    std::uint32_t sessionId() const override { return session_; }
    std::string signOnProblem() const override { return problem_; }
    void signOff() override
    {
        if (session_)
            transport_.signOff();
        session_ = 0;
    }

    void setMessagesSessionId(std::uint32_t) override {}
    void compose() override { message_ = {}; }
    void setRecipDisplayName(const std::string&) override {}  // the To header shows the address
    void setRecipAddress(const std::string& address) override { message_.recipient = addressOfRecipient(address); }
    void setMsgSubject(const std::string& subject) override { message_.subject = subject; }
    std::string msgSubject() const override { return message_.subject; }
    void setMsgReceiptRequested(bool) override {}  // never asked for
    void setMsgNoteText(const std::string& text) override { message_.noteText = text; }
    int attachmentCount() const override { return message_.attachment ? 1 : 0; }
    void setAttachmentIndex(int) override {}  // one attachment a message
    void setAttachmentPathName(const std::string& path) override
    {
        const std::string name = fileNameOf(path);
        message_.attachment = MailAttachment {path, name, endsWithRtf(name) ? "application/rtf" : "application/octet-stream"};
    }
    void setAttachmentType(int) override {}

    MailDelivery send(bool) override
    {
        if (!session_)
            throw RunTimeError(InvalidProcedureCall, "Invalid procedure call or argument (no mail session is signed on)");
        if (const std::string problem = mail::addressProblem(message_.recipient); !problem.empty())
            return {MailVerdict::RefusedForGood, 0, "no SMTP server takes the recipient address: " + problem};
        try {
            return transport_.send(message_);
        } catch (const RunTimeError& error) {
            // A login refused on a new connection is the account's fault;
            // a lost connection may do better in another run.
            const int number = error.number();
            if (number == PermissionDenied)
                return {MailVerdict::AccountRefused, 0, error.description()};
            if (number == DeviceUnavailable || number == AutomationError)
                return {MailVerdict::RefusedForNow, 0, error.description()};
            throw;
        }
    }

private:
    MailTransport& transport_;
    MailAccountFinder findAccount_;
    std::string userName_;
    std::uint32_t session_ = 0;
    std::string problem_;
    MailMessage message_;
};

}  // namespace

std::string addressOfRecipient(const std::string& recipAddress)
{
    std::string address = recipAddress;
    if (address.size() >= 5 && lowerAscii(address[0]) == 's' && lowerAscii(address[1]) == 'm' &&
        lowerAscii(address[2]) == 't' && lowerAscii(address[3]) == 'p' && address[4] == ':')
        address.erase(0, 5);
    const size_t start = address.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : address.substr(start);
}

std::unique_ptr<MailSession> makeTransportMailSession(MailTransport& transport, MailAccountFinder findAccount)
{
    return std::make_unique<TransportMailSession>(transport, std::move(findAccount));
}

}  // namespace zlt
