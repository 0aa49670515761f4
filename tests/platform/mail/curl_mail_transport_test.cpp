// The libcurl mail transport against a real SMTP server on 127.0.0.1; what
// arrived is read back with Python's email package, as a recipient's mail
// program would show it.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <set>

#include "platform/mail/curl_mail_transport.h"
#include "platform/run_time_error.h"
#include "smtp_peer.h"

namespace zlt {
namespace {

using namespace error_number;
using namespace std::chrono_literals;
using zlt::testing::SmtpPeer;

MailAccount accountFor(int port)
{
    MailAccount account;
    account.server = "127.0.0.1";
    account.port = port;
    account.senderAddress = "shop@example.org";
    account.senderName = "Müller & Co. Shop";
    account.connectTimeout = 2s;
    account.replyTimeout = 5s;
    return account;
}

std::string writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
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

// A loopback socket bound to a free port; listening or not.
struct LoopbackSocket {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
    explicit LoopbackSocket(bool listening)
    {
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        bind(fd, reinterpret_cast<sockaddr*>(&address), size);
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
        if (listening)
            listen(fd, 4);
    }
    ~LoopbackSocket() { close(fd); }
};

TEST(CurlMailTransport, MessagesOfOneSessionArriveAsSentOverOneConnection)
{
    std::string longSubject;
    for (int i = 0; i < 30; ++i)
        longSubject += "Grüße € 😀 ";
    const std::string binary("\0\xff\r\n.\r\n..\r\nend", 14);
    const std::string longLine(1200, 'x');
    struct Sent {
        std::string subject, note, subjectSeen, noteSeen, fileName, fileBytes;
    };
    const Sent table[] = {
        {"Weekly sales", "One\r\nTwo\rThree\n", "Weekly sales", "One\nTwo\nThree\n", "EMAIL1.RTF", "{\\rtf1 Weekly\\par}"},
        {"Grüße aus Köln – Woche 5", "Café ☕\nZweite\n", "Grüße aus Köln – Woche 5", "Café ☕\nZweite\n", "EMAIL2.RTF", binary},
        {" Weekly sales  (Part 2) ", "x", " Weekly sales  (Part 2) ", "x", "", ""},
        {"=?utf-8?q?not_a_word?=", "y\n", "=?utf-8?q?not_a_word?=", "y\n", "", ""},
        {longSubject, "z\n", longSubject, "z\n", "", ""},
        {"", ".\n..two\n" + longLine + "\n", "", ".\n..two\n" + longLine + "\n", "", ""},
        {"First\r\nSecond", "n\n", "First Second", "n\n", "Bericht März.rtf", "abc"},
    };
    SmtpPeer peer;
    auto transport = makeCurlMailTransport("/nonexistent/netrc");
    EXPECT_NE(transport->signOn(accountFor(peer.port())), 0u);
    for (std::size_t i = 0; i < std::size(table); ++i) {
        MailMessage message {"buyer" + std::to_string(i) + "@example.com", table[i].subject, table[i].note, {}};
        if (!table[i].fileName.empty())
            message.attachment = MailAttachment {writeFile(peer.dir() / ("part" + std::to_string(i)), table[i].fileBytes),
                                                 table[i].fileName, "application/rtf"};
        const MailDelivery delivery = transport->send(message);
        EXPECT_TRUE(delivery.accepted) << i;
        EXPECT_EQ(delivery.replyCode, 250) << i;
        EXPECT_EQ(delivery.replyText, "2.0.0 Message accepted for delivery") << i;
    }
    transport->signOff();

    const auto received = peer.messages();
    ASSERT_EQ(received.size(), std::size(table));
    std::set<std::string> messageIds;
    for (std::size_t i = 0; i < std::size(table); ++i) {
        auto got = received[i];
        SCOPED_TRACE(i);
        const std::string recipient = "buyer" + std::to_string(i) + "@example.com";
        EXPECT_EQ(got["envelope_to"], recipient);
        EXPECT_EQ(got["to"], recipient);
        EXPECT_EQ(got["envelope_from"], "shop@example.org");
        EXPECT_EQ(got["from_address"], "shop@example.org");
        EXPECT_EQ(got["from_name"], "Müller & Co. Shop");
        EXPECT_EQ(got["subject"], table[i].subjectSeen);
        EXPECT_EQ(got["note"], table[i].noteSeen);
        EXPECT_EQ(got["note_type"], "text/plain; charset=utf-8");
        EXPECT_EQ(got["content_type"], "multipart/mixed");
        EXPECT_EQ(got["headers_ascii"], "yes");
        EXPECT_EQ(got["defects"], "0");
        EXPECT_EQ(got["encoded_words_whole"], "yes");
        EXPECT_EQ(got["connection"], "1");
        EXPECT_NEAR(std::stoll(got["date_epoch"]), static_cast<long long>(std::time(nullptr)), 120);
        EXPECT_TRUE(got["message_id"].ends_with("@example.org>")) << got["message_id"];
        messageIds.insert(got["message_id"]);
        EXPECT_EQ(got["attachments"], table[i].fileName.empty() ? "0" : "1");
        if (!table[i].fileName.empty()) {
            EXPECT_EQ(got["attachment_name"], table[i].fileName);
            EXPECT_EQ(got["attachment"], table[i].fileBytes);
            EXPECT_EQ(got["attachment_type"], "application/rtf");
            EXPECT_EQ(got["attachment_dispositions"], "1");
        }
    }
    EXPECT_EQ(messageIds.size(), std::size(table));
    EXPECT_EQ(peer.connections(), 1);
}

TEST(CurlMailTransport, RefusedRecipientIsAResultWithTheServersReply)
{
    SmtpPeer peer({"--refuse", "nobody@example.com=550-5.1.1 <nobody@example.com>: Recipient address rejected\r\n550 5.1.1 No such user",
                   "--refuse", "busy@example.com=451 4.3.0 Mailbox busy, try later"});
    struct Outcome {
        std::string recipient;
        MailDelivery expected;
    };
    const Outcome table[] = {
        {"first@example.com", {true, 250, "2.0.0 Message accepted for delivery"}},
        {"nobody@example.com", {false, 550, "5.1.1 <nobody@example.com>: Recipient address rejected\n5.1.1 No such user"}},
        {"busy@example.com", {false, 451, "4.3.0 Mailbox busy, try later"}},
        {"next@example.com", {true, 250, "2.0.0 Message accepted for delivery"}},
    };
    auto transport = makeCurlMailTransport("/nonexistent/netrc");
    MailAccount account = accountFor(peer.port());
    account.senderName = "Corner Shop, Ltd.";
    transport->signOn(account);
    for (const auto& [recipient, expected] : table) {
        const MailDelivery got = transport->send({recipient, "Order", "note", {}});
        EXPECT_EQ(got.accepted, expected.accepted) << recipient;
        EXPECT_EQ(got.replyCode, expected.replyCode) << recipient;
        EXPECT_EQ(got.replyText, expected.replyText) << recipient;
        EXPECT_EQ(got.refusedForGood(), expected.replyCode >= 500) << recipient;
    }
    auto received = peer.messages();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0]["envelope_to"], "first@example.com");
    EXPECT_EQ(received[1]["envelope_to"], "next@example.com");
    EXPECT_EQ(received[0]["from_name"], "Corner Shop, Ltd.");
    EXPECT_LE(peer.connections(), 3);  // a refusal costs the connection, nothing more
}

