#pragma once
// The engine's synthetic multi-touch surface.
//
// The dispatcher holds the touch frame (one TouchPoint per slot; the slot
// number is the finger's identity), hands slots to the actions that need a
// finger, and turns every touch change into a task on the scheduler, so the
// frame reaches the host on the scheduler thread at the planned time. Scan-code
// bytes leave the same way, one KeyTask each.
//
// Slots: 0..count-4 form the free pool (the lowest free slot is handed out
// first). Slot 13 follows the mouse, slot 15 is the combined direction pad's
// finger, slot 14 is never used by a sequence; none of the three is ever in
// the pool.
//
// Threads and locks:
//  - Sequences run on the threads that deliver input (host calls, the game-pad
//    stick thread) and post tasks; the scheduler thread runs them.
//  - poolLock_ guards the free pool only. SlotReleaseTask takes it on the
//    scheduler thread.
//  - tapLock_ guards the tap suppression values only.
//  - pad_.lock serialises the direction pad's events, including their wait
//    for the pad's previous sequence (direction_pad.h).
//  - bindingsLock_ guards the slot bindings: the host's input thread and the
//    game-pad threads both bind, and a keymap load clears them. SlotForAction
//    takes the pool lock inside it.
//  - Frame entries are written by TouchTask::Run (scheduler thread), by Reset
//    (the loading host thread, while a task the scheduler popped before the
//    load may still run) and by the scroll and zoom gestures (host thread).
//    frameLock_ (FrameLock(), which the gestures share) makes each write whole. No lock is held
//    while the host is called.
//
// The timed sequences that each action type plays are further member
// functions of this class, each family in a file of its own; they are declared
// in the marked section below.

#include <atomic>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "actions/action.h"
#include "actions/mouse_actions.h"
#include "actions/stick_actions.h"
#include "actions/touch_actions.h"
#include "base/clock.h"
#include "base/log.h"
#include "codes/event_codes.h"
#include "dispatch/direction_pad.h"
#include "dispatch/pointer_state.h"
#include "dispatch/scheduler.h"
#include "dispatch/touch_frame.h"
#include "keyweave/keyweave.h"
#include "platform/platform.h"

namespace Keyweave {

class Dispatcher {
public:
    // The four task kinds, defined in dispatch/tasks.h.
    class TouchTask;
    class KeyTask;
    class SlotReleaseTask;
    class WakeupTask;

    // Slots outside the pool, on the 16-entry frame.
    static constexpr int32_t kMouseSlot = 13;  // follows the mouse pointer
    static constexpr int32_t kSpareSlot = 14;  // never used by a sequence
    static constexpr int32_t kPadSlot = 15;    // the combined direction pad
    static_assert(kPadSlot == static_cast<int32_t>(kTouchPointCount) - 1 &&
                      kMouseSlot == static_cast<int32_t>(kTouchPointCount) - 3,
                  "the three reserved slots are the last entries of the frame");
    static constexpr int32_t kNoSlot = -1;

    // What the tap-swipe actions leave behind for plain taps to read. Tick
    // counts in milliseconds; all zero after Reset.
    struct TapSuppression {
        Millis tapSwipePressTime = 0;          // last press of a tap-swipe
        Millis tapSwipeLiftTime = 0;           // 0 while held; then when its lift is due
        const Action* lastTapSwipe = nullptr;  // the tap-swipe released last
    };

    // Keeps `points` (not owned, `count` entries, never reallocated), the
    // callbacks, the scheduler and the physical key state the sequences
    // consult, then resets: the host receives one all-up frame on the calling
    // thread.
    Dispatcher(TouchPoint* points, uint32_t count, KeyweaveKeyCallback keyCallback, void* keyContext,
               KeyweaveTouchCallback touchCallback, void* touchContext, Scheduler& scheduler, int32_t screenWidth,
               int32_t screenHeight, const Log& log, Platform::InputState& input);

    Dispatcher(const Dispatcher&) = delete;
    Dispatcher& operator=(const Dispatcher&) = delete;

    // Clears the tap suppression values and the slot bindings, lifts and frees
    // every pool slot, and reports the frame directly to the touch callback.
    // Entries 13 to 15 and the direction pad are left as they are.
    void Reset();

