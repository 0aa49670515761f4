// The mail session of the Linux desktop on a recording transport: what a
// composed message becomes, and how sign-on and transport failures reach
// the dispatcher.
#include <gtest/gtest.h>

#include "engines/mail/smtp/transport_mail_session.h"
#include "engines/mail/testing/recording_mail_transport.h"
#include "platform/testing/memory_file_system.h"

namespace zlt {
namespace {

using namespace error_number;

MailAccount shop()
{
    MailAccount account;
    account.server = "mail.example";
    return account;
}

std::string shown(const MailDelivery& delivery)
{
    const char* const verdicts[] = {"accepted", "for now", "for good", "account refused"};
    return verdicts[static_cast<int>(delivery.verdict)] + (" " + std::to_string(delivery.replyCode)) + " " + delivery.replyText;
}

TEST(TransportMailSession, SignsOnToTheAccountTheNameStandsForOrSaysWhyNot)
{
    testing::MemoryFileSystem fs;
    testing::RecordingMailTransport transport(fs);
    const auto session = makeTransportMailSession(transport, [](const std::string& name) {
        return name == "Shop" ? std::optional<MailAccount>(shop()) : std::nullopt;
    });
    session->setUserName("Other");
    session->signOn();
    EXPECT_EQ(session->sessionId(), 0u);
    EXPECT_EQ(session->signOnProblem(), "no mail account named \"Other\" in the registry");
    EXPECT_THROW(session->send(false), RunTimeError);  // no session
    transport.signOnFailure = RunTimeError(PermissionDenied, "Permission denied (login refused)");
    session->setUserName("Shop");
    session->signOn();
    EXPECT_EQ(session->sessionId(), 0u);
    EXPECT_EQ(session->signOnProblem(), "Permission denied (login refused)");
    transport.signOnFailure.reset();
    session->signOn();
    EXPECT_NE(session->sessionId(), 0u);
    EXPECT_EQ(session->signOnProblem(), "");
    EXPECT_EQ(transport.accounts.back().server, "mail.example");
    session->signOff();
    EXPECT_FALSE(transport.signedOn);
}

TEST(TransportMailSession, ComposedMessagesAndWhatBecomesOfThem)
{
    testing::MemoryFileSystem fs;
    fs.addFile("/c/ZLT/EMAIL0.RTF", "{\\rtf1 body}");
    fs.addFile("/c/ZLT/NOTES.TXT", "plain");
    testing::RecordingMailTransport transport(fs);
    transport.deliveries["busy@x"] = {MailVerdict::RefusedForNow, 451, "4.2.0 busy"};
    transport.failures.emplace("lost@x", RunTimeError(DeviceUnavailable, "Device unavailable (connection lost)"));
    transport.failures.emplace("login@x", RunTimeError(PermissionDenied, "Permission denied (login refused)"));
    transport.failures.emplace("unreadable@x", RunTimeError(DeviceIoError));
    const auto session = makeTransportMailSession(transport, [](const std::string&) { return shop(); });
    session->signOn();
    const std::string Local64(64, 'l'), NoServer = "for good 0 no SMTP server takes the recipient address: ";
    struct Case {
        std::string recipAddress;
        std::string outcome;  // shown, or "error N" for what is raised
        std::string handedOver;  // what the transport got: "recipient | attachment name type", or nothing
    };
    const Case table[] = {
        {"smtp: a@x", "accepted 250 OK", "a@x | EMAIL0.RTF application/rtf"},
        {"smtp: ADDR", "accepted 250 OK", "ADDR | EMAIL0.RTF application/rtf"},
        {"smtp: busy@x", "for now 451 4.2.0 busy", "busy@x | EMAIL0.RTF application/rtf"},
        {"smtp: lost@x", "for now 0 Device unavailable (connection lost)", "lost@x | EMAIL0.RTF application/rtf"},
        {"smtp: login@x", "account refused 0 Permission denied (login refused)", "login@x | EMAIL0.RTF application/rtf"},
        {"smtp: unreadable@x", "error 57", "unreadable@x | EMAIL0.RTF application/rtf"},
        {"smtp: " + Local64 + "@" + std::string(189, 'd'), "accepted 250 OK", Local64 + "@" + std::string(189, 'd') + " | EMAIL0.RTF application/rtf"},
        {"smtp: " + Local64 + "@" + std::string(190, 'd'), NoServer + "it is 255 characters long, SMTP takes 254", ""},
        {"smtp: " + Local64 + "x@d", NoServer + "its part before the @ is 65 characters long, SMTP takes 64", ""},
        {"smtp: a b@x", NoServer + "it holds a blank, a control character, \"<\" or \">\"", ""},
        {"smtp: ", NoServer + "it is empty", ""},
    };
    for (const auto& test : table) {
        SCOPED_TRACE(test.recipAddress);
        transport.sent.clear();
        session->compose();
        session->setRecipAddress(test.recipAddress);
        session->setMsgSubject("Weekly sales ");
        session->setMsgNoteText("note");
        session->setAttachmentPathName("/c/ZLT/EMAIL0.RTF");
        std::string outcome;
        try {
            outcome = shown(session->send(false));
        } catch (const RunTimeError& error) {
            outcome = "error " + std::to_string(error.number());
        }
        EXPECT_EQ(outcome, test.outcome);
        std::string handedOver;
        for (const auto& [message, bytes] : transport.sent) {
            handedOver += message.recipient + " | " + message.attachment->fileName + " " + message.attachment->contentType;
            EXPECT_EQ(message.subject + message.noteText + bytes, "Weekly sales note{\\rtf1 body}");
        }
        EXPECT_EQ(handedOver, test.handedOver);
    }
    session->compose();
    EXPECT_EQ(session->attachmentCount(), 0);
    session->setRecipAddress("smtp: a@x");
    session->setAttachmentPathName("/c/ZLT/NOTES.TXT");
    EXPECT_EQ(session->attachmentCount(), 1);
    session->send(false);
    EXPECT_EQ(transport.sent.back().message.attachment->contentType, "application/octet-stream");
}

TEST(TransportMailSession, RecipientAddressLosesItsTypePrefix)
{
    const std::pair<const char*, const char*> table[] = {
        {"smtp: a@b.c", "a@b.c"}, {"SMTP:a@b.c", "a@b.c"}, {"a@b.c", "a@b.c"}, {"smtp:   ", ""}, {"smtpx a", "smtpx a"},
    };
    for (const auto& [given, address] : table)
        EXPECT_EQ(addressOfRecipient(given), address);
}

}  // namespace
}  // namespace zlt
