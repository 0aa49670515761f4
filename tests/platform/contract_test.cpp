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
#include <functional>

using namespace zlt;
using namespace std::string_literals;

namespace {

// A folder holding RPT ("report"), OLD ("old"), LOCKED (read-only, empty) and the folder D.
struct Tree {
    explicit Tree(bool posix) : owned(posix ? makeFileSystem() : nullptr), files(posix ? *owned : memory)
    {
        if (posix) {
            dir.write("RPT", "report");
            dir.write("OLD", "old");
            chmod(dir.write("LOCKED", "").c_str(), 0444);
            std::filesystem::create_directory(dir / "D");
            root = dir.path().string();
        }
        memory.addFile("/t/RPT", "report");
        memory.addFile("/t/OLD", "old");
        memory.addFile("/t/LOCKED", "", false);
        memory.addFolder("/t/D");
    }
    std::string operator/(const std::string& name) const { return root + "/" + name; }
    std::string text(const std::string& name)
    {
        const EntryKind kind = files.status(*this / name).kind;
        return kind == EntryKind::File ? readAll(*files.openRead(*this / name)) : kind == EntryKind::Missing ? "missing" : "folder";
    }
    void write(const std::string& name, WriteMode mode, const std::string& bytes)
    {
        auto out = files.openWrite(*this / name, mode);
        out->write(bytes);
        out->commit();
    }