    // ---- Slots ----
    // The lowest free slot, taken out of the pool; kNoSlot when none is free.
    int32_t AcquireSlot();
    // The action's bound slot, or a newly acquired one that becomes bound to
    // it; kNoSlot when the pool is empty.
    [[nodiscard]] int32_t SlotForAction(const Action* action);
    // kNoSlot removes the action's binding; any other value sets it.
    void BindSlot(const Action* action, int32_t slot);
    // Puts a pool slot back (a free slot stays once). Anything else is
    // refused with a log line, so the reserved slots never enter the pool.
    void ReleaseSlot(uint32_t slot);

    // ---- Scan codes ----
    // Posts one KeyTask per non-zero byte of `scanCodes`, most significant
    // first, all at `delayMs`. Going up sets bit 7 of the lowest byte (the
    // break code of the last byte; prefixes such as E0 stay). Returns the ids.
    static constexpr uint32_t kReleaseBit = 0x80u;
    TaskIdList PlayKey(uint32_t scanCodes, int32_t delayMs, bool down);

    // ---- Posting steps shared by every sequence ----
    // Posts a touch (slot, point, down) at `delayMs` and appends its id. A slot
    // outside the frame posts nothing and is logged.
    void AppendTouch(TaskIdList& ids, int32_t slot, Point point, int32_t delayMs, bool down);
    TaskId PostKey(uint8_t byte, int32_t delayMs);
    TaskId PostSlotRelease(uint32_t slot, int32_t delayMs);
    // `event` is the waiting caller's and must outlive the task.
    TaskId PostWakeup(Platform::Event& event, int32_t delayMs);
    // "Cannot allocate touch slot for swipe": a sequence found the pool empty.
    void LogNoFreeSlot() const;
    // "No touch slot for action %p": a tap found no slot for its action.
    void LogNoSlotForAction(const Action* action) const;

    // ---- What the decision trace reads around a play ----
    // How many plays found no free slot, and how many tap presses yielded to
    // a tap-swipe, so far; and the slot of the last touch posted. Counted on
    // those paths only (a relaxed store per touch), read only while a trace
    // observer is set. Plays on other threads meanwhile (the game-pad ticks)
    // can blur which play a count or slot belongs to.
    [[nodiscard]] uint32_t NoSlotCount() const { return noSlotCount_.load(std::memory_order_relaxed); }
    [[nodiscard]] uint32_t TapYieldCount() const { return tapYieldCount_.load(std::memory_order_relaxed); }
    [[nodiscard]] int32_t LastTouchSlot() const { return lastTouchSlot_.load(std::memory_order_relaxed); }

    // ---- Tap suppression, under the tap lock ----
    // Runs `body(TapSuppression&)` with the tap lock held and returns what it
    // returns. The body must not call the host or take other locks.
    template <typename Body>
    decltype(auto) WithTapSuppression(Body&& body) {
        Platform::LockGuard guard(tapLock_);
        return body(tapSuppression_);
    }
    [[nodiscard]] TapSuppression TapSuppressionSnapshot() const;

    // ---- What sequences and tests read ----
    Scheduler& scheduler() { return scheduler_; }
    // Physical key and left-button state, and the pointer re-centring.
    Platform::InputState& input() { return input_; }
    [[nodiscard]] const Log& log() const { return log_; }
    [[nodiscard]] Millis Now() const { return scheduler_.Now(); }
    [[nodiscard]] TouchPoint* points() const { return points_; }
    [[nodiscard]] uint32_t count() const { return count_; }
    [[nodiscard]] float screenWidth() const { return screenWidth_; }
    [[nodiscard]] float screenHeight() const { return screenHeight_; }
    // screenWidth / screenHeight; 1 when the host gave no usable size.
    [[nodiscard]] float aspectRatio() const;
    // The free pool, lowest first.
    [[nodiscard]] std::vector<uint32_t> FreeSlots() const;
    // A copy of the slot bindings, for invariant checks.
    [[nodiscard]] std::map<const Action*, int32_t> Bindings() const;
    // Held while an entry of the shared frame is written; the scroll and zoom
    // gestures take it too.
    Platform::Lock& FrameLock() { return frameLock_; }
    // Number of slots that make up the pool (13 on the 16-entry frame).
    [[nodiscard]] uint32_t PoolSize() const { return poolSize_; }

