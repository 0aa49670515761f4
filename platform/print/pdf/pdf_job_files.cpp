#include "platform/print/pdf/pdf_job_files.h"

#include "platform/run_time_error.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace zlt::pdf {

namespace {

constexpr std::string_view UnfinishedSuffix = ".unfinished";

class PdfFileOutput : public PdfJobOutput {
public:
    explicit PdfFileOutput(ReservedFile file) : path_(std::move(file.path))
    {
        file_ = ::fdopen(file.descriptor, "wb");
        if (file_ == nullptr) {
            const int error = errno;
            ::close(file.descriptor);
            fail("cannot write", error);
        }
    }
    ~PdfFileOutput() override { abandon(); }

    void write(std::string_view bytes) override
    {
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
            fail("cannot write", errno);
    }

    void finish() override
    {
        // Not synced: a job only takes its .pdf name once it is written
        // whole, which is what a killed print needs; a sync per job would
        // double the time of a report of thousands of one-page jobs.
        std::FILE* file = std::exchange(file_, nullptr);
        if (std::fclose(file) != 0)
            fail("cannot finish", errno);
        publishPdfFile(path_);
        path_.clear();
    }

    void abandon() noexcept override
    {
        if (file_ != nullptr)
            std::fclose(std::exchange(file_, nullptr));
        std::error_code ignored;  // the job failed already; a leftover name is no news
        if (!path_.empty())
            fs::remove(std::exchange(path_, {}), ignored);
    }

private:
    [[noreturn]] void fail(const char* what, int error)
    {
        const std::string where = path_.string();
        abandon();
        throw RunTimeError(error_number::PrinterError,
                           std::string("Printer error: ") + what + " " + where + ": " + std::strerror(error));
    }

    fs::path path_;
    std::FILE* file_ = nullptr;
};

}  // namespace

fs::path defaultPdfFolder(const std::string& home)
{
    return fs::path(home.empty() ? "/tmp" : home) / "Documents" / "Repview";
}

std::string makeRunStamp(const LocalTime& now)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d.%03d-%d", now.year, now.month, now.day, now.hour,
                  now.minute, now.second, now.millisecond, static_cast<int>(getpid()));
    return text;
}

ReservedFile reservePdfFile(const fs::path& folder, const std::string& runStamp, int job)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    std::string number = std::to_string(job);
    number.insert(0, 6 - std::min<size_t>(6, number.size()), '0');
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::string name = "repview-" + runStamp + "-" + number;
        if (attempt > 0)
            name += "-" + std::to_string(attempt);
        fs::path path = folder / (name + ".pdf" + std::string(UnfinishedSuffix));
        std::error_code taken;
        if (fs::exists(folder / (name + ".pdf"), taken))
            continue;
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0)
            return {path, fd};
        if (errno != EEXIST)
            throw RunTimeError(error_number::PrinterError,
                               "Printer error: cannot create " + path.string() + ": " + std::strerror(errno));
    }
    throw RunTimeError(error_number::PrinterError, "Printer error: no free file name in " + folder.string());
}

fs::path publishPdfFile(const fs::path& unfinished)
{
    std::string base = unfinished.string();
    base.resize(base.size() - UnfinishedSuffix.size() - 4);  // and ".pdf"
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const fs::path target = base + (attempt > 0 ? "-" + std::to_string(attempt) : std::string()) + ".pdf";
        if (::renameat2(AT_FDCWD, unfinished.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
            return target;
        if (errno == EEXIST)
            continue;
        // A file system without the no-replace rename: a hard link never replaces either.
        if ((errno == EINVAL || errno == ENOSYS) && ::link(unfinished.c_str(), target.c_str()) == 0) {
            ::unlink(unfinished.c_str());
            return target;
        }
        if (errno == EEXIST)
            continue;
        throw RunTimeError(error_number::PrinterError,
                           "Printer error: cannot name the finished job " + target.string() + ": " + std::strerror(errno));
    }
    throw RunTimeError(error_number::PrinterError, "Printer error: no free file name for " + base + ".pdf");
}

PdfFolderSink::PdfFolderSink(fs::path folder, std::string runStamp)
    : folder_(std::move(folder)), runStamp_(std::move(runStamp))
{
}

std::unique_ptr<PdfJobOutput> PdfFolderSink::startJob(const std::string&)
{
    return std::make_unique<PdfFileOutput>(reservePdfFile(folder_, runStamp_, ++jobs_));
}

}  // namespace zlt::pdf
