#pragma once
// Typed text: each character becomes a scan-code key stroke for the guest,
// wrapped in Shift when the character table says so. The keymap and the key
// mapping state play no part.
//
// Threads: the host's input thread. After queueing the stroke the call pauses
// the calling thread for 10 ms, so that the host's next character follows at
// a pace the guest takes; on a manual clock that pause is 10 ms of scheduler
// time instead.

#include <cstdint>

#include "base/decision.h"
#include "dispatch/dispatcher.h"
#include "dispatch/scheduler.h"

namespace Keyweave {

class CharacterInput {
public:
    // The pause after each character.
    static constexpr uint32_t kPauseMs = 10;
    // The byte that stands for Backspace.
    static constexpr unsigned char kBackspaceByte = 255;

    CharacterInput(Dispatcher& dispatcher, Scheduler& scheduler, const DecisionTrace& trace)
        : dispatcher_(dispatcher), scheduler_(scheduler), trace_(trace) {}

    // KeyweaveHandleCharacter. A character without an entry sends nothing.
    void HandleCharacter(char character);

private:
    Dispatcher& dispatcher_;
    Scheduler& scheduler_;
    const DecisionTrace& trace_;
};

}  // namespace Keyweave
