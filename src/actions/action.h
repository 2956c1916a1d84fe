#pragma once
// The base of every action record: what a key, game-pad control or mouse event
// does. The parser creates records, the configuration owns them, action
// execution switches on `type`, and the touch sequences read their parameters
// and keep a little run-time state in them.
//
// Threads: the parser writes a record's parameters while it reads the keymap;
// once the keymap is active they are only read. The run-time fields (`slot`,
// and those marked "run time") belong to action execution and the sequences it
// starts: they are written on the thread that delivered the input, a host
// thread for keys, mouse and characters, or a game-pad thread holding the
// game-pad lock for controls and sticks. Key events, whichever thread brings
// them, are routed under the held-key lock. The scheduler's thread never
// touches a record: a task carries copies of what it plays.

#include <cstdint>
#include <string>

namespace Keyweave {

// Type tags. Tag 11 is not used. Switches over a type list every tag and
// have no `default:`, so that a new tag makes the compiler name each of them.
enum class ActionType : uint32_t {
    kScreenAction = 0,
    kKeyAction = 1,
    kTapAction = 2,
    kSwipeAction = 3,
    kSwipeActionXY = 4,
    kSwipeTraceAction = 5,
    kSwipeHoldAction = 6,
    kPinchAction = 7,
    kAbsoluteTiltAction = 8,
    kRelativeTiltAction = 9,
    kMouseAction = 10,
    kMouseSwipeAction = 12,
    kMouseHoldAction = 13,
    kTapSwipeAction = 14,
    kTapTapAction = 15,
    kTapSwipeClickAction = 16,
    kStickHoldAction = 17,
    kStickMoveAction = 18,
    kTouchMoveAction = 19,
    kShootMoveAction = 20,
    kShootModeAction = 21,
    kTapStickAction = 22,
    kTapCancelAction = 23,
    kSuspendShootAction = 24,
    kTapsMacroAction = 25,
};

// A position, as fractions of the guest screen unless a record says otherwise.
struct Point {
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const Point&, const Point&) = default;
};

inline constexpr Point kScreenCentre{0.5f, 0.5f};

// "Tap", "TapSwipe": the record class's name as keymaps nearly write it.
[[nodiscard]] const char* ActionTypeName(ActionType type);

class Action {
public:
    virtual ~Action() = default;
    // One line for the configuration dump.
    [[nodiscard]] virtual std::string Describe() const = 0;

    ActionType type;
    int32_t slot = -1;  // the touch slot held while the record's sequence runs
    // The rule that made the record: its section (2 [keys], 5 [gamepad2]) and
    // line, from 1; 0 for the records the engine makes itself.
    uint32_t ruleSection = 0;
    uint32_t ruleLine = 0;

protected:
    explicit Action(ActionType tag) : type(tag) {}
    Action(const Action&) = default;
    Action& operator=(const Action&) = default;
};

}  // namespace Keyweave
