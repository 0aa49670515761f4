#include "engines/mail/smtp/smtp_dialogue.h"

#include <algorithm>
#include <array>

#include "platform/ascii.h"

namespace zlt::mail {

namespace {

constexpr std::array<std::string_view, 13> Verbs = {"EHLO", "HELO", "STARTTLS", "AUTH", "MAIL", "RCPT", "DATA",
                                                     "QUIT", "NOOP", "RSET", "VRFY", "EXPN", "HELP"};

}  // namespace

void SmtpDialogue::commandSent(std::string_view line)
{
    const std::string verb = upperAscii(line.substr(0, line.find_first_of(" \r\n")));
    bool known = false;
    for (const auto candidate : Verbs)
        known = known || verb == candidate;
    command_ = known ? verb : "AUTH";
    if (command_ == "DATA")
        dataBegun_ = true;
    replyOpen_ = false;
}

void SmtpDialogue::dataSent()
{
    command_.assign(1, '.');  // the end of the data
    replyOpen_ = false;
}

void SmtpDialogue::replyReceived(std::string_view text)
{
    // Each byte is looked at once, however small the pieces a line comes
    // in, and a line keeps only its first MaxReplyLine characters.
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view piece = text.substr(0, end);
        pendingLine_.append(piece.substr(0, MaxReplyLine - std::min(MaxReplyLine, pendingLine_.size())));
        if (end == std::string_view::npos)
            return;
        std::string_view line = pendingLine_;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        replyLine(line);
        pendingLine_.clear();
        text.remove_prefix(end + 1);
    }
}

void SmtpDialogue::replyLine(std::string_view line)
{
    if (line.size() < 3 || !isAsciiDigit(line[0]) || !isAsciiDigit(line[1]) || !isAsciiDigit(line[2]))
        return;
    const int code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
    const std::string_view text = line.size() > 4 ? line.substr(4) : std::string_view();
    if (replyOpen_ && !replies_.empty()) {
        std::string& reply = replies_.back().text;
        reply += '\n';
        reply += text;
        reply.resize(std::min(reply.size(), MaxReplyText));
    } else {
        replies_.push_back({command_, code, std::string(text)});
    }
    replyOpen_ = line.size() > 3 && line[3] == '-';
}

void SmtpDialogue::clear()
{
    replies_.clear();
    command_.clear();
    pendingLine_.clear();
    replyOpen_ = false;
    dataBegun_ = false;
}

}  // namespace zlt::mail
