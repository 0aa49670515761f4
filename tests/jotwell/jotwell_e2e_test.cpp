// The jotwell program as the host runs it: its command line as argv, the
// drive map, a stand-in xdg-open alone on PATH (or none), no display, so
// boxes come out on standard error. A failure is one line.
#include <gtest/gtest.h>

#include "tests/support/program_run.h"

namespace zlt::testing {
namespace {

TEST(JotwellProgram, CreatesStampsAndHandsOverOrSaysWhyNot)
{
    const std::string opener = "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$0.log\"\n", jane = "C:\\zlt\\notes\\,CS000002.DOC,Jane";
    const struct {
        std::vector<std::string> arguments;
        int status;
        bool created, opened;
        std::string standardError;  // what it starts with; @ stands for the test's folder
        std::vector<std::string> settings = {};
        std::string heading = "Customer Account (2) - Jane Citizen\\fs20\\par";
    } cases[] = {
        {{jane, "Citizen"}, 0, true, true, ""},
        // The same name from a Linux shell (UTF-8) and from a DOS host (code page 850).
        {{jane.substr(0, 27) + "\xC2\xA3 Caf\xC3\xA9"}, 0, true, true, "", {}, "(2) - \\'a3 Caf\\'e9\\fs20"},
        {{jane.substr(0, 27) + "\x9C Caf\x82"}, 0, true, true, "", {"ZLT_CODEPAGE=850"}, "(2) - \\'a3 Caf\\'e9\\fs20"},
        {{}, 0, false, false, "ZELTO Notes - Operating instructions\nZELTO Detailed MS Word Notes\n"},
        {{"C:\\zlt\\notes\\,CS000002.DOC"}, 1, false, false,
         "jotwell: reading the command line C:\\zlt\\notes\\,CS000002.DOC: Invalid procedure call or argument "
         "(error 5)\nJotwell\nRun-time error '5':\n\nInvalid procedure call or argument\n"},
        {{"C:\\zlt\\none\\,CS000002.DOC,Jane"}, 0, false, false, "jotwell: saving C:\\zlt\\none\\CS000002.DOC: Path not found (@"},
        {{jane, "Citizen"}, 0, true, false, "jotwell: handing the notes to the word processor: No word processor could be "
         "started, xdg-open is not on PATH: the notes are kept as @/c/ZLT/Notes/CS000002.DOC (error 429)\n", {"PATH=/none"}},
        {{jane, "Citizen"}, 0, true, true, "LC_ALL names the locale xx_NOWHERE.UTF-8, which is not installed: dates and "
         "times are written as the C library writes them, month first\n", {"LC_ALL=xx_NOWHERE.UTF-8", "LANG=C.UTF-8"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.standardError);
        TempDir dir("jotwell");
        std::filesystem::create_directories(dir.path() / "c/ZLT/Notes");
        std::filesystem::permissions(dir.write("bin/xdg-open", opener), std::filesystem::perms::owner_all);
        std::vector<std::string> environment = {"PATH=" + dir / "bin", "HOME=" + dir.path().string(),
                                                "ZLT_DRIVES=C=" + dir / "c"};
        for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* value = std::getenv(name))
                environment.push_back(std::string(name) + "=" + value);
        environment.insert(environment.end(), c.settings.begin(), c.settings.end());  // the last of a name counts
        const ProgramResult result = runProgram(JOTWELL_BINARY, c.arguments, environment, dir.path());
        EXPECT_EQ(result.exitStatus, c.status);
        std::string said = c.standardError;
        if (const auto at = said.find('@'); at != std::string::npos)
            said.replace(at, 1, dir.path().string());
        EXPECT_TRUE(result.standardError.starts_with(said)) << result.standardError;
        if (c.status == 0 && !said.starts_with("ZELTO")) {
            EXPECT_EQ(std::count(result.standardError.begin(), result.standardError.end(), '\n'), said.empty() ? 0 : 1);
        }
        const std::string notes = dir / "c/ZLT/Notes/CS000002.DOC";
        EXPECT_EQ(fileText(dir / "bin/xdg-open.log"), c.opened ? notes + "\n" : "");
        EXPECT_EQ(fileText(notes).starts_with("{\\rtf1"), c.created);
        if (c.created) {
            EXPECT_NE(fileText(notes).find(c.heading), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace zlt::testing
