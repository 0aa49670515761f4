#pragma once
// The independent readers our documents are read back with: unrtf, and
// LibreOffice converting a batch of files in one run. Both are read through
// the HTML they write (html_paragraphs.py).
#include "common/rtf/rtf_writer.h"
#include "platform/posix/executable_search.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zlt::rtf::testing {

using zlt::testing::TempDir;

// Standard output of a program found on PATH, run with a plain UTF-8
// environment and its home in the folder.
inline std::string run(const TempDir& folder, const std::string& name, const std::vector<std::string>& arguments)
{
    const char* path = std::getenv("PATH");
    const std::string program = posix::findExecutable(name, path ? path : "/usr/bin:/bin");
    EXPECT_FALSE(program.empty()) << name << " is not installed";
    if (program.empty())
        return {};
    const zlt::testing::ProgramResult result = zlt::testing::runProgram(
        program, arguments, {"PATH=/usr/bin:/bin", "HOME=" + folder.path().string(), "LANG=C.UTF-8"}, folder.path());
    EXPECT_EQ(result.exitStatus, 0) << name << ": " << result.standardError;
    return result.standardOutput;
}

// How a reader shows an HTML file it wrote: "text", "runs" or "fonts"
// (see html_paragraphs.py).
inline std::string htmlParagraphs(const TempDir& folder, const std::string& reader, const std::string& view,
                                  const std::string& htmlPath)
{
    return run(folder, "python3", {ZLT_RTF_TEST_DIR "/html_paragraphs.py", reader, view, htmlPath});
}

inline std::string readWithUnrtf(const TempDir& folder, const std::string& rtf, const std::string& view = "text")
{
    const std::string html = run(folder, "unrtf", {"--html", folder.write("read.rtf", rtf)});
    return htmlParagraphs(folder, "unrtf", view, folder.write("read.html", html));
}

// One LibreOffice run with a profile of its own for all the files.
inline void convertWithLibreOffice(const TempDir& folder, const std::string& format,
                                   const std::vector<std::string>& files, const std::string& outFolder)
{
    std::vector<std::string> arguments = {"--headless", "--norestore",
                                          "-env:UserInstallation=file://" + folder / "profile",
                                          "--convert-to", format, "--outdir", outFolder};
    arguments.insert(arguments.end(), files.begin(), files.end());
    run(folder, "soffice", arguments);
}

// Every byte of a page but line breaks, tab and form feed, 32 to a line,
// and the text it should read as: control bytes and bytes the page leaves
// undefined vanish.
inline std::string everyByte(const CodePage& page, std::string& expectedUtf8)
{
    Writer writer(page, Font{"Arial", FontFamily::Swiss});
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t c = page.toUnicode(static_cast<unsigned char>(byte));
        if (byte != '\r' && byte != '\n' && byte != '\t' && byte != '\f')
            writer.write(std::string(1, static_cast<char>(byte)));
        if (c >= 0x20 && !(c >= 0x7F && c < 0xA0))
            appendUtf8(expectedUtf8, c);
        if (byte % 32 == 31) {
            writer.write("\r\n");
            expectedUtf8 += "\n";
        }
    }
    return writer.document();
}

}  // namespace zlt::rtf::testing
