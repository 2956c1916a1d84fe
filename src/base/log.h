#pragma once
// The engine's only diagnostic output: one formatted line per call, handed to
// the host's log callback.
//
// Each call formats into a 1024-byte buffer on the calling thread's stack, so
// Write takes no lock and allocates nothing; the sink is therefore entered
// concurrently from the host's threads, the scheduler thread and the game-pad
// threads. Lines carry no prefix, time stamp or line end, and are cut at 1023
// characters. Text from the host or a file is only ever an argument, never a
// format.

#include <cstddef>

#include "base/format.h"

namespace Keyweave {

class Log {
public:
    static constexpr size_t kLineBytes = 1024;  // 1023 characters and the terminator

    using Sink = void (*)(void* context, const char* line);

    // Installs the sink and the verbose flag. Called once, before any line is
    // written and before other threads exist; both are read without a lock.
    void SetSink(Sink sink, void* context, bool verbose) {
        sink_ = sink;
        context_ = context;
        verbose_ = verbose;
    }

    // True when the per-report game-pad lines and the database reader's detail
    // lines are wanted.
    [[nodiscard]] bool Verbose() const { return verbose_; }
    // False while no sink is installed: callers may skip building long texts.
    [[nodiscard]] bool Enabled() const { return sink_ != nullptr; }

    // Nothing is formatted while no sink is installed.
    template <typename... Args>
    void Write(const char* format, const Args&... args) const {
        if (sink_ != nullptr) Emit(format, FormatArgumentsOf(args...));
    }
    // A line written only when the verbose flag is set.
    template <typename... Args>
    void Detail(const char* format, const Args&... args) const {
        if (sink_ != nullptr && verbose_) Emit(format, FormatArgumentsOf(args...));
    }

private:
    void Emit(const char* format, FormatArguments arguments) const;

    Sink sink_ = nullptr;  // set once by SetSink
    void* context_ = nullptr;
    bool verbose_ = false;
};

}  // namespace Keyweave
