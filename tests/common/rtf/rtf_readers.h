#pragma once
// The independent readers our documents are read back with: unrtf, and
// LibreOffice converting a batch of files at once. Both give paragraphs of
// runs through their HTML (bold and size as each reader shows them).
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zlt::rtf::testing {

// A folder of its own for one test, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "rtf-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp " + pattern + ": " + std::strerror(errno));
        path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline std::string quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Standard output of a shell command; the exit status in status.
inline std::string runCommand(const std::string& command, int& status)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        status = -1;
        return out;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    status = pclose(pipe);
    return out;
}

struct ReadRun {
    std::string text;  // UTF-8
    bool bold = false;
    double points = 0;  // 0 when the reader did not say
    std::string font;   // empty when the reader did not say
};

struct ReadParagraph {
    std::string alignment;  // "left", "center", "right"; empty from unrtf
    std::vector<ReadRun> runs;

    std::string text() const
    {
        std::string out;
        for (const ReadRun& run : runs)
            out += run.text;
        return out;
    }
};

inline std::string unescapeRun(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c;
    }
    return out;
}

// The lines html_paragraphs.py prints, as paragraphs.
inline std::vector<ReadParagraph> parseParagraphs(const std::string& listing)
{
    std::vector<ReadParagraph> paragraphs;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.starts_with("P\t")) {
            paragraphs.push_back(ReadParagraph{line.substr(2), {}});
        } else if (line.starts_with("R\t") && !paragraphs.empty()) {
            const std::size_t boldEnd = line.find('\t', 2);
            const std::size_t pointsEnd = line.find('\t', boldEnd + 1);
            const std::size_t fontEnd = line.find('\t', pointsEnd + 1);
            ReadRun run;
            run.bold = line.substr(2, boldEnd - 2) == "1";
            run.points = std::stod(line.substr(boldEnd + 1, pointsEnd - boldEnd - 1));
            run.font = line.substr(pointsEnd + 1, fontEnd - pointsEnd - 1);
            run.text = unescapeRun(line.substr(fontEnd + 1));
            paragraphs.back().runs.push_back(run);
        }
    }
    return paragraphs;
}

inline std::vector<ReadParagraph> htmlParagraphs(const std::string& mode, const std::string& htmlPath)
{
    int status = 0;
    const std::string listing =
        runCommand(std::string("/usr/bin/python3 ") + ZLT_RTF_TEST_DIR "/html_paragraphs.py " + mode + " " + quoted(htmlPath), status);
    EXPECT_EQ(status, 0) << "html_paragraphs.py " << mode << " " << htmlPath;
    return parseParagraphs(listing);
}

// The document as unrtf reads it: a paragraph per line break it shows.
inline std::vector<ReadParagraph> readWithUnrtf(const TempFolder& folder, const std::string& rtf)
{
    static int count = 0;
    const std::string rtfPath = folder / ("unrtf-" + std::to_string(++count) + ".rtf");
    writeFile(rtfPath, rtf);
    int status = 0;
    const std::string html = runCommand("unrtf --html " + quoted(rtfPath) + " 2>/dev/null", status);
    EXPECT_EQ(status, 0) << "unrtf --html " << rtfPath;
    writeFile(rtfPath + ".html", html);
    return htmlParagraphs("unrtf", rtfPath + ".html");
}

// Text only, paragraphs joined by "\n", empty paragraphs at the end dropped.
inline std::string textOf(const std::vector<ReadParagraph>& paragraphs)
{
    std::string out;
    for (const ReadParagraph& paragraph : paragraphs)
        out += paragraph.text() + "\n";
    while (out.ends_with("\n\n"))
        out.pop_back();
    return out;
}

// Converts the files into outFolder, all in one LibreOffice run with a
// profile of its own; false when LibreOffice failed.
inline bool convertWithLibreOffice(const TempFolder& folder, const std::string& format,
                                   const std::vector<std::string>& files, const std::string& outFolder)
{
    std::string command = "soffice --headless --norestore -env:UserInstallation=file://" + folder / "profile" +
                          " --convert-to " + quoted(format) + " --outdir " + quoted(outFolder);
    for (const std::string& file : files)
        command += " " + quoted(file);
    int status = 0;
    runCommand(command + " >/dev/null 2>&1", status);
    return status == 0;
}

}  // namespace zlt::rtf::testing
