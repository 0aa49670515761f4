// The webhop program end to end: started as the host starts it, with a
// recording stand-in for xdg-open on PATH and no display, so that message
// boxes come out on standard error.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/webhop/opener_sandbox.h"
#include "tests/webhop/program_run.h"

namespace zlt {
namespace {

namespace fs = std::filesystem;
using testing::fileText;
using testing::ProgramResult;

class WebhopProgram : public ::testing::Test {
protected:
    ProgramResult webhop(const std::vector<std::string>& arguments)
    {
        return testing::runProgram(WEBHOP_BINARY, arguments, sandbox.environment(), sandbox.dir());
    }
    void installOpener(const std::string& ending) { sandbox.installOpener(ending); }
    fs::path opener() const { return sandbox.opener(); }
    fs::path openerLog() const { return sandbox.openerLog(); }

    testing::OpenerSandbox sandbox;
    const fs::path& dir = sandbox.dir();
    const fs::path binDir = sandbox.binDir();
};

struct OpenCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string opened;
};

TEST_F(WebhopProgram, HandsTheAddressToTheOpenerAsOneArgument)
{
    const OpenCase cases[] = {
        {"login as separate arguments", {"https://example.org/forum", "2000", "AB123"},
         "https://example.org/forum?loc=forum&pc=2000&rn=AB123"},
        {"login as one argument", {"https://example.org/forum 2000 AB123"},
         "https://example.org/forum?loc=forum&pc=2000&rn=AB123"},
        {"two spaces inside one argument", {"https://example.org/forum  2000 AB123"}, "https://example.org/forum"},
        {"blanks in front of the address", {"  https://example.org/forum 2000 AB123"},
         "https://example.org/forum?loc=forum&pc=2000&rn=AB123"},
        {"no scheme, no registration number", {"www.example.org/forum", "2000"},
         "http://www.example.org/forum?loc=forum&pc=2000&rn="},
        {"values encoded", {"https://example.org/forum", "2000", "A&B=C"},
         "https://example.org/forum?loc=forum&pc=2000&rn=A%26B%3DC"},
    };
    installOpener("exit 0");
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(openerLog());
        const ProgramResult result = webhop(c.arguments);
        EXPECT_EQ(result.exitStatus, 0) << result.standardError;
        EXPECT_EQ(fileText(openerLog()), c.opened + "\n");
        EXPECT_EQ(result.standardError, "");
    }
}

TEST_F(WebhopProgram, ShellSyntaxInTheAddressReachesTheOpenerVerbatim)
{
    installOpener("exit 0");
    const std::string d = dir.string();
    const std::string address = "https://example.org/x;touch${IFS}" + d + "/a$(touch${IFS}" + d + "/b)`touch${IFS}" +
                                d + "/c`&&touch${IFS}" + d + "/d|touch${IFS}" + d + "/e'\"";

    const ProgramResult result = webhop({address});

    EXPECT_EQ(result.exitStatus, 0) << result.standardError;
    EXPECT_EQ(fileText(openerLog()), address + "\n");
    for (const char* name : {"a", "b", "c", "d", "e"})
        EXPECT_FALSE(fs::exists(dir / name)) << name;
}

TEST_F(WebhopProgram, EmptyCommandLineShowsTheInstructionsAndOpensNothing)
{
    installOpener("exit 0");
    const std::vector<std::string> commandLines[] = {{}, {"   "}, {" ", ""}};
    for (const auto& arguments : commandLines) {
        SCOPED_TRACE(arguments.size());
        const ProgramResult result = webhop(arguments);

        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_NE(result.standardError.find("Webhop - Operating instructions\nInternet Explorer - Web page loader\n"),
                  std::string::npos)
            << result.standardError;
        EXPECT_FALSE(fs::exists(openerLog()));
    }
}

// Without an opener there is no browser, and that is reported before the
// address is even looked at.
TEST_F(WebhopProgram, NoOpenerOnPathStopsWithCannotCreateObject)
{
    for (const std::string address : {"https://example.org/forum", "file:///etc/passwd"}) {
        SCOPED_TRACE(address);
        const ProgramResult result = webhop({address});

        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_NE(result.standardError.find("Run-time error '429':"), std::string::npos) << result.standardError;
    }
}

