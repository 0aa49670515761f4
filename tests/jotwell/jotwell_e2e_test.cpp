// The jotwell program as the host runs it: its command line as argv, the
// drive map, a stand-in xdg-open alone on PATH (or none), no display, so
// boxes come out on standard error.
#include <gtest/gtest.h>

#include "tests/support/program_run.h"

namespace zlt::testing {
namespace {

TEST(JotwellProgram, CreatesStampsAndHandsOverOrSaysWhyNot)
{
    const std::string opener = "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$0.log\"\n";
    const struct {
        std::vector<std::string> arguments;
        bool hasOpener;
        int status;
        bool created;
        std::string standardError;  // what it starts with
        std::string codePage = "1252", heading = "Customer Account (2) - Jane Citizen\\fs20\\par";
    } cases[] = {
        {{"C:\\zlt\\notes\\,CS000002.DOC,Jane", "Citizen"}, true, 0, true, ""},
        // The same name from a Linux shell (UTF-8) and from a DOS host (code page 850).
        {{"C:\\zlt\\notes\\,CS000002.DOC,\xC2\xA3 Caf\xC3\xA9"}, true, 0, true, "", "1252", "(2) - \\'a3 Caf\\'e9\\fs20"},
        {{"C:\\zlt\\notes\\,CS000002.DOC,\x9C Caf\x82"}, true, 0, true, "", "850", "(2) - \\'a3 Caf\\'e9\\fs20"},
        {{}, true, 0, false, "ZELTO Notes - Operating instructions\nZELTO Detailed MS Word Notes\n"},
        // One failure, one line.
        {{"C:\\zlt\\none\\,CS000002.DOC,Jane"}, true, 0, false, "jotwell: saving C:\\zlt\\none\\CS000002.DOC: Path "
         "not found (/"},
        {{"C:\\zlt\\notes\\,CS000002.DOC"}, true, 1, false,
         "jotwell: reading the command line C:\\zlt\\notes\\,CS000002.DOC: Invalid procedure call or argument "
         "(error 5)\nJotwell\nRun-time error '5':\n\nInvalid procedure call or argument\n"},
        {{"C:\\zlt\\notes\\,CS000002.DOC,Jane Citizen"}, false, 1, false,
         "ZELTO Notes Error - Incorrect version\nThe version of MS Word you have installed on \n"
         "your machine  is not compatible with\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.standardError);
        TempDir dir("jotwell");
        std::filesystem::create_directories(dir.path() / "c/ZLT/Notes");
        std::filesystem::create_directories(dir.path() / "bin");
        if (c.hasOpener)
            std::filesystem::permissions(dir.write("bin/xdg-open", opener), std::filesystem::perms::owner_all);
        std::vector<std::string> environment = {"PATH=" + dir / "bin", "HOME=" + dir.path().string(),
                                                "ZLT_DRIVES=C=" + dir / "c", "ZLT_CODEPAGE=" + c.codePage};
        for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* value = std::getenv(name))
                environment.push_back(std::string(name) + "=" + value);
        const ProgramResult result = runProgram(JOTWELL_BINARY, c.arguments, environment, dir.path());
        EXPECT_EQ(result.exitStatus, c.status);
        EXPECT_TRUE(result.standardError.starts_with(c.standardError)) << result.standardError;
        if (c.status == 0 && !c.standardError.starts_with("ZELTO")) {
            EXPECT_EQ(std::count(result.standardError.begin(), result.standardError.end(), '\n'), c.standardError.empty() ? 0 : 1);
        }
        const std::string notes = dir / "c/ZLT/Notes/CS000002.DOC";
        EXPECT_EQ(fileText(dir / "bin/xdg-open.log"), c.created ? notes + "\n" : "");
        EXPECT_EQ(fileText(notes).starts_with("{\\rtf1"), c.created);
        if (c.created) {
            EXPECT_NE(fileText(notes).find(c.heading), std::string::npos) << fileText(notes).substr(fileText(notes).size() - 200);
        }
    }
}

}  // namespace
}  // namespace zlt::testing
