#include "engine/engine.h"

#include <utility>

namespace Keyweave {

Engine::Engine(const HostCallbacks& callbacks, EngineSettings settings, EngineOptions options)
    : callbacks_(callbacks),
      settings_(std::move(settings)),
      clock_(options.manualClock ? static_cast<const Clock*>(options.manualClock) : &systemClock_),
      input_(options.recordedInput ? Platform::CreateRecordedInputState()
                                   : Platform::CreateSystemInputState()) {
    if (callbacks_.logSink != nullptr) {
        log_.SetSink(callbacks_.logSink, callbacks_.logContext, settings_.verbose);
    } else {
        log_.SetSink(&Engine::ForwardLog, &callbacks_, settings_.verbose);
    }
    log_.Write("Initializing Keyweave");
    scheduler_ = options.manualClock ? std::make_unique<Scheduler>(log_, *options.manualClock)
                                     : std::make_unique<Scheduler>(log_, *clock_);
    scheduler_->Start();
}

Engine::~Engine() = default;

void Engine::ForwardLog(void* context, const char* line) {
    const auto* callbacks = static_cast<const HostCallbacks*>(context);
    if (callbacks->log != nullptr) callbacks->log(line);
}

void Engine::Finalize() { log_.Write("Finalizing Keyweave"); }

int32_t Engine::ParserVersion() {
    log_.Write("At the start of getparserversion function");
    return 4;
}

}  // namespace Keyweave
