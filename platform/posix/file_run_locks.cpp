#include "platform/posix/file_run_locks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/run_time_error.h"

namespace zlt {

namespace {

class FileRunLock : public RunLock {
public:
    explicit FileRunLock(int descriptor) : descriptor_(descriptor) {}
    ~FileRunLock() override { close(descriptor_); }  // the lock goes with the descriptor

private:
    int descriptor_;
};

class FileRunLocks : public RunLocks {
public:
    std::unique_ptr<RunLock> tryLock(const std::string& path) override
    {
        const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (descriptor < 0)
            throw errorFromErrno(errno, path);
        while (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (error == EINTR)
                continue;
            close(descriptor);
            if (error == EWOULDBLOCK)
                return nullptr;
            throw errorFromErrno(error, path);
        }
        // Who holds it, for a person looking at the file.
        const std::string holder = std::to_string(getpid()) + "\n";
        if (ftruncate(descriptor, 0) == 0 && write(descriptor, holder.data(), holder.size()) < 0) {
            // The lock is what counts, not the note.
        }
        return std::make_unique<FileRunLock>(descriptor);
    }
};

}  // namespace

std::unique_ptr<RunLocks> makeFileRunLocks()
{
    return std::make_unique<FileRunLocks>();
}

}  // namespace zlt
