// The system's file system on a real folder: each failure has the number the host's tools give its cause.
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

namespace {
struct Failure {
    const char* what;
    char act;  // 'r' read, 'n' create new, 'a' append, 'w' replace, 'd' remove
    std::string path;
    int number;
};
void PrintTo(const Failure& failure, std::ostream* out) { *out << failure.what; }
class PosixFailure : public ::testing::TestWithParam<Failure> {};
}  // namespace

TEST_P(PosixFailure, HasTheHostsNumber)
{
    const Failure& f = GetParam();
    if (f.number == number::PermissionDenied && geteuid() == 0)
        GTEST_SKIP() << "root may write a read-only file, so there is no permission error to see";
    zlt::testing::TempDir dir("zlt-posix");
    dir.write("RPT", "report");
    chmod(dir.write("LOCKED", "").c_str(), 0444);
    const std::string path = f.path[0] == '/' ? f.path : dir / f.path;
    const auto files = makeFileSystem();
    try {
        if (f.act == 'r' || f.act == 'd') {
            f.act == 'r' ? (void)files->openRead(path) : files->remove(path);
        } else {
            auto out = files->openWrite(path, f.act == 'n' ? WriteMode::CreateNew : f.act == 'a' ? WriteMode::Append : WriteMode::Replace);
            out->write("x");
            out->commit();  // a full disk shows here at the latest
        }
        ADD_FAILURE() << "no error";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), f.number) << e.what();
    }
}
INSTANTIATE_TEST_SUITE_P(Files, PosixFailure, ::testing::ValuesIn(std::vector<Failure>{
    {"missing file", 'r', "NOPE", number::FileNotFound}, {"missing folder", 'r', "NO/RPT", number::PathNotFound},
    {"missing folder to write", 'a', "NO/RPT", number::PathNotFound}, {"file as folder", 'r', "RPT/X", number::PathNotFound},
    {"folder as file", 'r', ".", number::PathFileAccessError}, {"read-only file", 'a', "LOCKED", number::PermissionDenied},
    {"taken name", 'n', "RPT", number::FileAlreadyExists}, {"removing a missing file", 'd', "NOPE", number::FileNotFound},
    {"full disk", 'w', "/dev/full", number::DiskFull}}));

// The new content takes the old file's permissions (a new file what the
// umask allows); a link keeps pointing at the replaced file; a failure
// leaves nothing behind. No temporary file stays in the folder.
TEST(PosixReplaceContent, KeepsPermissionsAndLinksAndLeavesNoTemporaryFile)
{
    zlt::testing::TempDir dir("zlt-posix");
    chmod(dir.write("OLD", "old").c_str(), 0640);
    symlink("OLD", (dir / "LINK").c_str());
    const mode_t mask = umask(027);
    const struct {
        std::string name, bytes;
        mode_t mode;
        int number;
    } cases[] = {
        {"OLD", "new", 0640, 0}, {"LINK", "through the link", 0640, 0}, {"NEW", "", 0640, 0},
        {"NO/NEW", "x", 0, number::PathNotFound},
    };
    const auto files = makeFileSystem();
    for (const auto& c : cases) {
        try {
            files->replaceContent(dir / c.name, c.bytes);
            EXPECT_EQ(c.number, 0) << c.name;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), c.number) << c.name;
            continue;
        }
        struct stat info {};
        EXPECT_EQ(lstat((dir / (c.name == "LINK" ? "OLD" : c.name)).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, c.mode) << c.name;
        EXPECT_EQ(zlt::testing::fileText(dir / c.name), c.bytes);
    }
    umask(mask);
    EXPECT_EQ(files->status(dir / "LINK").symbolicLink, true);
    EXPECT_EQ(files->list(dir.path().string()).size(), 3u);  // OLD, LINK and NEW
}

// A taken name is refused and both files stay as they were; a free one is
// taken.
TEST(PosixMoveToFreeName, NeverReplacesAFile)
{
    zlt::testing::TempDir dir("zlt-posix");
    dir.write("A", "first");
    dir.write("B", "second");
    const auto files = makeFileSystem();
    try {
        files->moveToFreeName(dir / "A", dir / "B");
        ADD_FAILURE() << "a taken name was replaced";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), number::FileAlreadyExists);
    }
    EXPECT_EQ(zlt::testing::fileText(dir / "A"), "first");
    EXPECT_EQ(zlt::testing::fileText(dir / "B"), "second");
    files->moveToFreeName(dir / "A", dir / "C");
    EXPECT_EQ(files->status(dir / "A").kind, EntryKind::Missing);
    EXPECT_EQ(zlt::testing::fileText(dir / "C"), "first");
}

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
