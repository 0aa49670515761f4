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
        struct Held : RunLock {
            Held(std::set<std::string>& held, std::string path) : held(held), path(std::move(path)) {}
            ~Held() override { held.erase(path); }
            std::set<std::string>& held;
            std::string path;
        };
        return held_.insert(path).second ? std::make_unique<Held>(held_, path) : nullptr;
    }

private:
    std::set<std::string> held_;
};

}  // namespace zlt::testing
