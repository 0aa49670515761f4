#include "workbook_files.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace zlt::testing {

namespace {

std::vector<std::string> lines(std::istream&& in)
{
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        out.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    return out;
}

// Runs a shell command whose words are all paths in the test's own folders.
std::string commandOutput(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char block[4096];
    for (size_t n; pipe != nullptr && (n = fread(block, 1, sizeof block, pipe)) > 0;)
        output.append(block, n);
    EXPECT_TRUE(pipe != nullptr && pclose(pipe) == 0) << command << "\n" << output;
    return output;
}

}  // namespace

TempFolder::TempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "zlt-workbook-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a folder from " + pattern);
    path_ = pattern;
}

std::uintmax_t writeJpeg(const fs::path& path)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(qRgb(246, 242, 230));
    if (!image.save(QString::fromStdString(path.string()), "JPEG"))
        throw std::runtime_error("cannot write the JPEG picture " + path.string());
    return fs::file_size(path);
}

std::vector<std::string> readWorkbook(const fs::path& workbook)
{
    return lines(std::istringstream(commandOutput("/usr/bin/python3 " ZLT_WORKBOOK_READER " " + workbook.string())));
}

std::vector<std::string> renderFirstSheet(const fs::path& workbook, const TempFolder& scratch)
{
    commandOutput("LC_ALL=C.UTF-8 soffice --headless --norestore -env:UserInstallation=file://" +
                  (scratch / "profile").string() +
                  " --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true' --outdir " +
                  (scratch / "shown").string() + " " + workbook.string() + " 2>&1");
    return lines(std::ifstream(scratch / "shown" / (workbook.stem().string() + ".csv")));
}

}  // namespace zlt::testing
