// The libcurl mail transport against a real SMTP server on 127.0.0.1; what
// arrived is read back with Python's email package, as a recipient's mail
// program would show it. And the Date header's calendar arithmetic, and
// how replies are read.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <sstream>

#include "engines/mail/smtp/curl_mail_transport.h"
#include "engines/mail/smtp/netrc.h"
#include "engines/mail/smtp/mail_header_text.h"
#include "engines/mail/smtp/smtp_dialogue.h"
#include "platform/run_time_error.h"
#include "platform/testing/fixed_clock.h"
#include "tests/support/program_run.h"

namespace zlt {
namespace {

using namespace error_number;
using namespace std::chrono_literals;

const std::string NoNetrc = "/nonexistent/netrc";
// 7 December 2026, 9:30 in Sydney's summer: 1796596200 seconds after 1970 UTC.
const LocalTime SydneyMorning{2026, 12, 7, 9, 30, 0, 0, 11 * 3600};
const std::string Accepted = "accepted 250 2.0.0 Message accepted for delivery";

MailAccount accountFor(int port)
{
    MailAccount account;
    account.server = "127.0.0.1";
    account.port = port;
    account.senderAddress = "shop@example.org";
    account.senderName = "Corner Shop, Ltd.";
    account.connectTimeout = 1s;
    account.replyTimeout = 2s;
    return account;
}

std::string shown(const MailDelivery& delivery)
{
    const char* const verdicts[] = {"accepted", "for now", "for good", "account refused"};
    return verdicts[static_cast<int>(delivery.verdict)] + (" " + std::to_string(delivery.replyCode)) + " " + delivery.replyText;
}

// The number of the RunTimeError `action` throws (0 for none), and its seconds.
std::pair<int, double> failureOf(const std::function<void()>& action)
{
    const auto start = std::chrono::steady_clock::now();
    int number = 0;
    try {
        action();
    } catch (const RunTimeError& error) {
        number = error.number();
    }
    return {number, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}

// The real SMTP server: smtp_peer.py (aiosmtpd on 127.0.0.1) in a folder of
// its own, killed with this object, and ending by itself should the test die.
class SmtpPeer {
public:
    explicit SmtpPeer(std::vector<std::string> options = {})  // the script's own (--refuse ADDRESS=REPLY ...)
    {
        options.insert(options.begin(), {SMTP_PEER_SCRIPT, "--folder", dir_.path().string()});
        int output = -1;
        pid_ = testing::startProgramOnPipe("/usr/bin/python3", options, {}, output);
        std::string text;  // "port N", or why it did not start
        testing::readsToEndWithin(output, 20s, text);
        close(output);
        port_ = text.starts_with("port ") ? std::stoi(text.substr(5)) : 0;
        EXPECT_NE(port_, 0) << "the SMTP peer did not start: " << text;
    }
    ~SmtpPeer()
    {
        kill(pid_, SIGKILL);
        posix::waitForChild(pid_, 5s);
    }
    int port() const { return port_; }
    const testing::TempDir& dir() const { return dir_; }

    // The messages the server kept, in order: field -> value, as Python's email package reads them.
    std::vector<std::map<std::string, std::string>> messages() const
    {
        std::vector<std::map<std::string, std::string>> out;
        for (auto file = dir_ / "1.txt"; std::filesystem::exists(file); file = dir_ / (std::to_string(out.size() + 1) + ".txt")) {
            std::istringstream lines(testing::fileText(file));
            auto& message = out.emplace_back();
            for (std::string key, hex; lines >> key >> hex;)  // hex: "=", then two digits a byte
                for (std::size_t i = 1; i + 1 < hex.size(); i += 2)
                    message[key] += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        }
        return out;
    }

private:
    testing::TempDir dir_{"zlt-mail"};
    pid_t pid_ = -1;
    int port_ = 0;
};

TEST(CurlMailTransport, MessagesOfOneSessionArriveIntactOverOneConnection)
{
    std::string longSubject;  // encoded words must never cut a character
    for (int i = 0; i < 30; ++i)
        longSubject += "Grüße € 😀 ";
    const std::string binary("\0\xff\r\n.\r\n..\r\nend", 14);
    const std::string dots = "Café ☕\n.\n..two\n" + std::string(1200, 'x') + "\n";  // beyond SMTP's 998: must be folded
    auto bytes = [](std::size_t size) {  // every byte value, in no line-sized rhythm
        std::string out(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            out[i] = static_cast<char>(i * 7 % 251);
        return out;
    };
    struct Sent { std::string subject, subjectSeen, note, noteSeen, fileName, fileBytes; };
    const Sent table[] = {
        {"Weekly\r\nsales", "Weekly sales", "One\r\nTwo\rThree\n", "One\nTwo\nThree\n", "EMAIL1.RTF", binary},
        {"Grüße aus Köln – Woche 5", "Grüße aus Köln – Woche 5", dots, dots, "Bericht März.rtf", "{\\rtf1 Weekly\\par}"},
        {" Weekly sales  (2 of 2) ", " Weekly sales  (2 of 2) ", "x", "x", "", ""},
        {"=?utf-8?q?not_a_word?=", "=?utf-8?q?not_a_word?=", "y\n", "y\n", "", ""},
        {longSubject, longSubject, "z\n", "z\n", "", ""},
        // The attachment read in pieces of 57 x 1150 bytes and sent through a
        // 1 MB upload buffer: empty, one base64 line, one piece, the buffer's
        // size, beyond it; base64 ending in "=", "==" and none.
        {"Empty", "Empty", "", "", "EMPTY.RTF", ""},
        {"One line", "One line", "n\n", "n\n", "LINE.RTF", bytes(57)},
        {"One piece", "One piece", "p\n", "p\n", "PIECE.RTF", bytes(57 * 1150)},
        {"Upload buffer", "Upload buffer", "u\n", "u\n", "BUFFER.RTF", bytes(1 << 20)},
        {"Beyond", "Beyond", "b\n", "b\n", "BEYOND.RTF", bytes(1'500'002)},
    };
    SmtpPeer peer;
    testing::FixedClock clock(SydneyMorning);
    auto transport = makeCurlMailTransport(NoNetrc, clock);
    MailAccount account = accountFor(peer.port());
    account.senderName = "Müller & Co. Shop";
    EXPECT_NE(transport->signOn(account), 0u);
    const MailMessage unreadable {"a@example.com", "s", "n", MailAttachment {peer.dir() / "missing.rtf", "A.RTF"}};
    EXPECT_EQ(failureOf([&] { transport->send(unreadable); }).first, FileNotFound);  // and nothing is sent
    for (std::size_t i = 0; i < std::size(table); ++i) {
        MailMessage message {"buyer" + std::to_string(i) + "@example.com", table[i].subject, table[i].note, {}};
        if (!table[i].fileName.empty())
            message.attachment = {peer.dir().write("file" + std::to_string(i), table[i].fileBytes), table[i].fileName, "application/rtf"};
        EXPECT_EQ(shown(transport->send(message)), Accepted) << i;
    }

    auto received = peer.messages();
    ASSERT_EQ(received.size(), std::size(table));
    for (std::size_t i = 0; i < std::size(table); ++i) {
        SCOPED_TRACE(i);
        auto& got = received[i];
        EXPECT_EQ(got["to"] + " " + got["from"] + " " + got["connection"] + " " + got["date"],
                  "buyer" + std::to_string(i) + "@example.com Müller & Co. Shop <shop@example.org> 1 1796596200");
        EXPECT_EQ(got["subject"], table[i].subjectSeen);
        EXPECT_EQ(got["note"], table[i].noteSeen);
        EXPECT_EQ(got["attachment"], table[i].fileName.empty() ? "" : table[i].fileName + " application/rtf\n" + table[i].fileBytes);
        EXPECT_EQ(got["clean"], "True");  // all ASCII, whole characters in each encoded word, nothing to repair
        EXPECT_TRUE(got["message_id"].ends_with("@example.org>"));
    }
}

TEST(CurlMailTransport, RefusalsAndLostConnectionsCostOneMessageAtMostAndNoneGoesTwice)
{
    const std::string lost = "error " + std::to_string(DeviceUnavailable);
    struct Case {
        const char* what;
        std::vector<std::string> peerOptions;
        std::vector<std::string> outcomes;  // of messages 0, 1 and 2: as shown, or the error's number
        std::string received;               // per message kept: its number and the number of its connection
    };
    const Case table[] = {
        {"recipients refused for good and for now",
         {"--refuse", "0@example.com=550-5.1.1 <0@example.com>: Recipient address rejected\r\n550 5.1.1 No such user",
          "--refuse", "1@example.com=451 4.3.0 Mailbox busy, try later"},
         {"for good 550 5.1.1 <0@example.com>: Recipient address rejected\n5.1.1 No such user",
          "for now 451 4.3.0 Mailbox busy, try later", Accepted}, "23 "},
        {"the sender refused", {"--refuse-sender", "530 5.7.0 Authentication required"},
         std::vector<std::string>(3, "account refused 530 5.7.0 Authentication required"), ""},
        {"idle connection closed by the server", {"--close-after", "1"}, {Accepted, Accepted, Accepted}, "01 12 22 "},
        {"dropped at MAIL, and again on the new connection", {"--drop-at-mail", "2", "--drop-at-mail", "3"}, {Accepted, lost, Accepted}, "01 23 "},
        {"dropped after the data arrived", {"--drop-in-data", "2"}, {Accepted, lost, Accepted}, "01 11 22 "},
        // Given up at the reply timeout, the connection is closed at once,
        // with no QUIT that would wait out a second timeout.
        {"no answer to the end of the data", {"--stall-in-data", "2"}, {Accepted, lost, Accepted}, "01 22 "},
    };
    for (const auto& test : table) {
        SCOPED_TRACE(test.what);
        SmtpPeer peer(test.peerOptions);
        testing::FixedClock clock;
        auto transport = makeCurlMailTransport(NoNetrc, clock);
        const MailAccount account = accountFor(peer.port());
        transport->signOn(account);
        for (std::size_t i = 0; i < test.outcomes.size(); ++i) {
            std::string outcome;
            const auto [number, seconds] = failureOf([&] { outcome = shown(transport->send({std::to_string(i) + "@example.com", "s", "n", {}})); });
            EXPECT_EQ(number ? "error " + std::to_string(number) : outcome, test.outcomes[i]) << i;
            EXPECT_LT(seconds, 1.8 * std::chrono::duration<double>(account.replyTimeout).count()) << i;  // one timeout at most
        }
        std::string received;
        for (auto& message : peer.messages()) {
            received += message["to"].substr(0, 1) + message["connection"] + " ";
            EXPECT_EQ(message["from"], "Corner Shop, Ltd. <shop@example.org>");  // quoted, or From names two mailboxes
        }
        EXPECT_EQ(received, test.received);
    }
}

TEST(CurlMailTransport, SignOnLogsInAsTheAccountSaysOrFailsQuicklyWithANamedError)
{
    const testing::TempDir dir("zlt-mail-sign-on");
    const std::string cert = dir / "cert.pem", key = dir / "key.pem";
    ASSERT_EQ(testing::runProgram("/usr/bin/openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                                  "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", cert},
                                  {}, dir.path()).exitStatus, 0);
    SmtpPeer login({"--auth", "clerk:s3cr3t"}), tls({"--tls", cert, key}), implicitTls({"--implicit-tls", cert, key}), plain;
    auto loopbackPort = [](int socket, bool listening) {  // where nothing will ever answer
        sockaddr_in address {AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t size = sizeof address;
        bind(socket, reinterpret_cast<sockaddr*>(&address), size);
        if (listening)
            listen(socket, 4);
        getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size);
        return static_cast<int>(ntohs(address.sin_port));
    };
    const int closed = socket(AF_INET, SOCK_STREAM, 0), silent = socket(AF_INET, SOCK_STREAM, 0);
    const int closedPort = loopbackPort(closed, false), silentPort = loopbackPort(silent, true);
    struct Case {
        const char* what;
        std::function<void(MailAccount&)> change;  // of an account of the server that wants a login
        int number;
    };
    const Case table[] = {
        {"nothing listens", [&](MailAccount& a) { a.port = closedPort; }, DeviceUnavailable},
        {"the server never greets", [&](MailAccount& a) { a.port = silentPort, a.connectTimeout = 20s; }, DeviceUnavailable},
        {"no server", [](MailAccount& a) { a.server.clear(); }, InvalidProcedureCall},
        {"no sender", [](MailAccount& a) { a.senderAddress.clear(); }, InvalidProcedureCall},
        {"a path in the server name", [](MailAccount& a) { a.server = "127.0.0.1/x"; }, InvalidProcedureCall},
        {"a line break in the sender", [](MailAccount& a) { a.senderAddress = "a@b\r\nRCPT TO:<c@d>"; }, InvalidProcedureCall},
        {"password from netrc", [](MailAccount& a) { a.userName = "clerk"; }, 0},
        {"password in the account", [](MailAccount& a) { a.userName = "clerk", a.password = "s3cr3t"; }, 0},
        {"wrong password in netrc", [](MailAccount& a) { a.userName = "temp"; }, PermissionDenied},
        {"a login the netrc does not list", [](MailAccount& a) { a.userName = "manager"; }, PermissionDenied},
        {"a login the server does not offer", [&](MailAccount& a) { a.port = plain.port(), a.userName = "clerk"; }, PermissionDenied},
        {"server without STARTTLS", [&](MailAccount& a) { a.security = MailSecurity::StartTls, a.caFile = cert; }, PermissionDenied},
        {"STARTTLS", [&](MailAccount& a) { a.port = tls.port(), a.security = MailSecurity::StartTls, a.caFile = cert; }, 0},
        {"certificate not trusted", [&](MailAccount& a) { a.port = tls.port(), a.security = MailSecurity::StartTls; }, PermissionDenied},
        {"TLS from the start", [&](MailAccount& a) { a.port = implicitTls.port(), a.security = MailSecurity::ImplicitTls, a.caFile = cert; }, 0},
        {"TLS from the start, not trusted", [&](MailAccount& a) { a.port = implicitTls.port(), a.security = MailSecurity::ImplicitTls; }, PermissionDenied},
        {"TLS from the start to a plain server", [&](MailAccount& a) { a.security = MailSecurity::ImplicitTls, a.caFile = cert; }, PermissionDenied},
    };
    testing::FixedClock clock;
    auto transport = makeCurlMailTransport(
        dir.write("netrc", "machine 127.0.0.1 login clerk password s3cr3t\nmachine 127.0.0.1 login temp password wrong\n"), clock);
    for (const auto& test : table) {
        MailAccount account = accountFor(login.port());
        test.change(account);
        const auto [number, seconds] = failureOf([&] { transport->signOn(account); });
        EXPECT_EQ(number, test.number) << test.what;
        EXPECT_LT(seconds, 4.0) << test.what;
        const auto [sendNumber, sendSeconds] = failureOf([&] { EXPECT_EQ(shown(transport->send({"to@example.com", "s", "n", {}})), Accepted); });
        EXPECT_EQ(sendNumber, number ? InvalidProcedureCall : 0) << test.what;  // no session after a failed sign-on
    }
    close(closed);
    close(silent);
    EXPECT_EQ(login.messages().size(), 2u);  // the server keeps nothing without login
    EXPECT_EQ(tls.messages().size(), 1u);    // nor without STARTTLS
}

// A server's reply is kept to a bound however long its lines, read once
// however small the pieces they arrive in.
TEST(SmtpDialogue, RepliesAreKeptToTheirBoundWhateverTheirPieces)
{
    mail::SmtpDialogue dialogue;
    dialogue.commandSent("RCPT TO:<a@b>\r\n");
    const std::string longLine = "550 " + std::string(100'000, 'x') + "\r\n";
    for (const char& c : longLine)
        dialogue.replyReceived({&c, 1});
    dialogue.commandSent("EHLO me\r\n");
    for (int i = 0; i < 100; ++i)
        dialogue.replyReceived("250-" + std::string(99, 'y') + "\r\n");
    dialogue.replyReceived("250 SIZE\r\n");
    const auto& replies = dialogue.replies();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].command + " " + std::to_string(replies[0].code), "RCPT 550");
    EXPECT_EQ(replies[0].text.size(), 996u);  // 1,000 with the code and its blank
    EXPECT_EQ(replies[1].text.size(), 4000u);
    EXPECT_TRUE(replies[1].text.starts_with(std::string(99, 'y') + "\n" + std::string(99, 'y')));
}

// Only the password of that very login on that very machine is ever sent.
TEST(Netrc, PasswordOfTheLoginOnTheMachine)
{
    const std::string netrc = "machine mail.example login clerk password s3cr3t\n"
                              "macdef init\nlogin manager password macro\n\n"
                              "machine other.example login manager password \"two words\"\n"
                              "default login manager password fallback\n";
    const std::tuple<const char*, const char*, std::optional<std::string>> table[] = {
        {"mail.example", "clerk", "s3cr3t"},        {"mail.example", "manager", "fallback"},
        {"other.example", "manager", "two words"}, {"other.example", "clerk", std::nullopt},
        {"mail.example", "Clerk", std::nullopt},
    };
    for (const auto& [machine, login, password] : table)
        EXPECT_EQ(mail::netrcPassword(netrc, machine, login), password) << machine << " " << login;
    EXPECT_EQ(mail::netrcPassword("machine a login x password y", "a", "z"), std::nullopt);
}

TEST(MailHeaderText, DateIsTheWallClockOfItsOffsetWithEnglishNames)
{
    const std::tuple<std::int64_t, int, const char*> table[] = {
        {0, 0, "Thu, 01 Jan 1970 00:00:00 +0000"},
        {-1, 0, "Wed, 31 Dec 1969 23:59:59 +0000"},
        {951782400, 3600, "Tue, 29 Feb 2000 01:00:00 +0100"},    // leap day of a 400-year leap year
        {4107542400, 0, "Mon, 01 Mar 2100 00:00:00 +0000"},      // 2100 has no 29 February
        {1700000000, -12600, "Tue, 14 Nov 2023 18:43:20 -0330"},
        {1735689599, 19800, "Wed, 01 Jan 2025 05:29:59 +0530"},  // the offset carries into the new year
    };
    for (const auto& [unixSeconds, offsetSeconds, expected] : table)
        EXPECT_EQ(mail::formatMailDate(unixSeconds, offsetSeconds), expected) << unixSeconds;
    EXPECT_EQ(unixMilliseconds(SydneyMorning), 1796596200000);
    EXPECT_EQ(unixMilliseconds({1969, 12, 31, 23, 59, 59, 999, 0}), -1);
    EXPECT_EQ(unixMilliseconds({2000, 3, 1, 0, 30, 0, 0, 3600}), 951867000000);  // the day after a leap day, an hour east
}

}  // namespace
}  // namespace zlt
