// A whole run on the in-memory host files, sending through the real mail
// session to a recording transport: every line of the log in order, what
// the message carries, the window's captions and the file filed. What the
// program does for real, against a real server, is sendwell_e2e_test.py's.
#include <gtest/gtest.h>

#include "engines/mail/smtp/transport_mail_session.h"
#include "engines/mail/testing/recording_mail_transport.h"
#include "platform/testing/fixed_clock.h"
#include "platform/testing/memory_file_system.h"
#include "platform/testing/memory_run_locks.h"
#include "platform/testing/recording_message_box.h"
#include "platform/testing/recording_status_window.h"
#include "platform/text_lines.h"
#include "sendwell/mail_account_of.h"
#include "sendwell/run_sendwell.h"

namespace zlt::sendwell {
namespace {

using namespace zlt::testing;

TEST(SendwellRun, OneMessageSentLoggedAndFiled)
{
    MemoryFileSystem fs;
    fs.setCurrentDirectory("/c");
    fs.addFolder("/c/ZLT/EMAIL/SENT");
    fs.addFile("/c/ZLT/SIGNAT.TAG", "Corner Shop\r\n");
    fs.addFile("/c/ZLT/DISCLAIM.TAG", "Private.\r\n");
    fs.addFile("/c/ZLT/EMAIL/A.TXT", "%%%X: 7 Y: ADDR Z: Weekly sales\r\nTotal {\\b 5}\r\n");
    fs.addFile("/c/ZLT/EMAIL.TAG", "A.TXT\r\n");
    const std::string profiles = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Messaging Subsystem\\Profiles";
    const auto registry = registry::Registry::fromRegFile("REGEDIT4\n" + profiles + "]\n\"DefaultProfile\"=\"Shop\"\n" + profiles +
                                                         "\\Shop]\n\"SMTP Server\"=\"mail.example\"\n\"SMTP Email Address\"=\"s@x\"\n");
    HostFiles files {fs, DriveMap::parse("C=/c", "/home")};
    FixedClock clock {{2027, 3, 2, 16, 5, 6}};
    RecordingMessageBox box;
    RecordingStatusWindow window;
    RecordingMailTransport transport {fs};
    MemoryRunLocks locks;
    const CodePage codePage {1252};
    const auto session = makeTransportMailSession(transport, [&](const std::string& name) { return mailAccountNamed(registry, name); });
    SendwellPlatform platform {files, clock, box, window, *session, locks, codePage, [&]() -> const registry::Registry& { return registry; },
                               [] { return std::vector<std::string> {"Arial", "Courier"}; }};
    EXPECT_EQ(runSendwell("ignored", platform), 0);

    std::vector<std::string> logged;
    const std::string log = fs.content("/c/ZLT/ZELTOeMail.log");
    for (const std::string_view line : textLines(log)) {
        EXPECT_EQ(line.substr(0, 25), "02/03/27, 04:05:06 pm    ");
        logged.emplace_back(line.substr(25));
    }
    EXPECT_EQ(logged, (std::vector<std::string> {
                          "Commence mail initialisation", "Preparing to process 1 mail files from C:\\ZLT\\EMAIL\\",
                          "Signed on to MAPI account Shop", "Established MAPI session number 1", "Opened mail file A.TXT for dispatch",
                          "Setting up outgoing mail process", "Loading ZELTO signature mail message",
                          "Loading ZELTO dialogue mail message", "Constructing email body for EMAIL0.RTF",
                          "ADDR sent Weekly sales  {Email 1}", "Finished processing mail file A.TXT",
                          "Mail file A.TXT moved to sent folder", "Signed out of MAPI account Shop", "Completed mail process"}));
    EXPECT_EQ(transport.accounts.at(0).server, "mail.example");
    ASSERT_EQ(transport.sent.size(), 1u);
    const auto& [message, attachment] = transport.sent[0];
    EXPECT_EQ(message.recipient + " | " + message.subject + " | " + message.attachment->fileName + " " + message.attachment->contentType,
              "ADDR | Weekly sales  | EMAIL0.RTF application/rtf");
    EXPECT_NE(attachment.find("\\fs20 Total \\{\\\\b 5\\}\\par"), std::string::npos);  // text, not RTF
    EXPECT_FALSE(transport.signedOn || window.visible);
    EXPECT_TRUE(!fs.files().count("/c/ZLT/EMAIL/A.TXT") && fs.files().count("/c/ZLT/EMAIL/SENT/A.TXT"));
    EXPECT_EQ(window.count, "Processing mail file 1 of 1");
    EXPECT_EQ(window.progress, " 91%");  // line ends are not counted
}

}  // namespace
}  // namespace zlt::sendwell
