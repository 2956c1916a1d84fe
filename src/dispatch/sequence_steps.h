#pragma once
// Small steps shared by the pointer- and stick-driven sequences.
//
// Time stamps kept in records: 0 means "not set", and a stamp may lie in the
// future (a lift that is still due), so elapsed time is MillisSince's signed
// difference rather than an unsigned one that would wrap to a huge value.

#include <cstdint>

#include "dispatch/dispatcher.h"

namespace Keyweave::Sequences {

// `now` as a stamp that reads as set: a clock standing at 0 stamps 1.
[[nodiscard]] inline Millis StampOf(Millis now) { return now != 0 ? now : 1; }

// Keeps the slot a record holds, or takes the lowest free one into it. An
// empty pool is logged and leaves the record's slot at -1.
[[nodiscard]] inline bool TakeOrKeepSlot(Dispatcher& dispatcher, int32_t& slot) {
    if (slot != Dispatcher::kNoSlot) return true;
    slot = dispatcher.AcquireSlot();
    if (slot != Dispatcher::kNoSlot) return true;
    dispatcher.LogNoFreeSlot();
    return false;
}

// PlayTouch, with its ids appended to `ids`.
inline void PlayTouchInto(Dispatcher& dispatcher, TaskIdList& ids, Point point, int32_t slot, int32_t delayMs,
                          bool down) {
    ids.append(dispatcher.PlayTouch(point, slot, delayMs, down));
}

// PostTouch, with its id appended to `ids`.
inline void PostTouchInto(Dispatcher& dispatcher, TaskIdList& ids, Point point, int32_t slot, int32_t delayMs,
                          bool down) {
    ids.push_back(dispatcher.PostTouch(point, slot, delayMs, down));
}

[[nodiscard]] inline Point Plus(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }

// The pointer's offset from the middle of the window, scaled.
[[nodiscard]] inline Point MouseDelta(const Dispatcher& dispatcher, float scale) {
    const Point mouse = dispatcher.MousePosition();
    return {(mouse.x - 0.5f) * scale, (mouse.y - 0.5f) * scale};
}

}  // namespace Keyweave::Sequences
