// The tabulo program as the host runs it, on a host tree mapped as drive C:
// the workbook it writes read back by openpyxl and shown by LibreOffice as
// a user sees it, handed to a stand-in xdg-open; and its failures: one
// message, the workbook so far kept and opened, nothing kept when it cannot
// be written.
#include <gtest/gtest.h>

#include "tests/tabulo/dictionary_line.h"

#include "tests/support/program_run.h"

namespace zlt::testing {
namespace {

class TabuloProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.write("c/ZLT/STOCK.DIC", "STOCK DICTIONARY\r\n\r\n" + field("1", "Code", "TEXT", "6") +
                                         field("3", "Qty", "FIXED2", "10") + field("2", "Description", "", "5") +
                                         field("4", "Cost", "fixed4", "8.5") + field("5", "Barcode Number", "NUMBER", "7.5") +
                                         field("6", "Sold", "DATE", "") + field("27", "Far", "", "3"));
        dir.write("c/ZLT/STOCK.PHD", "A1,\"Widget, \"\"large\"\"\",12,1234.5,9300000000012,25/12/2002\r\n"
                                     "B2,Caf\xE9,3.25-,0.5,4294967296,1/2/03,x\r\n");
        dir.write("c/ZLT/ORDERS.PHD", "7,8\r\n");
        std::filesystem::permissions(dir.write("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$0.log\"\n"),
                                     std::filesystem::perms::owner_all);
    }
    std::vector<std::string> environment(const std::string& path) const
    {
        std::vector<std::string> variables = {"PATH=" + path, "HOME=" + dir.path().string(),
                                              "ZLT_DRIVES=C=" + dir / "c", "TABULO_WORKBOOKS=" + out};
        for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* value = std::getenv(name))
                variables.push_back(std::string(name) + "=" + value);
        return variables;
    }
    ProgramResult tabulo(const std::string& commandLine, const std::string& path)
    {
        return runProgram(TABULO_BINARY, {commandLine}, environment(path), dir.path());
    }
    // Standard output of a reader with a plain UTF-8 environment.
    std::string run(const std::string& program, const std::vector<std::string>& arguments) const
    {
        const auto result = runProgram(program, arguments,
                                       {"PATH=/usr/bin:/bin", "HOME=" + dir.path().string(), "LC_ALL=C.UTF-8"}, dir.path());
        EXPECT_EQ(result.exitStatus, 0) << program << ": " << result.standardError;
        return result.standardOutput;
    }
    std::vector<std::string> workbooks() const
    {
        std::vector<std::string> names;
        if (std::filesystem::exists(out))
            for (const auto& entry : std::filesystem::directory_iterator(out))
                names.push_back(entry.path().string());
        return names;
    }
    TempDir dir{"tabulo"};
    const std::string out = dir / "out", bin = dir / "bin", opened = bin + "/xdg-open.log";
};

TEST_F(TabuloProgram, WorkbookHoldsTheExportAsAUserSeesIt)
{
    const ProgramResult result = tabulo("C:\\zlt\\,stock.dic,STOCK.PHD,orders", bin);
    EXPECT_EQ(result.exitStatus, 0) << result.standardError;
    EXPECT_EQ(result.standardError, "");
    const auto kept = workbooks();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(fileText(opened), kept[0] + "\n");

    const std::string headings[] = {padded("Code"), padded("Description"), padded("Qty"), padded("Cost"),
                                    padded("Barcode Number"), padded("Sold")};
    const std::string fraction = "[<4294967296]# ?/?;0";
    const std::string formats[] = {"General", "General", "###,###,##0.00", "###,###,##0.0000", fraction, "General"};
    // Both sheets: the same dictionary's columns and headings over their data.
    const auto framed = [&](const std::string& sheet) {
        std::string lines = "freeze " + sheet + " A2\n";
        for (const auto& [column, width] : {std::pair<std::string, int>{"A", 6}, {"AA", 4}, {"B", 12}, {"C", 12},
                                            {"D", 12}, {"E", 15}, {"F", 5}}) {
            const std::string format = column == "AA" ? "General" : formats[column[0] - 'A'];
            lines += "column " + sheet + " " + column + " width=" + std::to_string(width) + ".7109375 format=" + format + "\n";
        }
        if (sheet == "STOCK")  // a column of data alone, fitted to it
            lines += "column STOCK G width=2.7109375 format=General\n";
        for (int column = 0; column < 6; ++column)
            lines += "cell " + sheet + " " + std::string(1, static_cast<char>('A' + column)) + "1 str bold=1 format=" +
                     formats[column] + " \"" + headings[column] + "\"\n";
        return lines + "cell " + sheet + " AA1 str bold=1 format=General \"" + padded("Far") + "\"\n";
    };
    const std::string expected =
        "sheets STOCK|orders\n" + framed("STOCK") +
        "cell STOCK A2 str bold=0 format=General \"A1\"\n"
        "cell STOCK B2 str bold=0 format=General \"Widget, \\\"large\\\"\"\n"
        "cell STOCK C2 int bold=0 format=###,###,##0.00 12\n"
        "cell STOCK D2 float bold=0 format=###,###,##0.0000 1234.5\n"
        "cell STOCK E2 int bold=0 format=" + fraction + " 9300000000012\n"
        "cell STOCK F2 datetime bold=0 format=dd/mm/yyyy \"2002-12-25 00:00:00\"\n"
        "cell STOCK A3 str bold=0 format=General \"B2\"\n"
        "cell STOCK B3 str bold=0 format=General \"Café\"\n"
        "cell STOCK C3 float bold=0 format=###,###,##0.00 -3.25\n"
        "cell STOCK D3 float bold=0 format=###,###,##0.0000 0.5\n"
        "cell STOCK E3 int bold=0 format=" + fraction + " 4294967296\n"
        "cell STOCK F3 datetime bold=0 format=dd/mm/yyyy \"2003-02-01 00:00:00\"\n"
        "cell STOCK G3 str bold=0 format=General \"x\"\n" + framed("orders") +
        "cell orders A2 int bold=0 format=General 7\n"
        "cell orders B2 int bold=0 format=General 8\n"
        "picture in xl/worksheets/sheet1.xml\npicture in xl/worksheets/sheet2.xml\n"
        "media xl/media/image1.jpeg " + std::to_string(std::filesystem::file_size(ZLT_PICTURE)) + "\n";
    EXPECT_EQ(run("/usr/bin/python3", {ZLT_WORKBOOK_READER, kept[0]}), expected);

    // The first sheet as LibreOffice shows it.
    std::filesystem::copy_file(kept[0], dir / "shown.xlsx");
    run("/usr/bin/soffice", {"--headless", "--norestore", "-env:UserInstallation=file://" + dir / "profile",
                             "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true",
                             "--outdir", dir / "shown", dir / "shown.xlsx"});
    const std::string shown = fileText(dir / "shown/shown.csv");
    std::string row1;
    for (const std::string& heading : headings)
        row1 += heading + ",";
    row1 += std::string(20, ',') + padded("Far") + "\n";
    EXPECT_EQ(shown, row1 + "A1,\"Widget, \"\"large\"\"\",12.00,\"1,234.5000\",9300000000012,25/12/2002" +
                         std::string(21, ',') + "\nB2,Café,-3.25,0.5000,4294967296,01/02/2003,x" +
                         std::string(20, ',') + "\n");
    EXPECT_EQ(shown.find("#FMT"), std::string::npos);
}

