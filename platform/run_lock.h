#pragma once
// A lock that only one run at a time holds, kept on a file. The system
// drops it when its holder ends, however it ends, so a killed run never
// leaves a lock behind that stops the next one.
#include <memory>
#include <string>

namespace zlt {

class RunLock {
public:
    virtual ~RunLock() = default;  // releases the lock
};

class RunLocks {
public:
    virtual ~RunLocks() = default;
    // Creates the file when missing and takes its lock; none when another
    // run holds it. RunTimeError when the file cannot be opened.
    virtual std::unique_ptr<RunLock> tryLock(const std::string& path) = 0;
};

}  // namespace zlt
