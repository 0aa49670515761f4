// Host paths through the drive map onto an in-memory tree.
#include "platform/host_files.h"
#include "platform/run_time_error.h"
#include "platform/testing/memory_file_system.h"
#include <gtest/gtest.h>

using namespace zlt;

TEST(HostFiles, ResolvesHostPaths)
{
    zlt::testing::MemoryFileSystem tree;
    for (const char* file : {"/c/ZLT/RPT", "/c/ZLT/rpt", "/c/ZLT/stock.dic", "/c/ZLT/Email/MAIL1.TXT", "/f/shop/x"})
        tree.addFile(file, "");
    HostFiles files(tree, DriveMap::parse("C=/c;F=/f;E=/c/ZLT/Email", "/home/u"));
    const std::string unmapped = "error " + std::to_string(error_number::DeviceUnavailable);
    const std::tuple<const char*, const char*, std::string> cases[] = {  // the current directory, the path, its file
        {"/", "C:\\ZLT\\rpt.", "/c/ZLT/rpt"},              // trailing dot; the spelling without it wins
        {"/", "c:\\zlt\\Rpt", "/c/ZLT/RPT"},               // case-blind: the first of equals
        {"/", "C:\\ZLT\\rpt", "/c/ZLT/rpt"},               // the exact spelling first
        {"/", "C:/ZLT/STOCK.DIC. ", "/c/ZLT/stock.dic"},   // '/', trailing dot and blank
        {"/", "f:\\SHOP", "/f/shop"},
        {"/", "C:ZLT\\RPT", "/c/ZLT/RPT"},                 // no root: the drive's root
        {"/", "C:\\ZLT\\.\\EMAIL\\..\\RPT", "/c/ZLT/RPT"},
        {"/", "C:\\..\\..\\ZLT\\RPT", "/c/ZLT/RPT"},        // ".." stops at the drive's root
        {"/", "E:\\..\\RPT", "/c/ZLT/Email/RPT"},
        {"/", "C:\\zlt\\new\\x.TXT", "/c/ZLT/new/x.TXT"},  // names still to be made stay as given
        {"/", "Q:\\ZLT\\RPT", unmapped},
        {"/", "\\ZLT\\RPT", "/c/ZLT/RPT"},                 // on no mapped drive: C:
        {"/c/ZLT/Email", "\\mail1.txt", "/c/ZLT/Email/MAIL1.TXT"},  // the longest root: E:
        {"/c/ZLT", "email\\mail1.txt", "/c/ZLT/Email/MAIL1.TXT"},
        {"/c/ZLT/Email", "..\\RPT.", "/c/ZLT/RPT"},
        {"/c/ZLT", "\"C:\\ZLT\\RPT.\"", "/c/ZLT/\"C:/ZLT/RPT.\""},  // quotes are part of the name
        {"/", "/c/ZLT/Email", "/c/ZLT/Email"},             // Linux paths
        {"/", "/c/zlt/email/mail1.txt", "/c/ZLT/Email/MAIL1.TXT"},
        {"/", "/c/ZLT/RPT.", "/c/ZLT/RPT"},
    };
    for (const auto& [here, path, expected] : cases) {
        tree.setCurrentDirectory(here);
        std::string got;
        try {
            got = files.resolve(path);
        } catch (const RunTimeError& e) {
            got = "error " + std::to_string(e.number());
        }
        EXPECT_EQ(got, expected) << path << " in " << here;
    }
}

// DOS matched names case-blind in its code page; Linux keeps them in UTF-8.
TEST(HostFiles, FoldsTheCodePagesLetters)
{
    zlt::testing::MemoryFileSystem tree;
    tree.addFile("/c/ZLT/SUB DIR/\xC3\xBCn\xC3\xAF/R\xC3\xA9p \xC3\xB6rt.txt", "");  // UTF-8 on disk
    tree.addFile("/c/ZLT/\xC9T\xC9", "");                                       // host bytes on disk (1252)
    const std::string report = "/c/ZLT/SUB DIR/\xC3\xBCn\xC3\xAF/R\xC3\xA9p \xC3\xB6rt.txt";
    const std::tuple<int, const char*, std::string> cases[] = {
        {1252, "C:\\ZLT\\SUB DIR\\\xDCN\xCF\\R\xC9P \xD6RT.TXT", report},  // Ü N Ï, R É P Ö in 1252
        {850, "C:\\ZLT\\SUB DIR\\\x9AN\xD8\\R\x90P \x99RT.TXT", report},   // the same letters in 850
        {1252, "C:\\zlt\\sub dir\\\xC3\x9CN\xC3\x8F\\R\xC3\x89P \xC3\x96RT.TXT", report},  // UTF-8 from a dialog
        {1252, "C:\\ZLT\\\xE9t\xE9", "/c/ZLT/\xC9T\xC9"},
        {850, "C:\\ZLT\\SUB DIR\\\xDCN\xCF", "/c/ZLT/SUB DIR/\xDCN\xCF"},  // 850's bytes mean other letters
    };
    for (const auto& [page, path, expected] : cases) {
        const CodePage codePage(page);
        HostFiles files(tree, DriveMap::parse("C=/c", "/"), &codePage);
        EXPECT_EQ(files.resolve(path), expected) << path << " in " << page;
    }
}

// Each name costs at most a lookup and a listing until one is missing; below
// that nothing is asked, so a path far past any real one resolves at once.
TEST(HostFiles, LookupsGrowNoFasterThanThePath)
{
    struct CountingTree : zlt::testing::MemoryFileSystem {
        int lookups = 0;
        EntryStatus status(const std::string& path) override { return ++lookups, MemoryFileSystem::status(path); }
        std::vector<std::string> list(const std::string& folder) override { return ++lookups, MemoryFileSystem::list(folder); }
    } tree;
    tree.addFile("/c/ZLT/RPT", "");
    HostFiles files(tree, DriveMap::parse("C=/c", "/"));
    auto repeat = [](const std::string& part, int times) { std::string path; while (times-- > 0) path += part; return path; };
    const std::tuple<std::string, std::string, int> cases[] = {  // the path, where it leads, lookups at most
        {"C:\\zlt\\" + repeat("NO\\", 20000) + "RPT", "/c/ZLT" + repeat("/NO", 20000) + "/RPT", 4},
        {"C:\\zlt\\" + repeat("NO\\..\\", 10000) + "rpt", "/c/ZLT/RPT", 2 * 10000 + 4},  // back above a missing name
        {"C:\\" + repeat("ZLT\\..\\", 10000) + "zlt\\rpt", "/c/ZLT/RPT", 2 * 10000 + 4},
    };
    for (const auto& [path, expected, most] : cases) {
        tree.lookups = 0;
        EXPECT_EQ(files.resolve(path), expected);
        EXPECT_LE(tree.lookups, most) << path.substr(0, 30);
    }
}
