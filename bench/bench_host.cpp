#include "bench_host.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "engine/engine.h"

namespace Keyweave::Bench {

int64_t NowMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t MonotonicOriginMicros() {
    // The first steady reading after the millisecond value changes is at most
    // a few microseconds past the change.
    const uint64_t start = Platform::MonotonicMs();
    uint64_t now = start;
    int64_t at = 0;
    while (now == start) {
        at = NowMicros();
        now = Platform::MonotonicMs();
    }
    return at - static_cast<int64_t>(now) * 1000;
}

Summary Summarise(std::vector<int64_t>& samples) {
    Summary summary;
    summary.count = samples.size();
    if (samples.empty()) return summary;
    std::sort(samples.begin(), samples.end());
    auto at = [&](double fraction) {
        const size_t index = static_cast<size_t>(fraction * static_cast<double>(samples.size() - 1) + 0.5);
        return static_cast<double>(samples[std::min(index, samples.size() - 1)]);
    };
    summary.p50 = at(0.50);
    summary.p99 = at(0.99);
    summary.max = static_cast<double>(samples.back());
    return summary;
}

WideString WriteTempFile(const std::string& name, const std::string& text) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << text;
    const std::u8string utf8 = path.u8string();
    return ToWide(std::string(utf8.begin(), utf8.end()));
}

TimingHost::TimingHost() { times_.reserve(1 << 16); }

HostCallbacks TimingHost::Callbacks() {
    HostCallbacks callbacks;
    callbacks.touch = &TimingHost::OnTouch;
    callbacks.touchContext = this;
    callbacks.shooting = &TimingHost::OnShooting;
    callbacks.shootingContext = this;
    return callbacks;
}

void TimingHost::OnTouch(void* context, const KeyweaveTouchPoint*, uint32_t, uint32_t) {
    const int64_t now = NowMicros();
    auto* host = static_cast<TimingHost*>(context);
    {
        std::lock_guard guard(host->lock_);
        host->times_.push_back(now);
    }
    host->frames_.fetch_add(1, std::memory_order_acq_rel);
    host->frameArrived_.Set();
}

// Mouse-look is allowed whenever the engine asks.
int32_t TimingHost::OnShooting(void*, int32_t) { return 1; }

std::vector<int64_t> TimingHost::FrameTimes() {
    std::lock_guard guard(lock_);
    return times_;
}

void TimingHost::Reset() {
    std::lock_guard guard(lock_);
    times_.clear();
    frames_.store(0, std::memory_order_release);
    frameArrived_.WaitFor(0);  // drop a pending signal
}

bool TimingHost::WaitForFrames(uint64_t count, uint32_t timeoutMs) {
    const int64_t deadline = NowMicros() + int64_t{timeoutMs} * 1000;
    while (FrameCount() < count) {
        const int64_t left = deadline - NowMicros();
        if (left <= 0) return false;
        frameArrived_.WaitFor(static_cast<uint32_t>(left / 1000 + 1));
    }
    return true;
}

namespace {
std::atomic<uint64_t> decisionsSeen{0};
void CountDecision(void*, const Decision&) { decisionsSeen.fetch_add(1, std::memory_order_relaxed); }
void CountHostDecision(void*, const KeyweaveDecision*) { decisionsSeen.fetch_add(1, std::memory_order_relaxed); }
}  // namespace

const char* ObserveDecisions(Engine& engine) {
    const char* mode = std::getenv("KEYWEAVE_BENCH_DECISIONS");
    if (mode != nullptr && std::strcmp(mode, "count") == 0) {
        engine.SetDecisionObserver(&CountDecision, nullptr);
        return "count";
    }
    if (mode != nullptr && std::strcmp(mode, "host") == 0) {
        engine.SetHostDecisionObserver(&CountHostDecision, nullptr);
        return "host";
    }
    return "none";
}

uint64_t DecisionsSeen() { return decisionsSeen.load(std::memory_order_relaxed); }

}  // namespace Keyweave::Bench
