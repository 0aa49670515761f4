#pragma once
// Where the PDF of each print job goes: a file in a folder, or a printer's
// queue. The writer streams a job's bytes through an output and then either
// finishes it (the job is printed whole) or abandons it (nothing of it is
// printed).
#include <memory>
#include <string>
#include <string_view>

namespace zlt::pdf {

class PdfJobOutput {
public:
    virtual ~PdfJobOutput() = default;
    // Throws RunTimeError PrinterError when the bytes cannot be taken.
    virtual void write(std::string_view bytes) = 0;
    // The job is whole: it goes to the printer (or takes its file name).
    virtual void finish() = 0;
    // Nothing of the job is printed. Never throws.
    virtual void abandon() noexcept = 0;
};

class PdfJobSink {
public:
    virtual ~PdfJobSink() = default;
    // A new job, titled for the printer's queue.
    virtual std::unique_ptr<PdfJobOutput> startJob(const std::string& title) = 0;
};

}  // namespace zlt::pdf
