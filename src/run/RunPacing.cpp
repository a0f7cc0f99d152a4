#include "run/RunPacing.h"

#include <algorithm>
#include <thread>

namespace kenmori {

bool PauseUnlessStopped(std::chrono::milliseconds pause, const StopRequested& stopRequested)
{
    // Short slices keep a Cancel responsive without a wake-up channel.
    constexpr std::chrono::milliseconds kSlice{20};
    const auto deadline = std::chrono::steady_clock::now() + pause;
    while (true) {
        if (stopRequested && stopRequested())
            return false;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return true;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kSlice, deadline - now));
    }
}

} // namespace kenmori
