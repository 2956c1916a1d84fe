#pragma once
// The engine's one time type and its sources.
//
// Every timed decision reads an injected Clock: the system's monotonic
// milliseconds in production (SystemClock, in platform/), a ManualClock that
// tests and the simulator move by hand. Nothing in the engine reads the time
// any other way.

#include <atomic>
#include <cstdint>

namespace Keyweave {

// Milliseconds of a monotonic clock. Never wraps while the process runs.
using Millis = uint64_t;

// Milliseconds from `then` to `now`, signed: negative while `then` is still
// ahead. Stamps compare through it, never with < on the unsigned values.
[[nodiscard]] constexpr int64_t MillisSince(Millis now, Millis then) { return static_cast<int64_t>(now - then); }

// Whether a time stamped `due` has come at `now`.
[[nodiscard]] constexpr bool IsDue(Millis due, Millis now) { return MillisSince(due, now) <= 0; }

class Clock {
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual Millis Now() const = 0;
    // The same time in microseconds, for waits that must end on a due
    // millisecond rather than somewhere inside the one before it. Now() is
    // NowMicros() / 1000.
    [[nodiscard]] virtual uint64_t NowMicros() const { return Now() * 1000; }
};

// Time that moves only when told to. Safe to read from any thread.
class ManualClock final : public Clock {
public:
    explicit ManualClock(Millis start = 0) : now_(start) {}
    [[nodiscard]] Millis Now() const override { return now_.load(std::memory_order_acquire); }
    void Set(Millis now) { now_.store(now, std::memory_order_release); }
    void Advance(Millis delta) { now_.fetch_add(delta, std::memory_order_acq_rel); }

private:
    std::atomic<Millis> now_;
};

}  // namespace Keyweave
