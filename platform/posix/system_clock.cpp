#include "platform/posix/system_clock.h"

#include <chrono>
#include <ctime>

namespace zlt {

namespace {

class SystemClock : public Clock {
public:
    LocalTime now() override
    {
        const auto now = std::chrono::system_clock::now();
        const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
        std::tm local{};
        localtime_r(&seconds, &local);
        const auto sinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>(sinceEpoch.count() % 1000), static_cast<int>(local.tm_gmtoff)};
    }
};

}  // namespace

std::unique_ptr<Clock> makeSystemClock()
{
    return std::make_unique<SystemClock>();
}

}  // namespace zlt
