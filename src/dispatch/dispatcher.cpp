#include "dispatch/dispatcher.h"

#include <algorithm>
#include <bit>

namespace Keyweave {

namespace {

// Slots below the mouse slot that the frame actually has.
uint32_t PoolSizeFor(const TouchPoint* points, uint32_t count) {
    if (points == nullptr || count <= 3) return 0;
    return std::min<uint32_t>(count - 3, static_cast<uint32_t>(Dispatcher::kMouseSlot));
}

constexpr uint32_t SlotBit(uint32_t slot) { return 1u << slot; }

template <typename Bindings>
auto FindBinding(Bindings& bindings, const Action* action) {
    return std::find_if(bindings.begin(), bindings.end(),
                        [action](const auto& entry) { return entry.first == action; });
}

}  // namespace

Dispatcher::Dispatcher(TouchPoint* points, uint32_t count, KeyweaveKeyCallback keyCallback, void* keyContext,
                       KeyweaveTouchCallback touchCallback, void* touchContext, Scheduler& scheduler,
                       int32_t screenWidth, int32_t screenHeight, const Log& log, Platform::InputState& input)
    : points_(points),
      count_(points != nullptr ? count : 0),
      poolSize_(PoolSizeFor(points, count)),
      keyCallback_(keyCallback),
      keyContext_(keyContext),
      touchCallback_(touchCallback),
      touchContext_(touchContext),
      scheduler_(scheduler),
      log_(log),
      input_(input),
      screenWidth_(static_cast<float>(screenWidth)),
      screenHeight_(static_cast<float>(screenHeight)) {
    bindings_.reserve(kTouchPointCount);
    if (points == nullptr) log_.Write("Cannot use a missing touch frame: no touch will be reported");
    if (screenWidth <= 0 || screenHeight <= 0) {
        log_.Write("Cannot use screen size %d x %d: the aspect ratio is taken as 1", screenWidth, screenHeight);
    }
    Reset();
}

void Dispatcher::Reset() {
    {
        Platform::LockGuard guard(tapLock_);
        tapSuppression_ = TapSuppression{};
    }
    // Bindings belong to the records of the keymap being replaced; a record of
    // the next keymap may be allocated at the same address and must not find a
    // slot that is back in the pool.
    {
        Platform::LockGuard guard(bindingsLock_);
        bindings_.clear();
    }
    {
        Platform::LockGuard guard(frameLock_);
        for (uint32_t slot = 0; slot < poolSize_; ++slot) points_[slot] = TouchPoint{0.0f, 0.0f, 0};
    }
    {
        Platform::LockGuard guard(poolLock_);
        freeSlots_ = SlotBit(poolSize_) - 1;
    }
    if (touchCallback_ != nullptr && points_ != nullptr) touchCallback_(touchContext_, points_, count_, 0);
}

int32_t Dispatcher::AcquireSlot() {
    Platform::LockGuard guard(poolLock_);
    if (freeSlots_ == 0) return kNoSlot;
    const auto slot = static_cast<uint32_t>(std::countr_zero(freeSlots_));
    freeSlots_ &= ~SlotBit(slot);
    return static_cast<int32_t>(slot);
}

int32_t Dispatcher::SlotForAction(const Action* action) {
    Platform::LockGuard guard(bindingsLock_);
    const auto bound = FindBinding(bindings_, action);
    if (bound != bindings_.end()) return bound->second;
    const int32_t slot = AcquireSlot();
    if (slot != kNoSlot) bindings_.emplace_back(action, slot);
    return slot;
}

void Dispatcher::BindSlot(const Action* action, int32_t slot) {
    Platform::LockGuard guard(bindingsLock_);
    const auto bound = FindBinding(bindings_, action);
    if (slot == kNoSlot) {
        if (bound != bindings_.end()) bindings_.erase(bound);
    } else if (bound != bindings_.end()) {
        bound->second = slot;
    } else {
        bindings_.emplace_back(action, slot);
    }
}

void Dispatcher::ReleaseSlot(uint32_t slot) {
    if (slot >= poolSize_) {
        log_.Write("Cannot release touch slot %u: it is not a pool slot", slot);
        return;
    }
    Platform::LockGuard guard(poolLock_);
    freeSlots_ |= SlotBit(slot);
}

std::map<const Action*, int32_t> Dispatcher::Bindings() const {
    Platform::LockGuard guard(bindingsLock_);
    return {bindings_.begin(), bindings_.end()};
}

std::vector<uint32_t> Dispatcher::FreeSlots() const {
    Platform::LockGuard guard(poolLock_);
    std::vector<uint32_t> slots;
    for (uint32_t slot = 0; slot < poolSize_; ++slot) {
        if ((freeSlots_ & SlotBit(slot)) != 0) slots.push_back(slot);
    }
    return slots;
}

Dispatcher::TapSuppression Dispatcher::TapSuppressionSnapshot() const {
    Platform::LockGuard guard(tapLock_);
    return tapSuppression_;
}

float Dispatcher::aspectRatio() const {
    if (screenWidth_ <= 0.0f || screenHeight_ <= 0.0f) return 1.0f;
    return screenWidth_ / screenHeight_;
}

TaskIdList Dispatcher::PlayKey(uint32_t scanCodes, int32_t delayMs, bool down) {
    if (!down) scanCodes |= kReleaseBit;
    TaskIdList ids;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto byte = static_cast<uint8_t>(scanCodes >> shift);
        if (byte != 0) ids.push_back(PostKey(byte, delayMs));
    }
    return ids;
}

void Dispatcher::LogNoFreeSlot() const {
    noSlotCount_.fetch_add(1, std::memory_order_relaxed);
    log_.Write("Cannot allocate touch slot for swipe");
}

void Dispatcher::LogNoSlotForAction(const Action* action) const {
    noSlotCount_.fetch_add(1, std::memory_order_relaxed);
    log_.Write("No touch slot for action %p", static_cast<const void*>(action));
}

}  // namespace Keyweave