TEST(CurlMailTransport, ConnectionDroppedBeforeTheDataIsMadeAgainOnce)
{
    struct Case {
        const char* what;
        std::vector<std::string> peerOptions;
        bool dropIdleAfterFirst;
        std::string outcomes;  // per message: a accepted, x DeviceUnavailable
        std::string received;  // the messages the server kept, in order
        int connections;
    };
    const Case table[] = {
        {"idle connection closed by the server", {}, true, "aaa", "012", 2},
        {"dropped at the first MAIL after sign-on", {"--drop-at-mail", "1"}, false, "aaa", "012", 2},
        {"dropped again on the new connection", {"--drop-at-mail", "2", "--drop-at-mail", "3"}, false, "axa", "02", 3},
        {"dropped after the data arrived: never twice", {"--drop-after-data", "2"}, false, "axa", "012", 2},
    };
    for (const auto& test : table) {
        SCOPED_TRACE(test.what);
        SmtpPeer peer(test.peerOptions);
        auto transport = makeCurlMailTransport("/nonexistent/netrc");
        transport->signOn(accountFor(peer.port()));
        for (std::size_t i = 0; i < test.outcomes.size(); ++i) {
            if (i == 1 && test.dropIdleAfterFirst)
                peer.dropConnections();
            const auto [number, seconds] = failureOf([&] {
                EXPECT_TRUE(transport->send({"r" + std::to_string(i) + "@example.com", "s", "n", {}}).accepted);
            });
            EXPECT_EQ(number, test.outcomes[i] == 'a' ? 0 : DeviceUnavailable) << i;
        }
        std::string received;
        for (auto& message : peer.messages())
            received += message["envelope_to"].substr(1, 1);
        EXPECT_EQ(received, test.received);
        EXPECT_EQ(peer.connections(), test.connections);
    }
}