TEST_F(WebhopProgram, OpenerThatIsNotExecutableDoesNotCount)
{
    installOpener("exit 0");
    fs::permissions(opener(), fs::perms::owner_read | fs::perms::owner_write);

    const ProgramResult result = webhop({"https://example.org/forum"});

    EXPECT_NE(result.exitStatus, 0);
    EXPECT_NE(result.standardError.find("Run-time error '429':"), std::string::npos) << result.standardError;
    EXPECT_FALSE(fs::exists(openerLog()));
}

TEST_F(WebhopProgram, OpenerFailureStopsWithAnError)
{
    installOpener("exit 3");

    const ProgramResult result = webhop({"https://example.org/forum"});

    EXPECT_NE(result.exitStatus, 0);
    EXPECT_EQ(fileText(openerLog()), "https://example.org/forum\n");
    EXPECT_NE(result.standardError.find("Run-time error '440':"), std::string::npos) << result.standardError;
    EXPECT_NE(result.standardError.find("exit status 3"), std::string::npos) << result.standardError;
}

TEST_F(WebhopProgram, RefusedAddressNeverReachesTheOpener)
{
    installOpener("exit 0");
    for (const std::string address : {"file:///etc/passwd", "/usr/bin/xterm", "-h"}) {
        SCOPED_TRACE(address);
        const ProgramResult result = webhop({address});
        EXPECT_NE(result.exitStatus, 0);
        EXPECT_NE(result.standardError.find("Run-time error '5':"), std::string::npos) << result.standardError;
        EXPECT_FALSE(fs::exists(openerLog()));
    }
}

// xdg-open hands over to a browser it starts in the background and returns;
// the browser must not keep the host waiting on webhop's output.
TEST_F(WebhopProgram, HostReadingTheOutputThroughAPipeSeesItsEndWhenWebhopEnds)
{
    installOpener("/bin/sleep 30 &\necho $! > \"$0.pid\"\nexit 0");

    int output = -1;
    const pid_t child =
        testing::startProgramOnPipe(WEBHOP_BINARY, {"https://example.org/forum"}, sandbox.environment(), output);
    std::string text;
    const bool ended = testing::readsToEndWithin(output, std::chrono::seconds(10), text);
    close(output);
    const int exitStatus = testing::exitStatusOf(child);

    const std::string pidText = fileText(binDir / "xdg-open.pid");
    ASSERT_FALSE(pidText.empty());
    const pid_t browser = std::stoi(pidText);
    EXPECT_EQ(kill(browser, 0), 0) << "the browser should still run";
    kill(browser, SIGTERM);

    EXPECT_TRUE(ended) << "the pipe stayed open after webhop ended";
    EXPECT_EQ(exitStatus, 0) << text;
    EXPECT_EQ(text, "");
    EXPECT_EQ(fileText(openerLog()), "https://example.org/forum\n");
}

TEST_F(WebhopProgram, OpenerThatStaysWithTheBrowserIsLeftRunning)
{
    installOpener("echo $$ > \"$0.pid\"\nexec /bin/sleep 30");

    const auto start = std::chrono::steady_clock::now();
    const ProgramResult result = webhop({"https://example.org/forum"});
    const auto elapsed = std::chrono::steady_clock::now() - start;

    const std::string pidText = fileText(binDir / "xdg-open.pid");
    ASSERT_FALSE(pidText.empty());
    const pid_t openerPid = std::stoi(pidText);
    EXPECT_EQ(kill(openerPid, 0), 0) << "the opener should still run";
    kill(openerPid, SIGTERM);

    EXPECT_EQ(result.exitStatus, 0) << result.standardError;
    EXPECT_EQ(fileText(openerLog()), "https://example.org/forum\n");
    EXPECT_LT(elapsed, std::chrono::seconds(15));
}

}  // namespace
}  // namespace zlt
