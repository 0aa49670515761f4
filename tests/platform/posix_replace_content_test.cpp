// Replacing a file on the real system: who owns it and who may write it stay as they were.
#include "platform/posix/posix_file_system.h"
#include "platform/run_time_error.h"
#include "tests/support/temp_dir.h"
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zlt;
namespace number = zlt::error_number;


// Root replacing another user's file keeps its owner, group and mode. A
// user who may not write a file in place, or cannot give the new file the
// old one's owner, leaves it as it was: root passes every permission check,
// so that half runs in a child as the unprivileged user nobody.
TEST(PosixReplaceContent, KeepsOwnerGroupAndModeOrLeavesTheFile)
{
    zlt::testing::TempDir dir("zlt-posix");
    const auto files = makeFileSystem();
    const auto attempt = [&](const std::string& path) {  // the error number; 0: replaced
        try {
            files->replaceContent(path, "new");
            return 0;
        } catch (const RunTimeError& e) {
            return e.number();
        }
    };
    const std::string readOnly = dir.write("READONLY", "old"), roots = dir.write("ROOTS", "old");
    chmod(readOnly.c_str(), 0444);
    chmod(roots.c_str(), 0666);
    if (geteuid() != 0) {
        EXPECT_FALSE(files->mayWrite(readOnly));
        EXPECT_EQ(attempt(readOnly), number::PermissionDenied);
        EXPECT_EQ(zlt::testing::fileText(readOnly), "old");
        GTEST_SKIP() << "files of another owner need root to make";
    }
    const std::string theirs = dir.write("THEIRS", "old");
    ASSERT_EQ(chown(theirs.c_str(), 1234, 1235), 0);
    chmod(theirs.c_str(), 02640);
    EXPECT_EQ(attempt(theirs), 0);
    struct stat info {};
    ASSERT_EQ(stat(theirs.c_str(), &info), 0);
    EXPECT_EQ(std::make_tuple(info.st_uid, info.st_gid, info.st_mode & 07777), std::make_tuple(1234u, 1235u, 02640u));

    constexpr uid_t nobody = 65534;
    ASSERT_EQ(chown(readOnly.c_str(), nobody, nobody), 0);
    chmod(dir.path().c_str(), 0777);
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0;
        const bool bits[] = {!dropped, files->mayWrite(readOnly), attempt(readOnly) != number::PermissionDenied,
                             !files->mayWrite(roots), attempt(roots) != number::PermissionDenied};
        int code = 0;
        for (int bit = 0; bit < 5; ++bit)
            code |= bits[bit] << bit;
        _exit(code);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0) << "bits: 1 no drop, 2 4 read-only, 8 16 root's";
    EXPECT_EQ(zlt::testing::fileText(readOnly) + zlt::testing::fileText(roots), "oldold");
    EXPECT_EQ(files->list(dir.path().string()).size(), 3u);  // no temporary file left
}
