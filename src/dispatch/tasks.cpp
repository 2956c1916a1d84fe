#include "dispatch/tasks.h"

namespace Keyweave {

void Dispatcher::TouchTask::Run() {
    if (slot_ < 0 || static_cast<uint32_t>(slot_) >= count_) return;  // never made so; keeps writes in the frame
    {
        Platform::LockGuard guard(frameLock_);
        points_[slot_] = TouchPoint{x_, y_, down_ ? 1u : 0u};
    }
    if (callback_ != nullptr) callback_(context_, points_, count_, 0);
}

void Dispatcher::KeyTask::Run() {
    if (callback_ != nullptr) callback_(context_, byte_);
}

void Dispatcher::WakeupTask::Run() {
    if (!event_.Set()) log_.Write("Cannot set event: %s", Platform::LastErrorText().c_str());
}

void Dispatcher::AppendTouch(TaskIdList& ids, int32_t slot, Point point, int32_t delayMs, bool down) {
    if (slot < 0 || static_cast<uint32_t>(slot) >= count_) {
        log_.Write("Cannot post touch for slot %d: the frame has %u entries", slot, count_);
        return;
    }
    lastTouchSlot_.store(slot, std::memory_order_relaxed);
    ids.push_back(scheduler_.PostNew<TouchTask>(delayMs, touchCallback_, touchContext_, points_, frameLock_, count_,
                                                slot, point.x, point.y, down));
}

TaskId Dispatcher::PostKey(uint8_t byte, int32_t delayMs) {
    return scheduler_.PostNew<KeyTask>(delayMs, keyCallback_, keyContext_, byte);
}

TaskId Dispatcher::PostSlotRelease(uint32_t slot, int32_t delayMs) {
    return scheduler_.PostNew<SlotReleaseTask>(delayMs, *this, slot);
}

TaskId Dispatcher::PostWakeup(Platform::Event& event, int32_t delayMs) {
    return scheduler_.PostNew<WakeupTask>(delayMs, event, log_);
}

}  // namespace Keyweave
