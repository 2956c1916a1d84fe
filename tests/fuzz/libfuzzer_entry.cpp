// The libFuzzer entry point of one target, chosen when it is compiled
// (KEYWEAVE_FUZZ_TARGET names one of the functions of fuzz_targets.h). A
// broken invariant aborts, so that libFuzzer keeps the input as a crash.
#include <cstdio>
#include <cstdlib>

#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string problems = Keyweave::Fuzz::KEYWEAVE_FUZZ_TARGET(data, size);
    if (!problems.empty()) {
        std::fputs("broken invariant:\n", stderr);
        std::fputs(problems.c_str(), stderr);
        std::abort();
    }
    return 0;
}
