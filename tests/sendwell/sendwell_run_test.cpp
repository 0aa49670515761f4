// Whole runs on the in-memory host files, sending through the real mail
// session to a recording transport: the log's lines, what each message
// carries, and what is filed or left queued.
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

const std::string Profiles = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Messaging Subsystem\\Profiles";
const std::string Account = "REGEDIT4\n" + Profiles + "]\n\"DefaultProfile\"=\"Shop\"\n" + Profiles +
                            "\\Shop]\n\"SMTP Server\"=\"mail.example\"\n\"SMTP Email Address\"=\"shop@example.org\"\n";
const std::vector<std::string> NoteLines = {"Setting up outgoing mail process", "Loading ZELTO signature mail message",
                                            "Loading ZELTO dialogue mail message", "Constructing email body for EMAIL0.RTF"};

class SendwellRun : public ::testing::Test {
public:
    SendwellRun()
    {
        fs.addFolder("/c/ZLT/EMAIL/SENT");
        fs.setCurrentDirectory("/c");
        fs.addFile("/c/ZLT/SIGNAT.TAG", "Corner Shop\r\nMain St\r\n");
        fs.addFile("/c/ZLT/DISCLAIM.TAG", "Private.\r\n");
    }
    void queue(const std::vector<std::pair<std::string, std::string>>& mailFiles)
    {
        std::string list;
        for (const auto& [name, text] : mailFiles) {
            fs.addFile("/c/ZLT/EMAIL/" + name, text);
            list += name + "\r\n";
        }
        fs.addFile("/c/ZLT/EMAIL.TAG", list);
    }
    int run()
    {
        transport.sent.clear();
        const std::string before = fs.content("/c/ZLT/ZELTOeMail.log");
        HostFiles files {fs, DriveMap::parse(drives, "/home")};
        const auto session = makeTransportMailSession(transport, [this](const std::string& name) { return mailAccountNamed(registry, name); });
        SendwellPlatform platform {files, clock, box, window, *session, locks, codePage,
                                   [this]() -> const registry::Registry& { return registry = registry::Registry::fromRegFile(regFile); },
                                   [] { return std::vector<std::string> {"Arial", "Courier"}; }};
        const int status = runSendwell("ignored", platform);
        EXPECT_FALSE(window.visible);
        logged.clear();
        const std::string log = fs.content("/c/ZLT/ZELTOeMail.log").substr(before.size());
        for (const std::string_view line : textLines(log)) {
            EXPECT_EQ(line.substr(0, 25), "02/03/27, 04:05:06 pm    ");
            logged.emplace_back(line.substr(25));
        }
        return status;
    }
    // The log lines that tell of messages and files, not the steps of composing one.
    std::vector<std::string> outcomes() const
    {
        std::vector<std::string> kept;
        for (const std::string& line : logged)
            if (std::find(NoteLines.begin(), NoteLines.end(), line) == NoteLines.end() && line != "Constructing email body for EMAIL1.RTF")
                kept.push_back(line);
        return kept;
    }
    bool wasLogged(const std::string& line) const { return std::find(logged.begin(), logged.end(), line) != logged.end(); }
    std::vector<std::string> sentSummary() const
    {
        std::vector<std::string> out;
        for (const auto& [message, attachment] : transport.sent)
            out.push_back(message.recipient + " | " + message.subject + " | " + (message.attachment ? message.attachment->fileName : "-"));
        return out;
    }
    bool queued(const std::string& name) { return fs.files().count("/c/ZLT/EMAIL/" + name) > 0; }

    MemoryFileSystem fs;
    std::string drives = "C=/c";
    FixedClock clock {{2027, 3, 2, 16, 5, 6}};
    RecordingMessageBox box;
    RecordingStatusWindow window;
    RecordingMailTransport transport {fs};
    MemoryRunLocks locks;
    CodePage codePage {1252};
    std::string regFile = Account;
    registry::Registry registry;
    std::vector<std::string> logged;
};