TEST(CurlMailTransport, SignOnFailsQuicklyWithANamedError)
{
    LoopbackSocket nothingListens(false);
    LoopbackSocket neverGreets(true);
    struct Case {
        const char* what;
        std::function<void(MailAccount&)> change;
        int number;
    };
    const Case table[] = {
        {"nothing listens", [&](MailAccount& a) { a.port = nothingListens.port; }, DeviceUnavailable},
        {"the server never greets", [&](MailAccount& a) { a.port = neverGreets.port; }, DeviceUnavailable},
        {"no server", [](MailAccount& a) { a.server.clear(); }, InvalidProcedureCall},
        {"no sender", [](MailAccount& a) { a.senderAddress.clear(); }, InvalidProcedureCall},
        {"a path in the server name", [](MailAccount& a) { a.server = "127.0.0.1/x"; }, InvalidProcedureCall},
        {"a line break in the sender", [](MailAccount& a) { a.senderAddress = "a@b\r\nRCPT TO:<c@d>"; }, InvalidProcedureCall},
    };
    auto transport = makeCurlMailTransport("/nonexistent/netrc");
    for (const auto& test : table) {
        MailAccount account = accountFor(neverGreets.port);
        account.connectTimeout = 1s;
        account.replyTimeout = 1s;
        test.change(account);
        const auto [number, seconds] = failureOf([&] { transport->signOn(account); });
        EXPECT_EQ(number, test.number) << test.what;
        EXPECT_LT(seconds, 4.0) << test.what;
        EXPECT_EQ(failureOf([&] { transport->send({"a@b", "s", "n", {}}); }).first, InvalidProcedureCall) << test.what;
    }
}

