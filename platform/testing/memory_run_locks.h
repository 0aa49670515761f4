#pragma once
#include <memory>
#include <set>
#include <string>

#include "platform/run_lock.h"

namespace zlt::testing {

// Test double of the run locks: a lock is held while its object lives; a
// test holds one itself to stand for another run.
class MemoryRunLocks : public RunLocks {
public:
    std::unique_ptr<RunLock> tryLock(const std::string& path) override
    {
        if (!held_.insert(path).second)
            return nullptr;
        return std::make_unique<Held>(held_, path);
    }

private:
    class Held : public RunLock {
    public:
        Held(std::set<std::string>& held, std::string path) : held_(held), path_(std::move(path)) {}
        ~Held() override { held_.erase(path_); }

    private:
        std::set<std::string>& held_;
        std::string path_;
    };

    std::set<std::string> held_;
};

}  // namespace zlt::testing