TEST_F(SendwellRun, OneMessageSentLoggedAndFiled)
{
    queue({{"A.TXT", "%%%X: 7 Y: ADDR Z: Weekly sales\r\nTotal {\\b 5}\r\n"}});
    EXPECT_EQ(run(), 0);
    std::vector<std::string> expectedLog = {"Commence mail initialisation", "Preparing to process 1 mail files from C:\\ZLT\\EMAIL\\",
                                            "Signed on to MAPI account Shop", "Established MAPI session number 1",
                                            "Opened mail file A.TXT for dispatch"};
    expectedLog.insert(expectedLog.end(), NoteLines.begin(), NoteLines.end());
    expectedLog.insert(expectedLog.end(), {"ADDR sent Weekly sales  {Email 1}", "Finished processing mail file A.TXT",
                                           "Mail file A.TXT moved to sent folder", "Signed out of MAPI account Shop",
                                           "Completed mail process"});
    EXPECT_EQ(logged, expectedLog);
    EXPECT_EQ(transport.accounts.at(0).server, "mail.example");
    ASSERT_EQ(transport.sent.size(), 1u);
    const auto& [message, attachment] = transport.sent[0];
    EXPECT_EQ(message.recipient + " | " + message.subject + " | " + message.attachment->fileName + " " + message.attachment->contentType,
              "ADDR | Weekly sales  | EMAIL0.RTF application/rtf");
    EXPECT_EQ(message.noteText, std::string(50, ' ') + "\r\nCorner Shop\r\nMain St\r\n\r\nPrivate.\r\n\r\n"
                                " To make this report MS Word friendly you\r\n may need to adjust your horizontal margins.\r\n");
    EXPECT_NE(attachment.find("{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier;}}"), std::string::npos);
    EXPECT_NE(attachment.find("\\fs20 Total \\{\\\\b 5\\}\\par"), std::string::npos);  // text, not RTF
    EXPECT_FALSE(transport.signedOn);
    EXPECT_FALSE(queued("A.TXT"));
    EXPECT_TRUE(fs.files().count("/c/ZLT/EMAIL/SENT/A.TXT"));
    EXPECT_EQ(window.count, "Processing mail file 1 of 1");
    EXPECT_EQ(window.progress, " 91%");  // line ends are not counted
}

TEST_F(SendwellRun, MessagesOfAFileByItsHeaders)
{
    const std::string esc = "\x1b", dc2 = "\x12";
    const std::string h1 = "%%%X: 1 Y: a@x Z: One\r\n", h2 = "%%%X: 2 Y: b@x Z: Two\r\n";
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> sent;
        std::vector<std::string> log;
    };
    const Case table[] = {
        {"two messages", h1 + "x\r\n" + h2 + "y\r\n", {"a@x | One  | EMAIL0.RTF", "b@x | Two  | EMAIL0.RTF"},
         {"a@x sent One  {Email 1 part 0}", "b@x sent Two  {Email 2}"}},
        {"a last header without body", h1 + "x\r\n" + h2, {"a@x | One  | EMAIL0.RTF"}, {"a@x sent One  {Email 1 part 0}"}},
        {"two headers in a row", h1 + h2 + "y\r\n", {"a@x | One  | EMAIL0.RTF", "b@x | Two  | EMAIL0.RTF"},
         {"a@x sent One  {Email 1 part 0}", "b@x sent Two  {Email 2}"}},
        {"printer prefixes", esc + "ab" + h1 + "x\r\n" + esc + "123456789" + h2 + dc2 + h2 + "y\r\n",
         {"a@x | One  | EMAIL0.RTF", "b@x | Two  | EMAIL0.RTF"}, {"a@x sent One  {Email 1 part 0}", "b@x sent Two  {Email 2}"}},
        {"text before the first header goes nowhere", "stray\r\n" + h1 + "x\r\n", {"a@x | One  | EMAIL0.RTF"},
         {"a@x sent One  {Email 1}"}},
        {"no header at all", "stray\r\nmore\r\n", {}, {"Mail file M.TXT holds no email header: none of its text was sent"}},
        {"a header without its colons", "%%%broken\r\nsecret\r\n" + h2 + "y\r\n", {"b@x | Two  | EMAIL0.RTF"},
         {"Email header without its address and subject; its text is not sent: %%%broken", "b@x sent Two  {Email 2}"}},
        {"a recipient no server takes", "%%%X: 1 Y: a<b>@x Z: One\r\nx\r\n", {},
         {"a<b>@x not sent One  {Email 1}: refused for good: no SMTP server takes the recipient address: it holds a blank, "
          "a control character, \"<\" or \">\""}},
    };
    for (const auto& test : table) {
        SCOPED_TRACE(test.what);
        // P.TXT's recipient must not get what follows in M.TXT.
        queue({{"P.TXT", h1 + "previous\r\n"}, {"M.TXT", test.text}});
        EXPECT_EQ(run(), 0);
        std::vector<std::string> sent = sentSummary();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(std::vector<std::string>(sent.begin() + 1, sent.end()), test.sent);
        const auto all = outcomes();
        const auto from = std::find(all.begin(), all.end(), "Opened mail file M.TXT for dispatch");
        const auto to = std::find(all.begin(), all.end(), "Finished processing mail file M.TXT");
        ASSERT_LT(from, to);
        EXPECT_EQ(std::vector<std::string>(from + 1, to), test.log);
        EXPECT_FALSE(queued("M.TXT"));
        EXPECT_NE(fs.content("/c/ZLT/EMAIL/SENT/M.TXT"), "");
    }
}

