#pragma once
// The PDF files that stand for print jobs: where they go by default and how
// they are named, so that they sort in job order and none is overwritten.
#include <filesystem>
#include <string>

namespace zlt::pdf {

// ~/Documents/Repview
std::filesystem::path defaultPdfFolder(const std::string& home);

struct ReservedFile {
    std::filesystem::path path;
    int descriptor = -1;  // open for writing; the caller closes it
};

// Creates, without overwriting anything, the file for one job of a run:
// "repview-<date>-<time>.<ms>-<pid>-<job>.pdf", which sort in job order
// within a run and by start time across runs.
ReservedFile reservePdfFile(const std::filesystem::path& folder, const std::string& runStamp, int job);

// The date, time and process that name the files of one run.
std::string makeRunStamp();

}  // namespace zlt::pdf
