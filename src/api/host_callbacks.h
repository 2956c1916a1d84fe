#pragma once
// The host's callbacks as KeyweaveInit receives them. Stored once, for the life
// of the engine; every call passes the paired context back unchanged.

#include "engine/log.h"
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

}  // namespace Keyweave