TEST_F(SendwellRun, LongBodyGoesInPartsAndTheLineAtThePartChangeIsKept)
{
    const std::string line(999, 'x');  // 1001 with its line end: 500 lines pass the limit
    std::string text = "%%%X: 1 Y: a@x Z: Big\r\n";
    for (int i = 0; i < 500; ++i)
        text += line + "\r\n";
    queue({{"B.TXT", text + "FIRST OF PART TWO\r\nlast\r\n"}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(sentSummary(), (std::vector<std::string> {"a@x | Big  | EMAIL1.RTF", "a@x | Big  (Part 2) | EMAIL1.RTF"}));
    ASSERT_EQ(transport.sent.size(), 2u);
    EXPECT_EQ(transport.sent[0].attachmentBytes.find("FIRST"), std::string::npos);
    EXPECT_NE(transport.sent[1].attachmentBytes.find("\\fs20 FIRST OF PART TWO\\par\r\nlast\\par"), std::string::npos);
    EXPECT_TRUE(wasLogged("a@x sent Big  {Email 1 part 1}"));
    EXPECT_TRUE(wasLogged("a@x sent Big  {Email 1}"));
}

TEST_F(SendwellRun, SetupProblemsSendNothingAndSay)
{
    const std::vector<std::string> start = {"Commence mail initialisation", "Preparing to process 1 mail files from C:\\ZLT\\EMAIL\\"};
    const std::vector<std::string> signedOut = {"Signed out of MAPI account Shop", "Completed mail process"};
    auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) { return a.insert(a.end(), b.begin(), b.end()), a; };
    struct Case {
        const char* what;
        std::function<void(SendwellRun&)> arrange;
        int status;
        std::vector<std::string> log;
    };
    const Case table[] = {
        {"no list file", [](SendwellRun& t) { t.fs.remove("/c/ZLT/EMAIL.TAG"); }, 0,
         {"Commence mail initialisation", "Error: Can't find the ZELTO file list file, at C:\\ZLT\\EMAIL.TAG",
          "There are no emails awaiting to be processed", "Completed mail process"}},
        {"empty list", [](SendwellRun& t) { t.fs.addFile("/c/ZLT/EMAIL.TAG", ""); }, 0,
         {"Commence mail initialisation", "There are no emails awaiting to be processed", "Completed mail process"}},
        {"no profile", [](SendwellRun& t) { t.regFile = "REGEDIT4\n"; }, 3,
         join(start, {"Error: No default MAPI email account is setup on this machine", "Completed mail process"})},
        {"a registry file that is none", [](SendwellRun& t) { t.regFile = "garbage"; }, 3,
         join(start, {"Error: The registry cannot be read: Automation error (not a registry file)",
                      "Error: No default MAPI email account is setup on this machine", "Completed mail process"})},
        {"no signature", [](SendwellRun& t) { t.fs.remove("/c/ZLT/SIGNAT.TAG"); }, 3,
         join(start, {"Error: Can't find the ZELTO signature file, at C:\\ZLT\\SIGNAT.TAG",
                      "No mail was sent: every mail file stays queued for the next run", "Completed mail process"})},
        {"a profile without its account", [](SendwellRun& t) { t.regFile = Account.substr(0, Account.rfind(Profiles)); }, 3,
         join(start, join({"Signed on to MAPI account Shop",
                           "Error: The MAPI account Shop could not be signed on to: no mail account named \"Shop\" in the registry"}, signedOut))},
        {"a bad value", [](SendwellRun& t) { t.regFile += "\"SMTP Port\"=\"587\"\n\"SMTP Secure Connection\"=dword:7\n"; }, 3,
         join(start, join({"Signed on to MAPI account Shop", "Error: The MAPI account Shop could not be signed on to: bad setting in the "
                           "registry: \"SMTP Port\" must be a dword from 1 to 65535, not the string \"587\"; \"SMTP Secure "
                           "Connection\" must be a dword 0 or 1, not 7"}, signedOut))},
        {"sign-on fails", [](SendwellRun& t) { t.transport.signOnFailure = RunTimeError(error_number::DeviceUnavailable, "Device unavailable (no answer)"); }, 3,
         join(start, join({"Signed on to MAPI account Shop", "Error: The MAPI account Shop could not be signed on to: Device unavailable (no answer)"}, signedOut))},
    };
    for (const auto& test : table) {
        SCOPED_TRACE(test.what);
        queue({{"A.TXT", "%%%X: 1 Y: a@x Z: One\r\nbody\r\n"}});
        regFile = Account;
        transport.signOnFailure.reset();
        fs.addFile("/c/ZLT/SIGNAT.TAG", "sig\r\n");
        test.arrange(*this);
        EXPECT_EQ(run(), test.status);
        EXPECT_EQ(logged, test.log);
        EXPECT_TRUE(transport.sent.empty());
        EXPECT_TRUE(queued("A.TXT"));
    }
}

TEST_F(SendwellRun, NoTreeShowsTheBoxAndLogsNothing)
{
    fs.setCurrentDirectory("/");
    drives = "D=/d";
    EXPECT_EQ(run(), 4);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].title, "ZELTO eMail Error - Setup not found");
    EXPECT_EQ(box.shown[0].text, "A valid setup for ZELTO eMail can't be found on the\nfixed and networks drives available "
                                 "to this machine.\n\nPlease contact ZELTO for further instructions.\n");
    EXPECT_EQ(window.timesShown, 1);
    EXPECT_TRUE(logged.empty());
}

