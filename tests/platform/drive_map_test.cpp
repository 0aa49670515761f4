// Drive letters and DOS paths on temporary trees.
#include "platform/drive_map.h"

#include "platform/run_time_error.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace zlt;

namespace {

class TempTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("zlt-drive-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "c" / "ZLT" / "Email" / "SENT");
        fs::create_directories(root / "f" / "shop");
        std::ofstream(root / "c" / "ZLT" / "RPT") << "report";
        std::ofstream(root / "c" / "ZLT" / "stock.dic") << "dic";
        std::ofstream(root / "c" / "ZLT" / "Email" / "MAIL1.TXT") << "m";
        saved = fs::current_path();
    }
    void TearDown() override
    {
        fs::current_path(saved);
        fs::remove_all(root);
    }
    DriveMap drives() const { return DriveMap::parse("C=" + (root / "c").string() + "; f = " + (root / "f").string()); }
    fs::path root;
    fs::path saved;
};

}  // namespace

TEST(DriveMapParse, PairsAndErrors)
{
    DriveMap map = DriveMap::parse("C=/srv/dos/c;F=/mnt/shop;");
    EXPECT_EQ(map.root('c'), fs::path("/srv/dos/c"));
    EXPECT_EQ(map.root('F'), fs::path("/mnt/shop"));
    EXPECT_FALSE(map.root('D').has_value());
    EXPECT_EQ(DriveMap::parse("d:=/x").root('D'), fs::path("/x"));

    for (const char* bad : {"C", "CC=/x", "1=/x", "C=", "=/x"})
        EXPECT_THROW(DriveMap::parse(bad), std::invalid_argument) << bad;
}

TEST(DriveMapParse, HomeAndDefault)
{
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(DriveMap::parse("C=~/dos").root('C'), fs::path(home) / "dos");
    unsetenv("ZLT_DRIVES");
    EXPECT_EQ(DriveMap::fromEnvironment().root('C'), fs::path(home) / ".dosemu" / "drive_c");
    setenv("ZLT_DRIVES", "G=/g", 1);
    EXPECT_EQ(DriveMap::fromEnvironment().root('G'), fs::path("/g"));
    unsetenv("ZLT_DRIVES");
}

TEST_F(TempTree, DosPathsResolveCaseBlind)
{
    DriveMap map = drives();
    struct Case {
        const char* dos;
        fs::path expected;
    };
    const Case cases[] = {
        {"C:\\ZLT\\RPT.", root / "c" / "ZLT" / "RPT"},
        {"c:\\zlt\\rpt", root / "c" / "ZLT" / "RPT"},
        {"C:/ZLT/STOCK.DIC", root / "c" / "ZLT" / "stock.dic"},
        {"C:\\ZLT\\EMAIL\\sent", root / "c" / "ZLT" / "Email" / "SENT"},
        {"C:\\ZLT\\EMAIL\\MAIL1.TXT", root / "c" / "ZLT" / "Email" / "MAIL1.TXT"},
        {"C:\\ZLT\\.\\EMAIL\\..\\RPT", root / "c" / "ZLT" / "RPT"},
        {"F:\\SHOP", root / "f" / "shop"},
        // Names that do not exist yet stay as given, so files can be created.
        {"C:\\ZLT\\NEWFILE.TXT", root / "c" / "ZLT" / "NEWFILE.TXT"},
        {"C:\\zlt\\new\\x", root / "c" / "ZLT" / "new" / "x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resolveHostPath(map, c.dos), c.expected) << c.dos;
}

TEST_F(TempTree, LinuxAndRelativePaths)
{
    DriveMap map = drives();
    EXPECT_EQ(resolveHostPath(map, "/etc/passwd"), fs::path("/etc/passwd"));
    // A file dialog hands back the DOS name as typed, trailing dot and all.
    EXPECT_EQ(resolveHostPath(map, (root / "c" / "ZLT" / "RPT.").string()), root / "c" / "ZLT" / "RPT");
    EXPECT_EQ(resolveHostPath(map, (root / "c" / "zlt" / "email" / "mail1.txt").string()),
              root / "c" / "ZLT" / "Email" / "MAIL1.TXT");
    EXPECT_EQ(resolveHostPath(map, (root / "c" / "ZLT" / "NEW.TXT").string()), root / "c" / "ZLT" / "NEW.TXT");
    fs::current_path(root / "c" / "ZLT");
    EXPECT_EQ(resolveHostPath(map, "rpt."), root / "c" / "ZLT" / "RPT");
    EXPECT_EQ(resolveHostPath(map, "email\\mail1.txt"), root / "c" / "ZLT" / "Email" / "MAIL1.TXT");
    // A path in quotes is a name of its own and names nothing.
    EXPECT_FALSE(fs::exists(resolveHostPath(map, "\"C:\\ZLT\\RPT.\"")));
}

TEST_F(TempTree, RootedPathUsesTheCurrentDrive)
{
    DriveMap map = drives();
    fs::current_path(root / "f" / "shop");
    EXPECT_EQ(resolveHostPath(map, "\\SHOP"), root / "f" / "shop");
    EXPECT_EQ(map.driveOf(root / "c" / "ZLT"), 'C');
    EXPECT_EQ(map.driveOf("/"), 0);
    fs::current_path("/");
    EXPECT_EQ(resolveHostPath(map, "\\ZLT\\RPT"), root / "c" / "ZLT" / "RPT");  // no mapped drive: C:
}

TEST_F(TempTree, UnmappedDriveIsDeviceUnavailable)
{
    try {
        resolveHostPath(drives(), "Q:\\ZLT\\RPT");
        FAIL() << "resolved an unmapped drive";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 68);
    }
}
