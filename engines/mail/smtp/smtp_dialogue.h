#pragma once
// The commands a transfer sent and the server's replies to them, as the
// transfer's debug stream shows them: the one place that tells which
// command a refusal answered and in the server's own words.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zlt::mail {

struct SmtpReply {
    std::string command;  // "EHLO", "MAIL", "RCPT", "DATA", "." (end of data) ...
    int code = 0;
    std::string text;     // without the code; lines joined by line feeds
};

// SMTP's own limit for a reply line is 512 characters; what a server
// sends beyond these bounds is not kept.
constexpr std::size_t MaxReplyLine = 1'000;  // the code and its blank included
constexpr std::size_t MaxReplyText = 4'000;  // the lines of one reply joined

class SmtpDialogue {
public:
    // A command line as sent. Only the verb is kept: lines that are not a
    // known command (the login's exchange) are remembered as "AUTH" and
    // never stored, so no credential is held here.
    void commandSent(std::string_view line);
    // Message data went out: the next reply answers the end of the data.
    void dataSent();
    // Reply text as received, one or more lines.
    void replyReceived(std::string_view text);

    const std::vector<SmtpReply>& replies() const { return replies_; }
    // Whether the DATA command was sent: from then on the server may keep
    // the message even when the transfer fails.
    bool dataBegun() const { return dataBegun_; }
    void clear();

private:
    void replyLine(std::string_view line);

    std::vector<SmtpReply> replies_;
    std::string command_;
    std::string pendingLine_;
    bool replyOpen_ = false;  // a multi-line reply is being read
    bool dataBegun_ = false;
};

}  // namespace zlt::mail