// A failure: one box (on standard error with no display) and one line, none
// of the library's own; the workbook so far is kept and opened, or nothing
// when it cannot be written. NUL-padded dictionary fields are blanks.
TEST_F(TabuloProgram, FailureShowsOneMessageAndTheWorkbookSoFarStillOpens)
{
    const std::string noFolder = dir.write("blocked", "a file where the workbooks folder would go");
    dir.write("c/ZLT/NUL.DIC", "  1" + std::string(4, '\0') + "Code" + std::string(26, '\0') + "\r\n");
    const struct {
        std::string commandLine, path, workbooksFolder;
        int status;
        std::string line;  // the error line; "" for none
        bool kept, opened, fullDisk = false;  // files may not grow at all
    } cases[] = {
        {"C:\\ZLT\\,NONE.DIC,STOCK", bin, out, 1,
         "tabulo: exporting STOCK.PHD: File not found (" + dir / "c/ZLT/NONE.DIC" + ") (error 53)\n", true, true},
        {"C:\\ZLT,STOCK.DIC,STOCK", bin, out, 1,
         "tabulo: exporting STOCK.PHD: File not found (" + dir / "c/ZLTSTOCK.PHD" + ") (error 53)\n", true, true},
        {"C:\\ZLT\\,STOCK.DIC,STOCK,STOCK.TXT", bin, out, 1, "", true, true},
        {"C:\\ZLT\\,STOCK.DIC,STOCK", bin, noFolder + "/sub", 1, "", false, false},
        {"C:\\ZLT\\,STOCK.DIC,STOCK", bin, out, 1, "tabulo: keeping the workbook: Disk full (writing ", false, false, true},
        {"C:\\ZLT\\,NUL.DIC,STOCK,ORDERS", bin, out, 0, "", true, true},
        {"C:\\ZLT\\,STOCK.DIC,STOCK", "/nonexistent", out, 0, "", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine + " " + c.workbooksFolder);
        std::filesystem::remove_all(out);
        std::filesystem::remove(opened);
        auto variables = environment(c.path);
        variables[3] = "TABULO_WORKBOOKS=" + c.workbooksFolder;
        ProgramResult result;
        if (c.fullDisk) {  // the program's output too goes to a pipe, which the limit does not hold back
            int output = -1;
            const pid_t child = startProgramOnPipe("/bin/sh", {"-c", "trap '' XFSZ; ulimit -f 0; exec \"$0\" \"$1\"",
                                                               TABULO_BINARY, c.commandLine}, variables, output);
            EXPECT_TRUE(readsToEndWithin(output, std::chrono::seconds(60), result.standardError));
            close(output);
            result.exitStatus = exitStatusOf(child);
        } else {
            result = runProgram(TABULO_BINARY, {c.commandLine}, variables, dir.path());
        }
        const auto kept = workbooks();
        ASSERT_EQ(kept.size(), c.kept ? 1u : 0u) << result.standardError;
        EXPECT_EQ(result.exitStatus, c.status);
        EXPECT_EQ(fileText(opened), c.opened ? kept[0] + "\n" : "");
        const std::string& errors = result.standardError;
        if (c.status == 0) {  // no opener: the path is told instead
            EXPECT_EQ(errors, c.opened ? "" : "The workbook is kept as " + kept[0] + "\n");
            continue;
        }
        std::size_t boxes = 0, lines = 0;
        for (auto at = errors.find("Run-time error '"); at != std::string::npos; at = errors.find("Run-time error '", at + 1))
            ++boxes;
        for (auto at = errors.find("tabulo: "); at != std::string::npos; at = errors.find("tabulo: ", at + 1))
            ++lines;
        EXPECT_EQ(boxes + lines, 2u) << errors;
        EXPECT_EQ(errors.find("[ERROR]"), std::string::npos) << errors;
        EXPECT_NE(errors.find(c.line), std::string::npos) << errors;
    }
}

}  // namespace
}  // namespace zlt::testing
