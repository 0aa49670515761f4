#pragma once
// A mail session shaped as the dispatcher drives it: a session control that
// signs on to a named profile or account and off again, and a message
// control that composes one outgoing message at a time by properties and
// sends it. Text is UTF-8. The Linux backend submits over SMTP
// (engines/mail/smtp/transport_mail_session.h); tests run it over the
// recording transport (engines/mail/testing/).
#include <cstdint>
#include <string>

#include "engines/mail/mail_transport.h"

namespace zlt {

class MailSession {
public:
    virtual ~MailSession() = default;

    // The session control.
    virtual void setDownloadMail(bool download) = 0;
    virtual void setUserName(const std::string& name) = 0;
    virtual std::string userName() const = 0;
    // Opens the session for userName(). Never raises for a profile that
    // cannot be used: sessionId() stays 0 and signOnProblem() says why.
    virtual void signOn() = 0;
    virtual std::uint32_t sessionId() const = 0;
    virtual std::string signOnProblem() const = 0;
    virtual void signOff() = 0;

    // The message control.
    virtual void setMessagesSessionId(std::uint32_t id) = 0;
    virtual void compose() = 0;
    virtual void setRecipDisplayName(const std::string& name) = 0;
    virtual void setRecipAddress(const std::string& address) = 0;  // "smtp: " + address
    virtual void setMsgSubject(const std::string& subject) = 0;
    virtual std::string msgSubject() const = 0;
    virtual void setMsgReceiptRequested(bool requested) = 0;
    virtual void setMsgNoteText(const std::string& text) = 0;
    virtual int attachmentCount() const = 0;
    virtual void setAttachmentIndex(int index) = 0;
    virtual void setAttachmentPathName(const std::string& path) = 0;  // a Linux path
    virtual void setAttachmentType(int type) = 0;
    // Sends the composed message. What became of it is the result (see
    // MailVerdict); a recipient no server can take is refused for good
    // without asking one. Raises only for what no server could change: no
    // session, an unreadable attachment.
    virtual MailDelivery send(bool showDialog) = 0;
};

}  // namespace zlt