TEST(CurlMailTransport, LogsInWithThePasswordOfTheNetrcFile)
{
    struct Case {
        const char* what;
        std::string userName, password, netrc;
        int signOnError;
        int replyCode;  // of the message sent after sign-on
    };
    const Case table[] = {
        {"password from netrc", "clerk", "", "machine 127.0.0.1 login clerk password s3cr3t\n", 0, 250},
        {"password in the account", "clerk", "s3cr3t", "", 0, 250},
        {"wrong password in netrc", "clerk", "", "machine 127.0.0.1 login clerk password wrong\n", PermissionDenied, 0},
        {"netrc holds another user only", "clerk", "", "machine 127.0.0.1 login other password 0ther\n", PermissionDenied, 0},
        {"no login where one is needed", "", "", "", 0, 530},
    };
    for (const auto& test : table) {
        SCOPED_TRACE(test.what);
        SmtpPeer peer({"--auth", "clerk:s3cr3t"});
        auto transport = makeCurlMailTransport(writeFile(peer.dir() / "netrc", test.netrc));
        MailAccount account = accountFor(peer.port());
        account.userName = test.userName;
        account.password = test.password;
        ASSERT_EQ(failureOf([&] { transport->signOn(account); }).first, test.signOnError);
        if (test.signOnError)
            continue;
        EXPECT_EQ(transport->send({"to@example.com", "s", "n", {}}).replyCode, test.replyCode);
        auto received = peer.messages();
        ASSERT_EQ(received.size(), test.replyCode == 250 ? 1u : 0u);
        if (!received.empty()) {
            EXPECT_EQ(received[0]["login"], "clerk");
        }
    }
}

TEST(CurlMailTransport, TlsChecksTheServersCertificate)
{
    const auto dir = std::filesystem::temp_directory_path() / ("zlt-mail-tls-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string cert = (dir / "cert.pem").string(), key = (dir / "key.pem").string();
    const std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 -addext "
                             "subjectAltName=IP:127.0.0.1 -keyout " + key + " -out " + cert + " 2>/dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0) << "openssl cannot make a test certificate";
    struct Case {
        const char* what;
        std::vector<std::string> peerOptions;
        MailSecurity security;
        bool trustTestCertificate;
        int signOnError;
    };
    const Case table[] = {
        {"STARTTLS", {"--tls", cert, key}, MailSecurity::StartTls, true, 0},
        {"implicit TLS", {"--tls", cert, key, "--implicit-tls"}, MailSecurity::ImplicitTls, true, 0},
        {"certificate not trusted", {"--tls", cert, key}, MailSecurity::StartTls, false, PermissionDenied},
        {"server without STARTTLS", {}, MailSecurity::StartTls, true, PermissionDenied},
    };
    for (const auto& test : table) {
        SCOPED_TRACE(test.what);
        SmtpPeer peer(test.peerOptions);
        auto transport = makeCurlMailTransport("/nonexistent/netrc");
        MailAccount account = accountFor(peer.port());
        account.security = test.security;
        account.caFile = test.trustTestCertificate ? cert : "";
        ASSERT_EQ(failureOf([&] { transport->signOn(account); }).first, test.signOnError);
        if (test.signOnError) {
            EXPECT_TRUE(peer.messages().empty());
            continue;
        }
        EXPECT_TRUE(transport->send({"to@example.com", "Über TLS", "n", {}}).accepted);
        auto received = peer.messages();
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0]["tls"], "yes");
        EXPECT_EQ(received[0]["subject"], "Über TLS");
    }
    std::filesystem::remove_all(dir);
}

TEST(CurlMailTransport, UnreadableAttachmentSendsNothingAndSlowServerTimesOut)
{
    SmtpPeer peer({"--slow-data", "6"});
    auto transport = makeCurlMailTransport("/nonexistent/netrc");
    MailAccount account = accountFor(peer.port());
    account.replyTimeout = 1s;
    transport->signOn(account);
    const std::pair<std::string, int> unreadable[] = {{(peer.dir() / "missing.rtf").string(), FileNotFound},
                                                      {peer.dir().string(), PathFileAccessError}};
    for (const auto& [path, number] : unreadable)
        EXPECT_EQ(failureOf([&] { transport->send({"a@example.com", "s", "n", MailAttachment {path, "A.RTF"}}); }).first, number);
    EXPECT_TRUE(peer.messages().empty());
    const auto [number, seconds] = failureOf([&] { transport->send({"a@example.com", "s", "n", {}}); });
    EXPECT_EQ(number, DeviceUnavailable);
    EXPECT_LT(seconds, 4.5);
}

}  // namespace
}  // namespace zlt
