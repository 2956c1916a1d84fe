// The system calls the engine relies on: events, and the process's CPU
// time that the benchmark reads.
#include <chrono>
#include <cstdint>
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace Keyweave {
namespace {

// The benchmark divides CPU time by runs of whole seconds, so the count
// must go on past a second and never fall back. The test spins in user code
// between readings, so that user time alone passes the second. The
// wall-clock limit only ends the loop on a machine too busy to give the test
// its CPU time.
TEST(ProcessCpuTest, CountsOnPastAWholeSecond) {
    constexpr int64_t kTarget = 1'200'000;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int64_t previous = Platform::ProcessCpuUs();
    volatile uint32_t spin = 0;
    while (previous < kTarget && std::chrono::steady_clock::now() < giveUp) {
        for (int i = 0; i < 100000; ++i) spin = spin + 1;
        const int64_t now = Platform::ProcessCpuUs();
        ASSERT_GE(now, previous) << "the CPU time fell back";
        previous = now;
    }
    EXPECT_GE(previous, kTarget);
}

// Every wait consumes the signal it returns with: the next wait, of any
// kind, finds the event clear.
TEST(EventTest, EachWaitConsumesTheSignal) {
    Platform::Event event;
    ASSERT_TRUE(event.Valid());
    EXPECT_EQ(event.WaitFor(0), Platform::Event::Wait::kTimeout);
    for (const uint32_t timeoutMs : {Platform::Event::kInfinite, 0u, 1000u}) {
        ASSERT_TRUE(event.Set());
        EXPECT_EQ(event.WaitFor(timeoutMs), Platform::Event::Wait::kSignaled) << timeoutMs;
        EXPECT_EQ(event.WaitFor(0), Platform::Event::Wait::kTimeout) << timeoutMs;
    }
}

}  // namespace
}  // namespace Keyweave
