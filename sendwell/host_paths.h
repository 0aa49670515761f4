#pragma once
// The host tree below the drive the dispatcher found: fixed names, each
// the drive ("C:") followed by its tail.
#include <string>

namespace zlt::sendwell {

struct HostPaths {
    std::string root;  // "C:"

    std::string queueFolder() const { return root + "\\ZLT\\EMAIL\\"; }
    std::string sentFolder() const { return root + "\\ZLT\\EMAIL\\SENT\\"; }
    std::string listFile() const { return root + "\\ZLT\\" + "EMAIL.TAG"; }
    std::string signatureFile() const { return root + "\\ZLT\\" + "SIGNAT.TAG"; }
    std::string disclaimerFile() const { return root + "\\ZLT\\" + "DISCLAIM.TAG"; }
    std::string logFile() const { return root + "\\ZLT\\" + "ZELTOeMail.log"; }
    std::string attachmentFile(int part) const { return root + "\\ZLT\\" + "EMAIL" + std::to_string(part) + ".RTF"; }
    // What this program keeps of its own beside the queue: the run lock
    // and, per queued file, the record of its messages already done.
    std::string progressFolder() const { return root + "\\ZLT\\EMAIL\\SENDING\\"; }
    std::string runLockFile() const { return progressFolder() + "RUN.LCK"; }
    std::string journalFile(const std::string& mailFile) const { return progressFolder() + mailFile + ".JNL"; }
};

}  // namespace zlt::sendwell
