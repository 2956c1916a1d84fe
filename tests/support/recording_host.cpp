#include "support/recording_host.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string_view>

namespace Keyweave::Testing {

HostCallbacks RecordingHost::Callbacks() { return CallbacksFor(*this); }

void RecordingHost::Attach(Log& log, bool verbose) { log.SetSink(&OnLog, this, verbose); }

void RecordingHost::OnKey(void* self, uint8_t byte) {
    auto* host = static_cast<RecordingHost*>(self);
    std::lock_guard guard(host->mutex_);
    host->keys_.push_back({host->Now(), byte});
}

void RecordingHost::OnTouch(void* self, const KeyweaveTouchPoint* points, uint32_t count, uint32_t) {
    auto* host = static_cast<RecordingHost*>(self);
    std::lock_guard guard(host->mutex_);
    host->frames_.push_back({host->Now(), std::vector<KeyweaveTouchPoint>(points, points + count)});
}

void RecordingHost::OnSensor(void* self, float x, float y, float z) {
    auto* host = static_cast<RecordingHost*>(self);
    std::lock_guard guard(host->mutex_);
    host->sensors_.push_back({host->Now(), x, y, z});
}

void RecordingHost::OnSummary(void* self, const char* text) {
    auto* host = static_cast<RecordingHost*>(self);
    std::lock_guard guard(host->mutex_);
    host->summaries_.emplace_back(text);
}

void RecordingHost::OnNotice(void* self, int32_t padId, int32_t event, const char* layout) {
    auto* host = static_cast<RecordingHost*>(self);
    std::lock_guard guard(host->mutex_);
    host->notices_.push_back({host->Now(), padId, event, layout ? layout : ""});
}

void RecordingHost::OnPassThrough(void* self) {
    auto* host = static_cast<RecordingHost*>(self);
    std::lock_guard guard(host->mutex_);
    ++host->passThroughs_;
}

int32_t RecordingHost::OnShooting(void* self, int32_t code) {
    auto* host = static_cast<RecordingHost*>(self);
    std::lock_guard guard(host->mutex_);
    host->shootingCalls_.push_back(code);
    return host->shootingAnswer_;
}

void RecordingHost::OnLog(void* self, const char* line) {
    // The compiler does not check the engine's formats against their
    // arguments; every test that records the log does.
    if (std::string_view(line).starts_with("Cannot format")) {
        ADD_FAILURE() << "a log format does not fit its arguments: " << line;
    }
    auto* host = static_cast<RecordingHost*>(self);
    std::lock_guard guard(host->mutex_);
    host->logs_.emplace_back(line);
}

#define KEYWEAVE_SNAPSHOT(Type, Name, member) \
    Type RecordingHost::Name() const {        \
        std::lock_guard guard(mutex_);        \
        return member;                        \
    }
KEYWEAVE_SNAPSHOT(std::vector<Frame>, Frames, frames_)
KEYWEAVE_SNAPSHOT(std::vector<KeyByte>, Keys, keys_)
KEYWEAVE_SNAPSHOT(std::vector<SensorVector>, Sensors, sensors_)
KEYWEAVE_SNAPSHOT(std::vector<std::string>, Summaries, summaries_)
KEYWEAVE_SNAPSHOT(std::vector<Notice>, Notices, notices_)
KEYWEAVE_SNAPSHOT(std::vector<std::string>, Logs, logs_)
KEYWEAVE_SNAPSHOT(std::vector<int32_t>, ShootingCalls, shootingCalls_)
KEYWEAVE_SNAPSHOT(int, PassThroughs, passThroughs_)
#undef KEYWEAVE_SNAPSHOT

bool RecordingHost::HasLog(const std::string& line) const {
    std::lock_guard guard(mutex_);
    return std::find(logs_.begin(), logs_.end(), line) != logs_.end();
}

void RecordingHost::ClearRecords() {
    std::lock_guard guard(mutex_);
    frames_.clear();
    keys_.clear();
    sensors_.clear();
    summaries_.clear();
    notices_.clear();
    logs_.clear();
    shootingCalls_.clear();
    passThroughs_ = 0;
}

EngineSettings ManualEngine::DefaultSettings() {
    EngineSettings settings;
    settings.screenWidth = 1920;
    settings.screenHeight = 1080;
    return settings;
}

ManualEngine::ManualEngine(EngineSettings settings) {
    EngineOptions options;
    options.manualClock = &clock;
    options.recordedInput = true;
    engine = std::make_unique<Engine>(host.Callbacks(), std::move(settings), options);
}

}  // namespace Keyweave::Testing