    zlt::testing::TempDir dir{"zlt-contract"};
    zlt::testing::MemoryFileSystem memory;
    std::unique_ptr<FileSystem> owned;
    FileSystem& files;
    std::string root = "/t";
};

// What a case saw: its own outcome, or "error N" when it raised.
struct Case {
    const char* what;
    std::function<std::string(Tree&)> act;
    std::string outcome;
};

const Case Cases[] = {
    {"reading", [](Tree& t) { return t.text("RPT"); }, "report"},
    {"reading a missing file", [](Tree& t) { return t.files.openRead(t / "NOPE"), ""; }, "error 53"},
    {"reading in a missing folder", [](Tree& t) { return t.files.openRead(t / "NO/RPT"), ""; }, "error 76"},
    {"reading below a file", [](Tree& t) { return t.files.openRead(t / "RPT/X"), ""; }, "error 76"},
    {"reading a folder", [](Tree& t) { return t.files.openRead(t / "D"), ""; }, "error 75"},
    {"reading a name with a NUL", [](Tree& t) { return t.files.openRead(t / "RPT\0X"s), ""; }, "error 52"},
    {"writing a new file", [](Tree& t) { return t.write("D/NEW", WriteMode::CreateNew, "new"), t.text("D/NEW"); }, "new"},
    {"appending", [](Tree& t) { return t.write("RPT", WriteMode::Append, "+"), t.text("RPT"); }, "report+"},
    {"replacing", [](Tree& t) { return t.write("RPT", WriteMode::Replace, "x"), t.text("RPT"); }, "x"},
    {"creating a taken name", [](Tree& t) { return t.write("RPT", WriteMode::CreateNew, ""), ""; }, "error 58"},
    {"writing in a missing folder", [](Tree& t) { return t.write("NO/X", WriteMode::Append, ""), ""; }, "error 76"},
    {"writing a folder", [](Tree& t) { return t.write("D", WriteMode::Append, ""), ""; }, "error 75"},
    {"writing a read-only file", [](Tree& t) { return t.write("LOCKED", WriteMode::Append, "x"), ""; }, "error 70"},
    {"writing a name with a NUL", [](Tree& t) { return t.write("NEW\0X"s, WriteMode::CreateNew, ""), ""; }, "error 52"},
    {"status", [](Tree& t) {
         std::string seen;
         for (const std::string& name : {"RPT"s, "LOCKED"s, "D"s, "NOPE"s, "RPT\0X"s}) {
             const EntryStatus s = t.files.status(t / name);
             seen += std::to_string(static_cast<int>(s.kind)) + (s.writable ? "" : "r") +
                    (s.kind == EntryKind::File ? std::to_string(s.size) : "") + " ";
         }
         return seen; },
     "16 1r0 2 0 0 "},  // kind (0 missing, 1 file, 2 folder), read-only, a file's size
    {"listing", [](Tree& t) {
         auto names = t.files.list(t.root);
         std::ranges::sort(names);
         for (const char* none : {"RPT", "NO"})
             names.push_back(std::to_string(t.files.list(t / none).size()));
         return ::testing::PrintToString(names); },
     R"({ "D", "LOCKED", "OLD", "RPT", "0", "0" })"},
    {"removing", [](Tree& t) { return t.files.remove(t / "RPT"), t.text("RPT"); }, "missing"},
    {"removing a missing file", [](Tree& t) { return t.files.remove(t / "NOPE"), ""; }, "error 53"},
    {"removing in a missing folder", [](Tree& t) { return t.files.remove(t / "NO/X"), ""; }, "error 76"},
    {"removing a folder", [](Tree& t) { return t.files.remove(t / "D"), ""; }, "error 75"},
    {"removing a name with a NUL", [](Tree& t) { return t.files.remove(t / "RPT\0X"s), ""; }, "error 52"},
    {"moving", [](Tree& t) { return t.files.move(t / "RPT", t / "D/R"), t.text("RPT") + " " + t.text("D/R"); }, "missing report"},
    {"moving onto a file", [](Tree& t) { return t.files.move(t / "RPT", t / "OLD"), t.text("OLD"); }, "report"},
    {"moving a missing file", [](Tree& t) { return t.files.move(t / "NOPE", t / "X"), ""; }, "error 53"},
    {"moving into a missing folder", [](Tree& t) { return t.files.move(t / "RPT", t / "NO/X"), ""; }, "error 76"},
    {"moving onto a folder", [](Tree& t) { return t.files.move(t / "RPT", t / "D"), ""; }, "error 75"},
    {"moving to a name with a NUL", [](Tree& t) { return t.files.move(t / "RPT", t / "D/R\0X"s), ""; }, "error 52"},
    {"moving to a free name", [](Tree& t) { return t.files.moveToFreeName(t / "RPT", t / "D/R"), t.text("D/R"); }, "report"},
    {"moving to a taken name", [](Tree& t) { return t.files.moveToFreeName(t / "RPT", t / "OLD"), ""; }, "error 58"},
    {"replacing the content", [](Tree& t) {  // no temporary file left beside it
         return t.files.replaceContent(t / "RPT", "new"), t.text("RPT") + " " + std::to_string(t.files.list(t.root).size()); },
     "new 4"},
    {"replacing in a missing folder", [](Tree& t) { return t.files.replaceContent(t / "NO/X", "x"), ""; }, "error 76"},
    {"making folders", [](Tree& t) { return t.files.createFolders(t / "D/E/F"), t.text("D/E/F"); }, "folder"},
    {"making folders below a file", [](Tree& t) { return t.files.createFolders(t / "RPT/X"), ""; }, "error 76"},
};

class FileSystemContract : public ::testing::TestWithParam<bool> {};

TEST_P(FileSystemContract, EachCallEndsAlike)
{
    for (const Case& c : Cases) {
        if (GetParam() && geteuid() == 0 && c.outcome == "error 70")
            continue;  // root may write a read-only file
        Tree tree(GetParam());
        std::string outcome;
        try {
            outcome = c.act(tree);
        } catch (const RunTimeError& e) {
            outcome = "error " + std::to_string(e.number());
        }
        EXPECT_EQ(outcome, c.outcome) << c.what;
        // What failed changed nothing: a name cut at its NUL was never reached.
        if (c.outcome.starts_with("error")) {
            EXPECT_EQ(tree.text("RPT") + tree.text("OLD") + tree.text("D/R") + tree.text("NEW"), "reportoldmissingmissing") << c.what;
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Both, FileSystemContract, ::testing::Values(true, false),
                         [](const auto& row) { return row.param ? "Posix" : "Memory"; });

// The fixed clock shows what it was set to; the system's fields and offset
// from UTC make the instant the system's clock holds.
TEST(ClockContract, BothGiveARealLocalTime)
{
    zlt::testing::FixedClock fixed({2024, 2, 29, 23, 59, 59, 999, -9 * 3600});
    const auto system = makeSystemClock();
    for (Clock* clock : {static_cast<Clock*>(&fixed), system.get()}) {
        const LocalTime t = clock->now();
        using namespace std::chrono;
        EXPECT_TRUE(year_month_day(year(t.year), month(static_cast<unsigned>(t.month)), day(static_cast<unsigned>(t.day))).ok() &&
                    t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second <= 60 &&
                    t.millisecond >= 0 && t.millisecond < 1000 && std::abs(t.utcOffsetSeconds) <= 14 * 3600)
            << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute << ":" << t.second;
    }
    EXPECT_EQ(unixMilliseconds(fixed.now()), 1709283599999);  // 2024-03-01 08:59:59.999 UTC
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    EXPECT_NEAR(static_cast<double>(unixMilliseconds(system->now())),
                static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()), 2000);
}

// A full disk shows at the latest when the file is committed.
TEST(PosixFileSystem, AFullDiskIsDiskFull)
{
    try {
        auto out = makeFileSystem()->openWrite("/dev/full", WriteMode::Append);
        out->write("x");
        out->commit();
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
