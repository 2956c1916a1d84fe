#include "gamepad/runtime.h"

#include <utility>

#include "gamepad/database_reader.h"

namespace Keyweave::GamePad {

Runtime::Runtime(const Log& log, ActiveConfiguration& configuration, Routing& routing, const HostHooks& hooks,
                 TickMode mode)
    : log_(log),
      configuration_(configuration),
      routing_(routing),
      hooks_(hooks),
      mode_(mode),
      router_(configuration, routing, sticks_) {}

Runtime::~Runtime() {
    Platform::LockGuard membership(membershipLock_);
    std::vector<int32_t> ids;
    {
        Platform::LockGuard tables(tablesLock_);
        for (const auto& [id, tick] : ticks_) ids.push_back(id);
    }
    for (int32_t id : ids) EndTick(id);
}

std::shared_ptr<Runtime::Pad> Runtime::FindPad(int32_t id) const {
    Platform::LockGuard tables(tablesLock_);
    auto it = pads_.find(id);
    return it == pads_.end() ? nullptr : it->second;
}

bool Runtime::IsAttached(int32_t id) const { return FindPad(id) != nullptr; }

bool Runtime::IsTicking(int32_t id) const {
    Platform::LockGuard tables(tablesLock_);
    return ticks_.count(id) != 0;
}

std::optional<PadState> Runtime::StateOf(int32_t id) const {
    const std::shared_ptr<Pad> pad = FindPad(id);
    if (pad == nullptr) return std::nullopt;
    Platform::LockGuard update(pad->updateLock);
    return pad->device.current;
}

bool Runtime::StillTicking(const StickTicker& ticker) const {
    Platform::LockGuard tables(tablesLock_);
    auto it = ticks_.find(ticker.id());
    return it != ticks_.end() && it->second->ticker.get() == &ticker;
}

void Runtime::Notify(int32_t id, int32_t event, const std::string& layout) const {
    if (hooks_.notice != nullptr) hooks_.notice(hooks_.noticeContext, id, event, layout.c_str());
}

std::optional<Device> Runtime::PrepareDevice(int32_t id, uint32_t vendor, uint32_t product,
                                             const WideString& databasePath) {
    // A new device starts the shared stick state from rest.
    sticks_.Clear();
    Device device(id, vendor, product, databasePath);
    if (!Prepare(device, log_)) return std::nullopt;
    return device;
}

void Runtime::StartTick(int32_t id) {
    auto tick = std::make_shared<Tick>();
    tick->ticker = std::make_unique<StickTicker>(id, sticks_, configuration_, routing_, log_,
                                                 [this](const StickTicker& ticker) { return StillTicking(ticker); });
    if (mode_ == TickMode::kThreads) tick->thread = std::make_unique<Platform::Thread>();
    {
        // In the table before the thread runs, so its first cycle finds it.
        Platform::LockGuard tables(tablesLock_);
        ticks_[id] = tick;
    }
    if (mode_ == TickMode::kManual) {
        tick->ticker->Begin();
        return;
    }
    const int error = tick->thread->Start(&KeyweaveGamePadStickTick, tick->ticker.get());
    if (error != 0) {
        // The pad still routes its reports; its sticks are not ticked.
        log_.Write("Cannot start the stick tick thread of GamePad ID %d: error %d", id, error);
    }
}

void Runtime::EndTick(int32_t id) {
    std::shared_ptr<Tick> tick;
    {
        Platform::LockGuard tables(tablesLock_);
        auto it = ticks_.find(id);
        if (it == ticks_.end()) return;
        tick = std::move(it->second);
        ticks_.erase(it);
    }
    if (tick->thread != nullptr) {
        // Its next cycle finds it gone and ends the thread.
        tick->thread->Join();
    } else {
        // No thread: run the cycle that would have ended it.
        Platform::LockGuard cycles(manualCycleLock_);
        tick->ticker->Cycle();
    }
}

void Runtime::Attach(int32_t id, uint32_t vendor, uint32_t product, const WideString& databasePath) {
    Platform::LockGuard membership(membershipLock_);
    DetachLocked(id);
    log_.Write("Attaching GamePad ID %d, vendor %04x, product %04x", id, vendor, product);
    std::optional<Device> device = PrepareDevice(id, vendor, product, databasePath);
    if (!device) {
        log_.Write("Cannot attach GamePad");
        device = PrepareDevice(id, kGenericVendor, kGenericProduct, databasePath);
        if (!device) {
            log_.Write("Cannot attach GamePad");
            return;
        }
    }
    StartTick(id);
    const std::string layout = device->layoutName;
    {
        Platform::LockGuard tables(tablesLock_);
        pads_[id] = std::make_shared<Pad>(std::move(*device));
    }
    Notify(id, kNoticeAttached, layout);
}

void Runtime::Detach(int32_t id) {
    Platform::LockGuard membership(membershipLock_);
    DetachLocked(id);
}

void Runtime::DetachLocked(int32_t id) {
    EndTick(id);
    const std::shared_ptr<Pad> pad = FindPad(id);
    if (pad == nullptr) return;
    log_.Write("Detaching GamePad ID %d", id);
    Notify(id, kNoticeDetached, pad->layoutName);
    Platform::LockGuard tables(tablesLock_);
    pads_.erase(id);
}

void Runtime::Update(int32_t id, const Report* report) {
    if (report == nullptr) {
        log_.Write("Cannot update GamePad ID %d: no report", id);
        return;
    }
    log_.Detail("%d -> X = %d, Y = %d, Z = %d, Rx = %d, Ry = %d, Rz = %d, H = %d, B = %08x", id, report->x, report->y,
                report->z, report->rx, report->ry, report->rz, report->hat, static_cast<uint32_t>(report->buttons));
    const std::shared_ptr<Pad> pad = FindPad(id);
    if (pad == nullptr) {
        log_.Write("Cannot update GamePad ID %d: GamePad not found", id);
        return;
    }
    Platform::LockGuard update(pad->updateLock);
    ApplyReport(pad->device, *report);
}

void Runtime::ApplyReport(Device& device, const Report& report) {
    ApplyTransforms(device, report);
    const PadState& state = device.current;
    log_.Detail("%d -> L = %d,%d, R = %d,%d, H = %d,%d, B = %08x", device.id, state.leftX, state.leftY, state.rightX,
                state.rightY, state.hatX, state.hatY, static_cast<uint32_t>(state.buttons));
    router_.RoutePadState(device);
}

bool Runtime::RunTickCycle() {
    if (mode_ != TickMode::kManual) return false;
    Platform::LockGuard cycles(manualCycleLock_);
    std::vector<std::shared_ptr<Tick>> ticks;
    {
        Platform::LockGuard tables(tablesLock_);
        for (const auto& [id, tick] : ticks_) ticks.push_back(tick);
    }
    for (const auto& tick : ticks) tick->ticker->Cycle();
    return true;
}

}  // namespace Keyweave::GamePad
