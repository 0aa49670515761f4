#pragma once
// Test double of the clock: shows the time a test set.
#include "platform/clock.h"

namespace zlt::testing {

class FixedClock : public Clock {
public:
    explicit FixedClock(LocalTime time = {}) : time_(time) {}
    void set(LocalTime time) { time_ = time; }
    LocalTime now() override { return time_; }

private:
    LocalTime time_;
};

}  // namespace zlt::testing
