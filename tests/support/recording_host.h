#pragma once
// A fake host for tests: a callback table that records, with the engine's
// clock, every frame, scan-code byte, sensor vector, summary, notice,
// pass-through, shooting-mode call and log line the engine sends.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/log.h"
#include "engine/engine.h"
#include "engine/host_callbacks.h"

namespace Keyweave::Testing {

struct Frame {
    Millis time;
    std::vector<KeyweaveTouchPoint> points;
};
struct KeyByte {
    Millis time;
    uint8_t byte;
};
struct SensorVector {
    Millis time;
    float x, y, z;
};
struct Notice {
    Millis time;
    int32_t padId;
    int32_t event;
    std::string layout;
};

class RecordingHost {
public:
    // `clock` stamps the records; it may be null (every time is 0).
    explicit RecordingHost(const Clock* clock = nullptr) : clock_(clock) {}

    HostCallbacks Callbacks();
    // Makes `log` write its lines to this host.
    void Attach(Log& log, bool verbose = false);

    // Snapshots, safe while the engine's threads still call in.
    std::vector<Frame> Frames() const;
    std::vector<KeyByte> Keys() const;
    std::vector<SensorVector> Sensors() const;
    std::vector<std::string> Summaries() const;
    std::vector<Notice> Notices() const;
    std::vector<std::string> Logs() const;
    std::vector<int32_t> ShootingCalls() const;
    int PassThroughs() const;
    bool HasLog(const std::string& line) const;

    void ClearRecords();
    void SetShootingAnswer(int32_t answer) { shootingAnswer_ = answer; }

    // The callbacks' entry points (see CallbacksFor).
    static void OnKey(void* self, uint8_t byte);
    static void OnTouch(void* self, const KeyweaveTouchPoint* points, uint32_t count, uint32_t flag);
    static void OnSensor(void* self, float x, float y, float z);
    static void OnSummary(void* self, const char* text);
    static void OnNotice(void* self, int32_t padId, int32_t event, const char* layout);
    static void OnPassThrough(void* self);
    static int32_t OnShooting(void* self, int32_t code);
    static void OnLog(void* self, const char* line);

private:
    Millis Now() const { return clock_ ? clock_->Now() : 0; }

    const Clock* clock_;
    mutable std::mutex mutex_;
    std::vector<Frame> frames_;  // all guarded by mutex_
    std::vector<KeyByte> keys_;
    std::vector<SensorVector> sensors_;
    std::vector<std::string> summaries_;
    std::vector<Notice> notices_;
    std::vector<std::string> logs_;
    std::vector<int32_t> shootingCalls_;
    int passThroughs_ = 0;
    int32_t shootingAnswer_ = 1;
};

// A fresh engine on a manual clock with a recording host: the usual fixture.
struct ManualEngine {
    explicit ManualEngine(EngineSettings settings = DefaultSettings());
    static EngineSettings DefaultSettings();

    ManualClock clock{1000};  // starts away from zero, as a real tick count would
    RecordingHost host{&clock};
    std::unique_ptr<Engine> engine;
};

}  // namespace Keyweave::Testing