    // ---- Sequence operations ----
    // Each family of sequences declares its operations here and defines them
    // in its own file (touch_sequences.cpp, direction_pad.cpp,
    // mouse_sequences.cpp). Every one takes its inputs and a delay in
    // milliseconds, posts through the posting steps above, and returns the ids
    // of the touches and keys it posted, in posting order (empty when it
    // could not get a slot).

    // Taps, swipes, pinches, macros and the tap-cancel glide
    // (touch_sequences.cpp). `wakeup`, where taken, is set when the sequence's
    // lift is reported; it must outlive the sequence.
    //
    // A tap keeps its slot bound to the action from press to release. Its
    // press is dropped while a tap-swipe is held (up to 500 ms after the
    // tap-swipe's press) and for 50 ms after a tap-swipe's lift.
    TaskIdList PlayTap(const TapAction& action, int32_t delayMs, bool down);
    // Each key event is a complete 20 ms tap: the first point on press, the
    // second on release.
    TaskIdList PlayTapTap(const TapTapAction& action, int32_t delayMs, bool down);
    TaskIdList PlaySwipe(const SwipeAction& action, int32_t delayMs, Platform::Event* wakeup = nullptr);
    TaskIdList PlaySwipeXY(const SwipeActionXY& action, int32_t delayMs, Platform::Event* wakeup = nullptr);
    TaskIdList PlaySwipeTrace(const SwipeTraceAction& action, int32_t delayMs);
    // Two swipes, one per finger; `fast` steps every 30 ms. `wakeup` follows
    // the second finger.
    TaskIdList PlayPinch(const PinchAction& action, int32_t delayMs, Platform::Event* wakeup, bool fast);
    // The whole macro, with a slot of its own; the slot release's id is last.
    TaskIdList PlayTapsMacro(const TapsMacroAction& action, int32_t delayMs);
    // Glides the finger held on `slot` from `point` to the action's point in
    // ten steps of `stepTimeMs` and lifts it there, freeing the slot. `point`
    // follows the finger. Returns an empty list; kNoSlot posts nothing.
    TaskIdList PlayTapCancel(const TapCancelAction& action, Point& point, int32_t slot, int32_t stepTimeMs);
    // A touch on `slot` (kNoSlot: nothing). A lift also gives the slot back
    // with the same delay, and that id is returned too.
    TaskIdList PlayTouch(Point point, int32_t slot, int32_t delayMs, bool down);
    // Only the touch, for callers that keep holding their slot; its id. A
    // slot outside the frame is logged and its task changes nothing when due.
    TaskId PostTouch(Point point, int32_t slot, int32_t delayMs, bool down);

    // The combined direction pad (direction_pad.cpp): every swipe-hold key
    // steers the finger on kPadSlot. `firstKey` is the lowest key of the rule
    // that fired. Waits, on the calling thread, for the pad's previous sequence.
    TaskIdList PlaySwipeHold(const SwipeHoldAction& action, int32_t delayMs, bool down, uint32_t firstKey);

    // Mouse and stick sequences (pointer_state.cpp, mouse_sequences.cpp,
    // tap_swipe_sequences.cpp, shooting_sequences.cpp, stick_sequences.cpp).
    // They follow a continuous input: the pointer, or a game-pad stick. Mouse
    // events are InputMessage codes, stick events StickPhase codes. Records
    // that need a finger keep it in their own slot field from press to
    // release; a mouse swipe keeps it for the life of the record.
    //
    // The shared input state, each value under its own lock. The pointer is
    // in fractions of the host window; a stick is named by its whole-stick
    // control code (any other code is ignored, and reads as (0, 0)); the
    // screen-centre reference is (0.5, 0.5) with stretch 0 until a keymap
    // brings one (a null record changes nothing).
    void SetMousePosition(float x, float y);
    [[nodiscard]] Point MousePosition() const;
    void SetStickPosition(uint32_t stick, float x, float y);
    [[nodiscard]] Point StickPosition(uint32_t stick) const;
    void SetScreenCentre(const ScreenAction* centre);
    [[nodiscard]] ScreenCentreReference ScreenCentre() const;

