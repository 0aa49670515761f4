// One contract for each facility and its double: the system's file system and
// the in-memory one every other test uses end the same call on the same tree
// the same way, and both clocks give a real local time, so a double cannot
// drift from what it stands in for. Then what the system alone can show.
#include "platform/posix/posix_file_system.h"
#include "platform/posix/system_clock.h"
#include "platform/run_time_error.h"
#include "platform/testing/fixed_clock.h"
#include "platform/testing/memory_file_system.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <map>

using namespace zlt;
using namespace std::string_literals;

namespace {

// A folder holding RPT ("report"), OLD ("old"), LOCKED (read-only, empty) and the folder D, made through the
// file system under test.
struct Tree {
    explicit Tree(bool posix) : owned(posix ? makeFileSystem() : nullptr), files(posix ? *owned : memory)
    {
        root = posix ? dir.path().string() : "/t";
        files.createFolders(*this / "D");
        for (const auto& [name, text] : {std::pair("RPT", "report"), std::pair("OLD", "old"), std::pair("LOCKED", "")})
            files.replaceContent(*this / name, text);
        posix ? (void)chmod((*this / "LOCKED").c_str(), 0444) : memory.addFile(*this / "LOCKED", "", false);
    }
    std::string operator/(const std::string& name) const { return root + "/" + name; }
    // What is in the folder and in D: a file's text, "/" for a folder.
    std::map<std::string, std::string> contents()
    {
        std::map<std::string, std::string> found;
        for (const std::string folder : {"", "D/"})
            for (const std::string& name : files.list(folder.empty() ? root : *this / "D"))
                found[folder + name] = files.status(*this / (folder + name)).kind == EntryKind::File
                                           ? readAll(*files.openRead(*this / (folder + name))) : "/";
        return found;
    }

