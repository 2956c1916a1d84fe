// What the benchmark reads from the system: the process's CPU time.
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

}  // namespace
}  // namespace Keyweave
