#pragma once
// The state behind the exported functions: the engine that KeyweaveInit
// starts, and what a call finds when it comes before it.
//
// The exported functions (exports.cpp) drive one HostInterface, the one
// CurrentInterface() returns. The library's is the process's own, created on
// first use and never destroyed (process_interface.cpp). A test program that
// links the exported functions instead supplies a CurrentInterface() of its
// own and builds a fresh interface, on a manual clock, for each run.
//
// Nothing throws out of it: an exception inside the engine becomes the log
// line "Cannot complete <export>: <reason>".

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <set>
#include <string>

#include "engine/engine.h"
#include "engine/host_callbacks.h"
#include "platform/platform.h"

namespace Keyweave {

class HostInterface {
public:
    // Where calls before KeyweaveInit are reported: there is no log callback
    // yet. One line per export, the first time it comes early.
    using EarlyCallSink = void (*)(const char* line);

    explicit HostInterface(EngineOptions options = {}, EarlyCallSink earlyCalls = &Platform::DebugOutput);
    // Deletes the engine, which stops its threads.
    ~HostInterface();

    HostInterface(const HostInterface&) = delete;
    HostInterface& operator=(const HostInterface&) = delete;

    // KeyweaveInit: starts the engine and keeps the library loaded from then
    // on. Once only: a later call, after KeyweaveFini too, logs "Cannot
    // initialize Keyweave again: the engine is already running" and changes
    // nothing, so the first call's callbacks and contexts stay.
    void Init(const HostCallbacks& callbacks, const KeyweaveChar16* defaultConfigPath, int32_t verbose,
              int32_t screenWidth, int32_t screenHeight) noexcept;

    // Runs `body` with the engine and returns its result. Before Init, reports
    // "Cannot <name> before KeyweaveInit" (once per name) and returns `early`.
    template <typename Result, typename Body>
    Result Call(const char* name, Result early, Body&& body) noexcept {
        Engine* running = engine();
        if (running == nullptr) {
            NoteEarlyCall(name);
            return early;
        }
        try {
            return body(*running);
        } catch (const std::exception& error) {
            running->log().Write("Cannot complete %s: %s", name, error.what());
        } catch (...) {
            running->log().Write("Cannot complete %s", name);
        }
        return early;
    }

    template <typename Body>
    void Call(const char* name, Body&& body) noexcept {
        Call(name, 0, [&](Engine& running) {
            body(running);
            return 0;
        });
    }

    // Null before Init.
    [[nodiscard]] Engine* engine() const { return engine_.load(std::memory_order_acquire); }

private:
    void NoteEarlyCall(const char* name) noexcept;

    const EngineOptions options_;
    const EarlyCallSink earlyCalls_;
    std::atomic<Engine*> engine_{nullptr};
    Platform::Lock earlyLock_;
    std::set<std::string, std::less<>> earlyNames_ KEYWEAVE_GUARDED_BY(earlyLock_);  // the exports reported so far
};

// The interface that the exported functions drive.
HostInterface& CurrentInterface();

}  // namespace Keyweave
