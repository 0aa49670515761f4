#pragma once
// The PDF files that stand for print jobs: where they go by default and how
// they are named, so that they sort in job order and none is overwritten.
#include <filesystem>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/print/pdf/pdf_job_sink.h"

namespace zlt::pdf {

// ~/Documents/Repview
std::filesystem::path defaultPdfFolder(const std::string& home);

struct ReservedFile {
    std::filesystem::path path;  // "<final name>.unfinished"
    int descriptor = -1;         // open for writing; the caller closes it
};

// Creates, without overwriting anything, the file one job of a run is
// written into: "repview-<date>-<time>.<ms>-<pid>-<job>.pdf.unfinished". A
// job killed halfway leaves it under that name, never as a .pdf that a
// folder watcher would take for a print.
ReservedFile reservePdfFile(const std::filesystem::path& folder, const std::string& runStamp, int job);

// Gives a finished job its .pdf name (the reserved name without
// ".unfinished"; a free variant of it should another run have taken it),
// never replacing a file. Returns the name; RunTimeError PrinterError when
// it cannot.
std::filesystem::path publishPdfFile(const std::filesystem::path& unfinished);

// The date, time and process that name the files of one run.
std::string makeRunStamp(const LocalTime& now);

// One PDF file per job in the folder, named as reservePdfFile says and
// published when whole; an abandoned job's file is removed.
class PdfFolderSink : public PdfJobSink {
public:
    // runStamp: see makeRunStamp.
    PdfFolderSink(std::filesystem::path folder, std::string runStamp);
    std::unique_ptr<PdfJobOutput> startJob(const std::string& title) override;

private:
    std::filesystem::path folder_;
    std::string runStamp_;
    int jobs_ = 0;
};

}  // namespace zlt::pdf
