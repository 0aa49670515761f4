#pragma once
// The dispatch log in the host tree and the status window that shows the
// same steps: one time-stamped line per step, appended whole.
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/host_files.h"
#include "platform/status_window.h"

namespace zlt::sendwell {

// "05/12/26, 11:44:35 pm" padded with spaces to 25 characters.
std::string logTimeStamp(const LocalTime& time);

// The count label: "Preparing to process 3 mail file" before the first
// file, "Processing mail file 2 of 5" from then on.
std::string countCaption(int mailIndex, int mailCount);

class DispatchLog {
public:
    DispatchLog(HostFiles& files, Clock& clock, StatusWindow& window, const CodePage& codePage, std::string logPath)
        : files_(files), clock_(clock), window_(window), codePage_(codePage), path_(std::move(logPath))
    {
    }

    // Makes sure the log exists, leaving what it holds, and keeps it open
    // for the run: some ten lines a message, each opening it by its host
    // path anew would cost more system calls than sending the message.
    void start();
    // One line with the host text, appended in one write, then the window
    // updated. A log that cannot be written is a RunTimeError.
    void status(const std::string& hostText);
    void setCounts(int mailIndex, int mailCount)
    {
        mailIndex_ = mailIndex;
        mailCount_ = mailCount;
    }

private:
    HostFiles& files_;
    Clock& clock_;
    StatusWindow& window_;
    const CodePage& codePage_;
    std::string path_;
    std::unique_ptr<OutputFile> file_;
    int mailIndex_ = 0;
    int mailCount_ = 0;
};

}  // namespace zlt::sendwell
