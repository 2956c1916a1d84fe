// Clock, sleeping, spinning, error text and input state on POSIX systems.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/resource.h>

#include "base/text.h"
#include "platform/platform.h"

namespace Keyweave::Platform {

namespace {
uint64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
}

// strerror_r comes in two kinds: the GNU one returns the text (perhaps a
// static string, leaving the buffer alone), the XSI one fills the buffer and
// returns 0 or an error number. Only one of these is called on a platform.
[[maybe_unused]] const char* ErrorText(const char* text, const char*) { return text; }
[[maybe_unused]] const char* ErrorText(int result, const char* buffer) {
    return result == 0 ? buffer : "unknown error";
}
}  // namespace

uint64_t MonotonicMs() { return MonotonicNs() / 1000000u; }

uint64_t MonotonicUs() { return MonotonicNs() / 1000u; }

void SleepMs(uint32_t ms) {
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

void SpinMicroseconds(uint32_t us) {
    const uint64_t end = MonotonicNs() + uint64_t{us} * 1000u;
    while (MonotonicNs() < end) {
    }
}

int64_t ProcessCpuUs() {
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
    const auto us = [](const timeval& time) { return int64_t{time.tv_sec} * 1000000 + time.tv_usec; };
    return us(usage.ru_utime) + us(usage.ru_stime);
}

int32_t LastErrorCode() { return errno; }

std::string LastErrorText() {
    const int code = errno;
    if (code == 0) return {};
    char buffer[256] = {};
    return ErrorText(::strerror_r(code, buffer, sizeof buffer), buffer);
}

void DebugOutput(const char* line) { std::fprintf(stderr, "%s\n", line); }

bool KeepLibraryLoaded() { return true; }

std::unique_ptr<InputState> CreateSystemInputState() { return CreateRecordedInputState(); }

std::FILE* OpenForReading(const KeyweaveChar16* path) {
    if (path == nullptr) return nullptr;
    return std::fopen(ToUtf8(path).c_str(), "rb");
}

std::FILE* OpenForWriting(const KeyweaveChar16* path) {
    if (path == nullptr) return nullptr;
    return std::fopen(ToUtf8(path).c_str(), "wb");
}

}  // namespace Keyweave::Platform
