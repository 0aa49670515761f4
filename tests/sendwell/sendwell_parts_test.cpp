// The dispatcher's pieces on the in-memory host files: drive discovery, the
// log's time stamp, header lines and their prefixes, lines of a file, the
// account the registry names and the body font.
#include <gtest/gtest.h>

#include "common/registry/registry.h"
#include "platform/testing/memory_file_system.h"
#include "sendwell/dispatch_log.h"
#include "sendwell/mail_account_of.h"
#include "sendwell/mail_header.h"
#include "sendwell/mail_setup.h"
#include "sendwell/run_sendwell.h"

namespace zlt::sendwell {
namespace {

using testing::MemoryFileSystem;

TEST(MailRoot, CurrentDriveFirstThenTheFirstReadyFixedOrNetworkDrive)
{
    struct Case {
        const char* what;
        const char* current;
        std::vector<std::pair<char, DriveType>> trees;  // drives holding \ZLT\EMAIL\, of that type
        const char* found;
    };
    const Case table[] = {
        {"the current drive, even removable", "/d/work", {{'C', DriveType::Fixed}, {'D', DriveType::Removable}}, "D:"},
        {"alphabetical among fixed drives", "/e", {{'F', DriveType::Fixed}, {'C', DriveType::Fixed}}, "C:"},
        {"network counts", "/e", {{'G', DriveType::Network}}, "G:"},
        {"CD-ROM, RAM disk, removable do not", "/e",
         {{'C', DriveType::CdRom}, {'D', DriveType::RamDisk}, {'F', DriveType::Removable}}, ""},
        {"outside every drive: the scan", "/elsewhere", {{'D', DriveType::Fixed}}, "D:"},
        {"no tree at all", "/c", {}, ""},
    };
    for (const auto& test : table) {
        MemoryFileSystem fs;
        for (const char* root : {"/c", "/d", "/e", "/f", "/g", "/elsewhere"})
            fs.addFolder(root);
        fs.setCurrentDirectory(test.current);
        for (const auto& [letter, type] : test.trees) {
            const std::string root = std::string("/") + static_cast<char>(letter - 'A' + 'a');
            fs.addFolder(root + "/zlt/email");
            fs.setDriveType(root, type);
        }
        HostFiles files(fs, DriveMap::parse("C=/c;D=/d;E=/e;F=/f;G=/g;I=/missing", "/home"));
        EXPECT_EQ(findMailRoot(files), test.found) << test.what;
    }
}

TEST(MailList, PlainNamesOnly)
{
    for (const std::string name : {"A.TXT", "r\xe9sum\xe9", ".A"})
        EXPECT_TRUE(isPlainFileName(name)) << name;
    for (const std::string& name : {std::string("A.TXT\0X", 7), std::string(), std::string(".."), std::string(". ."),
                                   std::string("A\\B"), std::string("A/B"), std::string("C:A"), std::string("A\tB")})
        EXPECT_FALSE(isPlainFileName(name)) << name;
}

TEST(DispatchLog, TimeStampIsTwelveHourPaddedTo25)
{
    const std::pair<LocalTime, const char*> table[] = {
        {{2027, 3, 1, 9, 5, 7}, "01/03/27, 09:05:07 am    "},
        {{2026, 12, 5, 23, 44, 35}, "05/12/26, 11:44:35 pm    "},
        {{2000, 1, 31, 0, 0, 0}, "31/01/00, 12:00:00 am    "},
        {{2099, 7, 4, 12, 30, 59}, "04/07/99, 12:30:59 pm    "},
    };
    for (const auto& [time, stamp] : table)
        EXPECT_EQ(logTimeStamp(time), stamp);
    EXPECT_EQ(countCaption(0, 3), "Preparing to process 3 mail file");
    EXPECT_EQ(countCaption(2, 5), "Processing mail file 2 of 5");
}

TEST(MailHeader, PrefixesAndPositions)
{
    struct Case {
        std::string line;
        bool header;
        std::string address, subject;  // empty address: no usable header
    };
    const std::string esc = "\x1b", dc2 = "\x12";
    const Case table[] = {
        {"%%%X: 7 Y: ADDR Z: Weekly sales", true, "ADDR", "Weekly sales "},
        {esc + "ab%%%X: 1 Y: a@b.c Z: s", true, "a@b.c", "s "},               // "%%%" at position 4
        {esc + "1234567%%%X: 1 Y: a@b Z: s", true, "a@b", "s "},              // position 9 is the last
        {esc + "12345678%%%X: 1 Y: a@b Z: s", false, "", ""},                 // position 10 is body text
        {dc2 + "%%%To: x Rcpt: a@b Subj: Grüße", true, "a@b", "Grüße "},
        {dc2 + "x%%%To: x Rcpt: a@b Subj: s", false, "", ""},
        {"%%%X::Y: a@b Z: s", true, "a@b", "s "},           // the character after a colon is skipped
        {"%%%X: 1 Y: a@b", true, "", ""},                   // no third colon
        {"%%%X: 1 Y:  Z: s", true, "", ""},                 // no address
        {"%%%X: 1 Y: a@b Z:", true, "a@b", ""},
        {"%%%no colons at all", true, "", ""},
        {" %%%X: 1 Y: a@b Z: s", false, "", ""},
    };
    for (const auto& test : table) {
        const std::string clean = withoutPrinterPrefix(test.line);
        EXPECT_EQ(isHeaderLine(clean), test.header) << test.line;
        const auto header = test.header ? parseHeader(clean) : std::nullopt;
        EXPECT_EQ(header ? header->address : "", test.address) << test.line;
        EXPECT_EQ(header ? header->subject : "", test.subject) << test.line;
    }
}

TEST(MailAccount, TheRegistryValuesMakeTheAccount)
{
    const std::string head = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Messaging Subsystem\\Profiles\\Shop]\n"
                             "\"SMTP Server\"=\"mail.example\"\n\"SMTP Email Address\"=\"shop@example.org\"\n";
    const std::pair<std::string, std::string> table[] = {  // values; port, security (None, StartTls, ImplicitTls), seconds to wait
        {"", "25 0 reply 60 connect 20"},
        {"\"SMTP Secure Connection\"=dword:00000001\n\"SMTP Port\"=dword:0000024b\n", "587 1 reply 60 connect 20"},
        {"\"SMTP Secure Connection\"=dword:00000001\n\"SMTP Port\"=dword:000001d1\n", "465 2 reply 60 connect 20"},
        {"\"SMTP Secure Connection\"=dword:00000000\n\"SMTP Port\"=dword:000001d1\n", "465 0 reply 60 connect 20"},
        {"\"SMTP Timeout\"=dword:00000005\n", "25 0 reply 5 connect 5"},
        {"\"SMTP Timeout\"=dword:00100000\n", "25 0 reply 3600 connect 20"},  // an hour at most
    };
    for (const auto& [values, expected] : table) {
        const auto account = mailAccountNamed(registry::Registry::fromRegFile(head + values), "Shop");
        ASSERT_TRUE(account) << values;
        EXPECT_EQ(account->server + " " + account->senderAddress, "mail.example shop@example.org");
        using std::chrono::seconds, std::chrono::duration_cast, std::to_string;
        EXPECT_EQ(to_string(account->port) + " " + to_string(static_cast<int>(account->security)) + " reply " +
                      to_string(duration_cast<seconds>(account->replyTimeout).count()) + " connect " +
                      to_string(duration_cast<seconds>(account->connectTimeout).count()),
                  expected) << values;
    }
    EXPECT_FALSE(mailAccountNamed(registry::Registry::fromRegFile(head), "Other"));
}

}  // namespace
}  // namespace zlt::sendwell
