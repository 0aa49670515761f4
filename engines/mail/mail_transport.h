#pragma once
// Mail submission as the dispatcher expects of its platform: a session signed
// on to one account, messages sent one at a time, each to one recipient with
// one subject, one note and at most one attached file, then signed off.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace zlt {

enum class MailSecurity {
    None,         // plain SMTP
    StartTls,     // SMTP upgraded with STARTTLS; refused when the server cannot
    ImplicitTls,  // TLS from the first byte (SMTPS, usually port 465)
};

// Where and as whom mail is submitted. Text is UTF-8.
struct MailAccount {
    std::string server;         // host name or address of the SMTP server
    int port = 25;
    std::string senderAddress;  // the envelope sender and the From address
    std::string senderName;     // From's display name; may be empty
    std::string userName;       // empty: the server is used without login
    // Empty with a user name: the password of that user on that server is
    // taken from the netrc file the transport was made with.
    std::string password;
    MailSecurity security = MailSecurity::None;
    // Certificate authorities to check the server against; empty: the
    // system's. The certificate is always checked.
    std::string caFile;
    // Waiting for the connection (TCP and TLS) and for each reply of the
    // server; a transfer that moves no data for the reply timeout is given up.
    std::chrono::milliseconds connectTimeout{20'000};
    std::chrono::milliseconds replyTimeout{60'000};
};

struct MailAttachment {
    std::string path;      // the file, read when the message is sent
    std::string fileName;  // the name the recipient sees, UTF-8
    std::string contentType = "application/octet-stream";
};

struct MailMessage {
    std::string recipient;  // one address
    std::string subject;    // UTF-8; line breaks become spaces
    std::string noteText;   // UTF-8, sent as text/plain; LF or CR LF line breaks
    std::optional<MailAttachment> attachment;
};

enum class MailVerdict {
    Accepted,
    // 4xx, or the connection failed or timed out: another try may get it through.
    RefusedForNow,
    // 5xx to the recipient or the content (RCPT, DATA or the end of the
    // data), or an address no SMTP server can take.
    RefusedForGood,
    // The server refused the sender or the session, not the message: a 5xx
    // to MAIL FROM, 530 (authentication required) to any command, a login it
    // refuses. Nothing of this account goes until the account is mended.
    AccountRefused,
};

// What became of a message, and the reply that decided it.
struct MailDelivery {
    MailVerdict verdict = MailVerdict::RefusedForNow;
    int replyCode = 0;      // 250 when accepted, 550 ...; 0 when no reply of the server decided
    std::string replyText;  // its text without the code; the lines of a
                            // multi-line reply joined by line feeds
};

// One session at a time. The session keeps ONE SMTP connection for the
// whole run: sign-on opens it and every message goes over it. When the server
// has dropped it between messages (idle timeout, restart, a 421 reply before
// the message data), the message is sent once more over a new connection;
// a message whose data had begun to go out is never sent again, so nothing
// is sent twice. A refused message, or a failed send, ends the connection it
// used (the SMTP library gives up a connection after any failed exchange):
// the next message opens a new one within the same session.
// Failures are RunTimeErrors, except refusals (see send).
class MailTransport {
public:
    virtual ~MailTransport() = default;

    // Checks that the account is complete (server and sender address) and
    // that the server answers: connects, greets (EHLO), upgrades to TLS and
    // logs in as the account says, and asks for a NOOP. An account with a
    // user name needs a server that offers a login (AUTH). Returns the
    // session number, never 0. An open session is signed off first.
    // Errors: InvalidProcedureCall for an incomplete or malformed account;
    // DeviceUnavailable when the server cannot be reached or does not answer
    // in time; PermissionDenied when the login is refused, no password is
    // found, or TLS cannot be set up or the server's certificate fails.
    virtual std::uint32_t signOn(const MailAccount& account) = 0;

    // Sends one message from the account's sender. A refused message is a
    // result, not an error. Errors: InvalidProcedureCall without a session or
    // for a recipient addressProblem refuses; errorFromErrno's for an attachment
    // that cannot be read (nothing is sent then); DeviceUnavailable when the
    // connection is lost or the server does not answer in time; then whether
    // the server kept the message is unknown.
    virtual MailDelivery send(const MailMessage& message) = 0;

    // Ends the session (QUIT); without a session it does nothing.
    virtual void signOff() = 0;
};

}  // namespace zlt
