#include "input/character_input.h"

#include "codes/key_names.h"
#include "platform/platform.h"

namespace Keyweave {

void CharacterInput::HandleCharacter(char character) {
    if (static_cast<unsigned char>(character) == kBackspaceByte) character = kCharacterBackspace;
    const uint32_t key = CharacterKey(character);
    if (trace_.On()) {
        Decision decision;
        decision.input = InputKind::kCharacter;
        decision.reason = key == kNoKey ? Reason::kNoCharacter : Reason::kTyped;
        decision.code = static_cast<unsigned char>(character);
        decision.keys[0] = key == kNoKey ? 0 : key;
        trace_.Report(decision);
    }
    if (key == kNoKey) return;
    const bool shift = CharacterNeedsShift(character);
    const uint32_t shiftKey = CharacterKey(kCharacterShift);

    // All at delay 0: the bytes reach the guest in the order queued.
    if (shift) dispatcher_.PlayKey(shiftKey, 0, true);
    dispatcher_.PlayKey(key, 0, true);
    dispatcher_.PlayKey(key, 0, false);
    if (shift) dispatcher_.PlayKey(shiftKey, 0, false);

    if (scheduler_.Manual()) {
        scheduler_.AdvanceBy(kPauseMs);
    } else {
        Platform::SleepMs(kPauseMs);
    }
}

}  // namespace Keyweave
