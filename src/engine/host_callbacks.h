#pragma once
// The host's callbacks as KeyweaveInit receives them. Stored once, for the life
// of the engine; every call passes the paired context back unchanged.

#include "base/log.h"
#include "keyweave/keyweave.h"

namespace Keyweave {

struct HostCallbacks {
    KeyweaveKeyCallback key = nullptr;
    void* keyContext = nullptr;
    KeyweaveTouchCallback touch = nullptr;
    void* touchContext = nullptr;
    KeyweaveSensorCallback sensor = nullptr;
    void* sensorContext = nullptr;
    KeyweaveSummaryCallback summary = nullptr;
    void* summaryContext = nullptr;
    void* reserved[6] = {};  // arguments 9 to 14: kept for the game-pad runtime, never read
    KeyweaveGamePadNoticeCallback notice = nullptr;
    void* noticeContext = nullptr;
    KeyweaveMousePassThroughCallback passThrough = nullptr;
    void* passThroughContext = nullptr;
    KeyweaveShootingModeCallback shooting = nullptr;
    void* shootingContext = nullptr;
    KeyweaveLogCallback log = nullptr;
    // In-process hosts (tests, the simulator) may take log lines with a context
    // instead; when set, it replaces `log`.
    Log::Sink logSink = nullptr;
    void* logContext = nullptr;
};

// Every callback bound to one in-process host object (the tests' recorder,
// the keymap simulator), whose class has the public static entry points
// OnKey, OnTouch, OnSensor, OnSummary, OnNotice, OnPassThrough, OnShooting and
// OnLog, each taking the object as its context.
template <typename Host>
[[nodiscard]] HostCallbacks CallbacksFor(Host& host) {
    void* self = &host;
    HostCallbacks callbacks;
    callbacks.key = &Host::OnKey;
    callbacks.keyContext = self;
    callbacks.touch = &Host::OnTouch;
    callbacks.touchContext = self;
    callbacks.sensor = &Host::OnSensor;
    callbacks.sensorContext = self;
    callbacks.summary = &Host::OnSummary;
    callbacks.summaryContext = self;
    callbacks.notice = &Host::OnNotice;
    callbacks.noticeContext = self;
    callbacks.passThrough = &Host::OnPassThrough;
    callbacks.passThroughContext = self;
    callbacks.shooting = &Host::OnShooting;
    callbacks.shootingContext = self;
    callbacks.logSink = &Host::OnLog;
    callbacks.logContext = self;
    return callbacks;
}

}  // namespace Keyweave