TEST_F(SendwellRun, RefusedForNowStaysQueuedAndTheNextRunSendsOnlyTheRest)
{
    queue({{"A.TXT", "%%%X: 1 Y: a@x Z: One\r\n1\r\n%%%X: 2 Y: b@x Z: Two\r\n2\r\n%%%X: 3 Y: c@x Z: Three\r\n3\r\n"},
           {"B.TXT", "%%%X: 1 Y: gone@x Z: Four\r\n4\r\n"}});
    transport.deliveries["b@x"] = {MailVerdict::RefusedForNow, 451, "4.3.0 Mailbox busy\r\ntry later"};
    transport.deliveries["gone@x"] = {MailVerdict::RefusedForGood, 550, "5.1.1 No such user"};
    EXPECT_EQ(run(), 3);
    EXPECT_EQ(sentSummary(), (std::vector<std::string> {"a@x | One  | EMAIL0.RTF", "b@x | Two  | EMAIL0.RTF",
                                                        "c@x | Three  | EMAIL0.RTF", "gone@x | Four  | EMAIL0.RTF"}));
    EXPECT_TRUE(wasLogged("b@x not sent Two  {Email 2 part 0}: refused for now: 451 4.3.0 Mailbox busy  try later"));
    EXPECT_TRUE(wasLogged("Mail file A.TXT stays in the queue folder for the next run"));
    EXPECT_TRUE(wasLogged("gone@x not sent Four  {Email 1}: refused for good by the server: 550 5.1.1 No such user"));
    EXPECT_TRUE(queued("A.TXT"));
    EXPECT_FALSE(queued("B.TXT"));

    transport.deliveries.clear();
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(sentSummary(), std::vector<std::string> {"b@x | Two  | EMAIL0.RTF"});  // only the one refused
    EXPECT_TRUE(wasLogged("a@x already sent One  {Email 1 part 0} in an earlier run"));
    EXPECT_TRUE(wasLogged("c@x already sent Three  {Email 3} in an earlier run"));
    EXPECT_TRUE(wasLogged("Mail file B.TXT is no longer in the queue folder (it is in the sent folder); skipped"));
    EXPECT_FALSE(queued("A.TXT"));
    EXPECT_TRUE(fs.list("/c/ZLT/EMAIL/SENDING").empty());  // no record left

    // A new file of the same name starts afresh.
    queue({{"A.TXT", "%%%X: 1 Y: a@x Z: One\r\nnew text\r\n"}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(sentSummary(), (std::vector<std::string> {"a@x | One  | EMAIL0.RTF"}));

    // So does the same text written again: the host queued it anew, and a
    // record of the earlier file (one left by a run killed just after it
    // filed the file, say) must not hold it back.
    const std::string twice = "%%%X: 1 Y: a@x Z: One\r\n1\r\n%%%X: 2 Y: b@x Z: Two\r\n2\r\n";
    queue({{"A.TXT", twice}});
    transport.failures.emplace("b@x", RunTimeError(error_number::DeviceUnavailable));
    EXPECT_EQ(run(), 3);
    transport.failures.clear();
    queue({{"A.TXT", twice}});
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(sentSummary(), (std::vector<std::string> {"a@x | One  | EMAIL0.RTF", "b@x | Two  | EMAIL0.RTF"}));
}

TEST_F(SendwellRun, AnAccountTheServerRefusesLeavesEveryFileQueued)
{
    queue({{"A.TXT", "%%%X: 1 Y: a@x Z: One\r\n1\r\n%%%X: 2 Y: b@x Z: Two\r\n2\r\n"}, {"B.TXT", "%%%X: 1 Y: c@x Z: Three\r\n3\r\n"}});
    transport.deliveries["a@x"] = {MailVerdict::AccountRefused, 530, "5.7.0 Authentication required"};
    EXPECT_EQ(run(), 3);
    EXPECT_EQ(sentSummary(), std::vector<std::string> {"a@x | One  | EMAIL0.RTF"});  // and nothing after it
    EXPECT_EQ(std::vector<std::string>(logged.end() - 5, logged.end()),
              (std::vector<std::string> {"a@x not sent One  {Email 1 part 0}: the server refused the account: 530 5.7.0 Authentication required",
                                         "Mail file A.TXT stays in the queue folder for the next run",
                                         "Error: The mail server refused the MAPI account Shop: every mail file left stays queued for the next run",
                                         "Signed out of MAPI account Shop", "Completed mail process"}));
    EXPECT_TRUE(queued("A.TXT") && queued("B.TXT"));
    transport.deliveries.clear();
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(transport.sent.size(), 3u);
}

TEST_F(SendwellRun, AnotherRunsLockOrTooManyFilesLeaveMailQueued)
{
    std::vector<std::pair<std::string, std::string>> mailFiles;
    for (int i = 1; i <= 103; ++i)
        mailFiles.push_back({"M" + std::to_string(i), "%%%X: 1 Y: a" + std::to_string(i) + "@x Z: S\r\nb\r\n"});
    queue(mailFiles);
    auto other = locks.tryLock("/c/ZLT/EMAIL/SENDING/RUN.LCK");
    EXPECT_EQ(run(), 3);
    EXPECT_EQ(logged, (std::vector<std::string> {"Commence mail initialisation",
                                                  "Another run is dispatching the mail of C:\\ZLT\\EMAIL\\; this run ends",
                                                  "Completed mail process"}));
    EXPECT_TRUE(transport.sent.empty());
    other.reset();
    EXPECT_EQ(run(), 3);
    EXPECT_EQ(transport.sent.size(), 101u);
    EXPECT_EQ(logged[1], "Preparing to process 101 mail files from C:\\ZLT\\EMAIL\\");
    EXPECT_EQ(logged[2], "2 mail files wait for the next run, from M102 to M103: one run takes 101 mail files");
    EXPECT_TRUE(queued("M102"));
    EXPECT_FALSE(queued("M101"));
    // The names already filed take no place of the next run.
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(sentSummary(), (std::vector<std::string> {"a102@x | S  | EMAIL0.RTF", "a103@x | S  | EMAIL0.RTF"}));
    EXPECT_EQ(logged[1], "101 mail files are no longer in the queue folder (they are in the sent folder), from M1 to M101; skipped");
}

}  // namespace
}  // namespace zlt::sendwell
