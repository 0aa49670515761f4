// The mail session of the Linux desktop on a recording transport: how
// sign-on problems and transport failures reach the dispatcher, and what a
// composed message becomes.
#include <gtest/gtest.h>

#include "engines/mail/smtp/transport_mail_session.h"
#include "engines/mail/testing/recording_mail_transport.h"
#include "platform/testing/memory_file_system.h"

namespace zlt {
namespace {

using namespace error_number;

std::optional<MailAccount> accountNamed(const std::string& name)
{
    if (name == "Bad")
        throw RunTimeError(InvalidProcedureCall, "bad setting in the registry: \"SMTP Port\" must be a dword");
    MailAccount account;
    account.server = "mail.example";
    return name.starts_with("Shop") ? std::optional(account) : std::nullopt;
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
    const auto session = makeTransportMailSession(transport, accountNamed);
    const std::pair<const char*, const char*> table[] = {  // user name, what stops the sign-on
        {"Other", "no mail account named \"Other\" in the registry"},
        {"Bad", "bad setting in the registry: \"SMTP Port\" must be a dword"},
        {"Shop refused", "Permission denied (login refused)"},
        {"Shop", ""},
    };
    for (const auto& [name, problem] : table) {
        transport.signOnFailure = RunTimeError(PermissionDenied, "Permission denied (login refused)");
        if (!std::string(name).ends_with("refused"))
            transport.signOnFailure.reset();
        session->setUserName(name);
        session->signOn();
        EXPECT_EQ(session->signOnProblem(), problem) << name;
        EXPECT_EQ(session->sessionId() != 0 && transport.signedOn, *problem == '\0') << name;
    }
    EXPECT_EQ(transport.accounts.back().server, "mail.example");
    session->signOff();
    EXPECT_FALSE(transport.signedOn);
    EXPECT_THROW(session->send(false), RunTimeError);  // no session
}

TEST(TransportMailSession, ComposedMessagesAndWhatBecomesOfThem)
{
    testing::MemoryFileSystem fs;
    fs.addFile("/c/ZLT/EMAIL0.RTF", "{\\rtf1 body}");
    testing::RecordingMailTransport transport(fs);
    transport.deliveries["busy@x"] = {MailVerdict::RefusedForNow, 451, "4.2.0 busy"};
    transport.failures.emplace("lost@x", RunTimeError(DeviceUnavailable, "Device unavailable (connection lost)"));
    transport.failures.emplace("login@x", RunTimeError(PermissionDenied, "Permission denied (login refused)"));
    transport.failures.emplace("unreadable@x", RunTimeError(DeviceIoError));
    const auto session = makeTransportMailSession(transport, accountNamed);
    session->setUserName("Shop");
    session->signOn();
    const std::string local64(64, 'l'), noServer = "for good 0 no SMTP server takes the recipient address: ";
    const std::tuple<std::string, std::string, std::string> table[] = {  // recipAddress, outcome or error, recipient handed over
        {"smtp: a@x", "accepted 250 OK", "a@x"},
        {"SMTP:a@x", "accepted 250 OK", "a@x"},
        {"ADDR", "accepted 250 OK", "ADDR"},
        {"smtp: busy@x", "for now 451 4.2.0 busy", "busy@x"},
        {"smtp: lost@x", "for now 0 Device unavailable (connection lost)", "lost@x"},
        {"smtp: login@x", "account refused 0 Permission denied (login refused)", "login@x"},
        {"smtp: unreadable@x", "error 57", "unreadable@x"},
        {"smtp: " + local64 + "@" + std::string(189, 'd'), "accepted 250 OK", local64 + "@" + std::string(189, 'd')},
        {"smtp: " + local64 + "@" + std::string(190, 'd'), noServer + "it is 255 characters long, SMTP takes 254", ""},
        {"smtp: " + local64 + "x@d", noServer + "its part before the @ is 65 characters long, SMTP takes 64", ""},
        {"smtp: a b@x", noServer + "it holds a blank, a control character, \"<\" or \">\"", ""},
        {"smtpx a", noServer + "it holds a blank, a control character, \"<\" or \">\"", ""},
        {"smtp:   ", noServer + "it is empty", ""},
    };
    for (const auto& [recipAddress, outcome, handedOver] : table) {
        SCOPED_TRACE(recipAddress);
        transport.sent.clear();
        session->compose();
        session->setRecipAddress(recipAddress);
        session->setMsgSubject("Weekly sales ");
        session->setMsgNoteText("note");
        session->setAttachmentPathName("/c/ZLT/EMAIL0.RTF");
        try {
            EXPECT_EQ(shown(session->send(false)), outcome);
        } catch (const RunTimeError& error) {
            EXPECT_EQ("error " + std::to_string(error.number()), outcome);
        }
        ASSERT_EQ(transport.sent.size(), handedOver.empty() ? 0u : 1u);
        for (const auto& [message, bytes] : transport.sent)
            EXPECT_EQ(message.recipient + " " + message.subject + message.noteText + bytes + " " + message.attachment->fileName + " " +
                          message.attachment->contentType,
                      handedOver + " Weekly sales note{\\rtf1 body} EMAIL0.RTF application/rtf");
    }
}

}  // namespace
}  // namespace zlt
