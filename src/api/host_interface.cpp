#include "api/host_interface.h"

#include <utility>

namespace Keyweave {

HostInterface::HostInterface(EngineOptions options, EarlyCallSink earlyCalls)
    : options_(options), earlyCalls_(earlyCalls) {}

HostInterface::~HostInterface() { delete engine_.exchange(nullptr); }

void HostInterface::Init(const HostCallbacks& callbacks, const KeyweaveChar16* defaultConfigPath, int32_t verbose,
                         int32_t screenWidth, int32_t screenHeight) noexcept {
    if (Engine* running = engine()) {
        running->log().Write("Cannot initialize Keyweave again: the engine is already running");
        return;
    }
    try {
        EngineSettings settings;
        settings.defaultConfigPath = WideFromHost(defaultConfigPath);
        settings.verbose = verbose != 0;
        settings.screenWidth = screenWidth;
        settings.screenHeight = screenHeight;
        // Pinned before the threads start: from now on they run the library's code.
        const bool pinned = Platform::KeepLibraryLoaded();
        const std::string pinError = pinned ? std::string() : Platform::LastErrorText();
        auto* started = new Engine(callbacks, std::move(settings), options_);
        if (!pinned) started->log().Write("Cannot keep Keyweave loaded: %s", pinError.c_str());
        engine_.store(started, std::memory_order_release);
    } catch (...) {
        if (callbacks.log != nullptr) callbacks.log("Cannot initialize Keyweave: out of memory");
    }
}

void HostInterface::NoteEarlyCall(const char* name) noexcept {
    try {
        {
            Platform::LockGuard guard(earlyLock_);
            if (!earlyNames_.emplace(name).second) return;
        }
        if (earlyCalls_ != nullptr) earlyCalls_(("Cannot " + std::string(name) + " before KeyweaveInit").c_str());
    } catch (...) {
        // Out of memory: the call stays silent, as it did before there were notices.
    }
}

}  // namespace Keyweave