    zlt::testing::TempDir dir{"zlt-contract"};
    zlt::testing::MemoryFileSystem memory;
    std::unique_ptr<FileSystem> owned;
    FileSystem& files;
    std::string root;
};

// A call, its path, the other path (a move's) or the bytes (a write's), and its outcome: the value it gave (read,
// status, list) or what it changed ("D/R:report -RPT": D/R now holds "report", RPT is gone), after "error N"
// when it raised.
struct Case {
    std::string call, path, other, outcome;
};
const Case Cases[] = {
    {"read", "RPT", "", "report"}, {"read", "NOPE", "", "error 53"}, {"read", "NO/RPT", "", "error 76"},
    {"read", "RPT/X", "", "error 76"}, {"read", "D", "", "error 75"}, {"read", "RPT\0X"s, "", "error 52"},
    {"status", "RPT", "", "file 6"}, {"status", "LOCKED", "", "file 0 read-only"}, {"status", "D", "", "folder"},
    {"status", "NOPE", "", "missing"}, {"status", "RPT\0X"s, "", "missing"}, {"status", "RPT/X", "", "missing"},
    {"list", "", "", R"({ "D", "LOCKED", "OLD", "RPT" })"}, {"list", "RPT", "", "{}"}, {"list", "NO", "", "{}"},
    {"create", "D/NEW", "new", "D/NEW:new"}, {"create", "RPT", "", "error 58"}, {"append", "RPT", "+", "RPT:report+"},
    {"replace", "RPT", "x", "RPT:x"}, {"overwrite", "RPT", "x", "RPT:x"}, {"overwrite", "RPT", "", "RPT:"},
    {"overwrite", "OLD", "older", "OLD:older"}, {"overwrite", "D/NEW", "new", "D/NEW:new"},
    {"overwrite", "LOCKED", "x", "error 70"}, {"append", "NO/X", "", "error 76"}, {"append", "D", "", "error 75"},
    {"append", "LOCKED", "x", "error 70"}, {"create", "NEW\0X"s, "", "error 52"},
    {"remove", "RPT", "", "-RPT"}, {"remove", "NOPE", "", "error 53"}, {"remove", "NO/X", "", "error 76"},
    {"remove", "D", "", "error 75"}, {"remove", "RPT\0X"s, "", "error 52"},
    {"move", "RPT", "D/R", "D/R:report -RPT"}, {"move", "RPT", "OLD", "OLD:report -RPT"}, {"move", "NOPE", "X", "error 53"},
    {"move", "RPT", "NO/X", "error 76"}, {"move", "RPT", "D", "error 75"}, {"move", "RPT", "D/R\0X"s, "error 52"},
    {"move to a free name", "RPT", "D/R", "D/R:report -RPT"}, {"move to a free name", "RPT", "OLD", "error 58"},
    {"replace the content", "RPT", "new", "RPT:new"},  // and no temporary file beside it
    {"replace the content", "NO/X", "x", "error 76"},
    {"create folders", "D/E/F", "", "D/E:/"}, {"create folders", "RPT/X", "", "error 76"},
};

std::string outcome(Tree& t, const Case& c)
{
    FileSystem& files = t.files;
    if (c.call == "read")
        return readAll(*files.openRead(t / c.path));
    if (c.call == "status") {
        const EntryStatus s = files.status(t / c.path);
        return std::string(s.kind == EntryKind::File ? "file " + std::to_string(s.size) : s.kind == EntryKind::Folder ? "folder" : "missing") +
               (s.writable ? "" : " read-only");
    }
    if (c.call == "list") {
        std::vector<std::string> names = files.list(c.path.empty() ? t.root : t / c.path);
        std::ranges::sort(names);
        return ::testing::PrintToString(names);
    }
    const auto before = t.contents();
    if (c.call == "create" || c.call == "append" || c.call == "replace" || c.call == "overwrite") {
        const auto mode = c.call == "create"      ? WriteMode::CreateNew
                          : c.call == "append"    ? WriteMode::Append
                          : c.call == "overwrite" ? WriteMode::Overwrite
                                                  : WriteMode::Replace;
        auto out = files.openWrite(t / c.path, mode);
        out->write(c.other);
        out->commit();
    }
    c.call == "remove"                ? files.remove(t / c.path)
    : c.call == "move"                ? files.move(t / c.path, t / c.other)
    : c.call == "move to a free name" ? files.moveToFreeName(t / c.path, t / c.other)
    : c.call == "replace the content" ? files.replaceContent(t / c.path, c.other)
    : c.call == "create folders"      ? files.createFolders(t / c.path)
                                      : void();
    std::string changes;
    const auto after = t.contents();
    for (const auto& [name, content] : after)
        changes += before.count(name) && before.at(name) == content ? "" : " " + name + ":" + content;
    for (const auto& [name, content] : before)
        changes += after.count(name) ? "" : " -" + name;
    return changes.empty() ? "" : changes.substr(1);
}

class FileSystemContract : public ::testing::TestWithParam<bool> {};

TEST_P(FileSystemContract, EachCallEndsAlike)
{
    for (const Case& c : Cases) {
        if (GetParam() && geteuid() == 0 && c.outcome == "error 70")
            continue;  // root may write a read-only file
        Tree tree(GetParam());
        const auto before = tree.contents();
        std::string seen;
        try {
            seen = outcome(tree, c);
        } catch (const RunTimeError& e) {
            seen = "error " + std::to_string(e.number());
            // What failed changed nothing: a name cut at its NUL was never reached.
            EXPECT_EQ(tree.contents(), before) << c.call << " " << c.path;
        }
        EXPECT_EQ(seen, c.outcome) << c.call << " " << c.path;
    }
}
INSTANTIATE_TEST_SUITE_P(Both, FileSystemContract, ::testing::Values(true, false),
                         [](const auto& row) { return row.param ? "Posix" : "Memory"; });

// Both clocks give a real local time; the system's fields and offset from UTC make the instant its clock holds.
TEST(ClockContract, BothGiveARealLocalTime)
{
    zlt::testing::FixedClock fixed({2024, 2, 29, 23, 59, 59, 999, -9 * 3600});
    const auto system = makeSystemClock();
    for (Clock* clock : {static_cast<Clock*>(&fixed), system.get()}) {
        const LocalTime t = clock->now();
        using namespace std::chrono;
        EXPECT_TRUE(year_month_day(year(t.year), month(static_cast<unsigned>(t.month)), day(static_cast<unsigned>(t.day))).ok() &&
                    hours(t.hour) + minutes(t.minute) + seconds(t.second) + milliseconds(t.millisecond) < days(1) &&
                    std::min({t.hour, t.minute, t.second, t.millisecond}) >= 0 && std::abs(t.utcOffsetSeconds) <= 14 * 3600);
    }
    EXPECT_EQ(unixMilliseconds(fixed.now()), 1709283599999);  // 2024-03-01 08:59:59.999 UTC
    const auto now = std::chrono::system_clock::now().time_since_epoch() / std::chrono::milliseconds(1);
    EXPECT_NEAR(static_cast<double>(unixMilliseconds(system->now())), static_cast<double>(now), 2000);
}

TEST(PosixFileSystem, AFullDiskIsDiskFull)
{
    try {
        auto out = makeFileSystem()->openWrite("/dev/full", WriteMode::Append);
        out->write("x");
        out->commit();  // a full disk shows here at the latest
        ADD_FAILURE() << "no error";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), error_number::DiskFull);
    }
}

// The new content takes the old file's permissions (a new file what the
// umask allows); a link keeps pointing at the replaced file.
TEST(PosixFileSystem, ReplacedContentKeepsPermissionsAndLinks)
{
    zlt::testing::TempDir dir("zlt-posix");
    chmod(dir.write("OLD", "old").c_str(), 0640);
    symlink("OLD", (dir / "LINK").c_str());
    const mode_t mask = umask(027);
    const auto files = makeFileSystem();
    for (const auto& [name, bytes] : {std::pair("OLD", "new"), std::pair("LINK", "through the link"), std::pair("NEW", "")}) {
        files->replaceContent(dir / name, bytes);
        struct stat info {};
        EXPECT_EQ(lstat((dir / (name == "LINK"s ? "OLD" : name)).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0640u) << name;
        EXPECT_EQ(zlt::testing::fileText(dir / name), bytes);
    }
    umask(mask);
    EXPECT_EQ(files->status(dir / "LINK").symbolicLink, true);
}

}  // namespace
