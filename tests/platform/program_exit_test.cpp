// How a program ends: the one line on standard error and the exit status.
#include "platform/program_exit.h"
#include <gtest/gtest.h>
#include <sstream>
#include <system_error>

using namespace zlt;

TEST(GuardedMain, OneLineAndTheStatus)
{
    const std::tuple<std::function<int()>, int, std::string> cases[] = {
        {[] { return exit_status::Done; }, exit_status::Done, ""},
        {[]() -> int { throw RunTimeError(error_number::FileNotFound, "File not found (/c/RPT)"); }, exit_status::Failed,
         "prog: stopped: File not found (/c/RPT) (error 53)\n"},
        {[]() -> int { throw std::invalid_argument("ZLT_DRIVES: bad"); }, exit_status::BadSetting, "prog: setting: ZLT_DRIVES: bad\n"},
        {[]() -> int { throw std::bad_alloc(); }, exit_status::Failed, "prog: stopped: Out of memory (error 7)\n"},
        {[]() -> int { throw std::system_error(ENOSPC, std::generic_category(), "log"); }, exit_status::Failed,
         "prog: stopped: Disk full (log: No space left on device) (error 61)\n"},
        {[]() -> int { throw std::logic_error("odd"); }, exit_status::Failed, "prog: stopped: odd\n"},
        {[]() -> int { throw 5; }, exit_status::Failed, "prog: stopped by an unknown failure\n"},
    };
    for (const auto& [body, status, line] : cases) {
        std::ostringstream errors;
        EXPECT_EQ(guardedMain("prog", errors, body), status) << line;
        EXPECT_EQ(errors.str(), line);
    }
}
