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