    // A stick finger's position: `current` (hundredths of a percent) moves by
    // the stick's deflection times `sensitivity`, kept within `radius` of
    // `centre`; the result is in screen fractions, its vertical offset
    // stretched by the aspect ratio. Unless `keep`, `current` goes back to the
    // centre afterwards.
    Point StickPoint(uint32_t stick, Point centre, Point& current, float radius, float sensitivity, bool keep) const;
    // Where the pointer's offset from the screen-centre reference lands
    // around `centre` (fractions) within `radius` (percent), vertical offset
    // stretched by `aspect` (0: the screen's aspect ratio). `distance` is the
    // unclamped distance from the centre, in hundredths of a percent.
    struct MousePlacement {
        Point point;
        float distance;
    };
    [[nodiscard]] MousePlacement MousePoint(Point centre, float radius, float aspect, bool force) const;

    // The engine's own mouse finger on kMouseSlot, at the pointer, with the
    // record's delay and down flag.
    TaskIdList PlayMouseTouch(const MouseAction& record);
    // Follows the pointer while it is inside the rectangle; leaving it lifts
    // the finger, frees the slot and returns an empty list.
    TaskIdList PlayMouseHold(MouseHoldAction& action, int32_t delayMs);
    // A right-button drag played as a swipe from the centre towards the
    // pointer; kTapSwipeKeyPressed lets a released swipe go at once.
    TaskIdList PlayMouseSwipe(MouseSwipeAction& action, int32_t delayMs, int32_t event);
    TaskIdList PlayTapSwipe(TapSwipeAction& action, int32_t delayMs, int32_t event);
    TaskIdList PlayTapSwipeClick(TapSwipeClickAction& action, int32_t delayMs, int32_t event);
    // The key re-centres the system pointer; moves offset the finger from its point.
    TaskIdList PlayTouchMove(TouchMoveAction& action, int32_t delayMs, int32_t event);
    TaskIdList PlayShootMove(ShootMoveAction& action, int32_t delayMs, int32_t event);
    // On kLeftButtonUp waits, on the calling thread, for its previous sequence.
    TaskIdList PlayShootMode(ShootModeAction& action, int32_t delayMs, int32_t event);
    TaskIdList PlayStickMove(StickMoveAction& action, int32_t delayMs, int32_t phase);
    TaskIdList PlayStickHold(StickHoldAction& action, int32_t delayMs, int32_t phase);
    TaskIdList PlayTapStick(TapStickAction& action, int32_t delayMs, int32_t phase);

private:
    // ---- State kept by sequence families (declared next to their owner) ----
    DirectionPadState pad_;  // the combined direction pad; never reset
    PointerState pointer_;   // pointer, sticks, screen centre; each under its own lock

    TouchPoint* const points_ KEYWEAVE_PT_GUARDED_BY(frameLock_);  // the shared frame, not owned
    const uint32_t count_;
    const uint32_t poolSize_;  // slots 0..poolSize_-1 are pool slots
    const KeyweaveKeyCallback keyCallback_;
    void* const keyContext_;
    const KeyweaveTouchCallback touchCallback_;
    void* const touchContext_;
    Scheduler& scheduler_;
    const Log& log_;
    Platform::InputState& input_;

    Platform::Lock frameLock_;  // held while TouchTask::Run, Reset or a gesture writes entries
    mutable Platform::Lock poolLock_;
    uint32_t freeSlots_ KEYWEAVE_GUARDED_BY(poolLock_) = 0;  // bit n set: pool slot n is free

    // A binding per held tap, so a few entries: a flat list whose storage is
    // reserved once, so binding and unbinding allocate nothing.
    mutable Platform::Lock bindingsLock_ KEYWEAVE_ACQUIRED_BEFORE(poolLock_);
    std::vector<std::pair<const Action*, int32_t>> bindings_ KEYWEAVE_GUARDED_BY(bindingsLock_);

    const float screenWidth_;
    const float screenHeight_;

    mutable Platform::Lock tapLock_;
    TapSuppression tapSuppression_ KEYWEAVE_GUARDED_BY(tapLock_);
    mutable std::atomic<uint32_t> noSlotCount_{0};
    std::atomic<uint32_t> tapYieldCount_{0};
    std::atomic<int32_t> lastTouchSlot_{-1};
};

}  // namespace Keyweave
