#pragma once
// GamePad::Runtime: the attached pads, their tick threads, and the way from a
// host's game-pad call to routed controls.
//
// Attach reads the pad's entry from the game-pad database (falling back to the
// generic entry 8380:0003), starts the pad's tick and tells the host. Update
// runs a report through the pad's transforms and routes the new state. Detach
// ends the tick, waits for it, and tells the host.
//
// Two ways to tick, chosen at construction:
//  - kThreads: each pad has a thread of its own that runs a cycle every 4 ms.
//  - kManual: there are no threads; whoever moves the manual clock calls
//    RunTickCycle every 4 ms of manual time, which runs one cycle of every
//    attached pad on the calling thread.
//
// Threads and locks. Attach, Detach and Update come from any host thread; the
// tick threads run beside them.
//  - membershipLock_ makes each Attach and Detach whole (a re-attach cannot
//    interleave with a detach of the same id). It is held while a detach waits
//    for a tick thread, which never takes it. Attach takes it once and
//    detaches an earlier pad of the same id with DetachLocked.
//  - tablesLock_ guards the two tables and is held only to look up, insert or
//    remove an entry: never while routing, calling the host, or waiting for a
//    thread. Each tick thread takes it once per cycle to see whether it is
//    still in the tick table.
//  - each pad's updateLock applies that pad's reports one at a time; it is
//    held across the routing of a report (the game-pad lock nests inside it).
//  - manualCycleLock_ (manual mode) lets one thread at a time run cycles.
//    A cycle never attaches or detaches a pad (the host's callbacks do not
//    call back), so it is never taken twice.
// In that order: membership, then a pad's update lock or the cycle lock,
// then the game-pad lock, and the tables lock innermost.
// Pads and tickers are shared pointers, so a report or a cycle that is under
// way keeps its pad or ticker alive while a detach on another thread removes
// it from the table.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/text.h"
#include "gamepad/active_configuration.h"
#include "gamepad/device.h"
#include "gamepad/host_hooks.h"
#include "gamepad/pad_router.h"
#include "gamepad/routing.h"
#include "gamepad/stick_state.h"
#include "gamepad/stick_ticker.h"
#include "gamepad/transforms.h"
#include "platform/platform.h"

namespace Keyweave::GamePad {

enum class TickMode { kThreads, kManual };

// The database entry a pad falls back to when its own ids are not found.
inline constexpr uint32_t kGenericVendor = 0x8380;
inline constexpr uint32_t kGenericProduct = 0x0003;

class Runtime {
public:
    Runtime(const Log& log, ActiveConfiguration& configuration, Routing& routing, const HostHooks& hooks,
            TickMode mode);
    // Ends every tick (each logs its stop line) and drops the pads without
    // telling the host.
    ~Runtime();

    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // KeyweaveHandleGamePadAttach. A live id is detached completely first.
    void Attach(int32_t id, uint32_t vendor, uint32_t product, const WideString& databasePath);
    // KeyweaveHandleGamePadDetach. Returns once the pad's tick has ended;
    // nothing for an id that is not attached.
    void Detach(int32_t id);
    // KeyweaveHandleGamePadUpdate.
    void Update(int32_t id, const Report* report);

    // Manual mode: one tick cycle of every attached pad, in id order. False
    // (and nothing done) when the pads tick on their own threads.
    bool RunTickCycle();

    [[nodiscard]] TickMode mode() const { return mode_; }
    [[nodiscard]] const HostHooks& hooks() const { return hooks_; }
    [[nodiscard]] bool IsAttached(int32_t id) const;
    [[nodiscard]] bool IsTicking(int32_t id) const;
    // The pad's normalised state after its latest report.
    [[nodiscard]] std::optional<PadState> StateOf(int32_t id) const;
    // The state the ticks read: that of the latest report of any pad.
    [[nodiscard]] PadState LatestState() const { return sticks_.Latest(); }

private:
    struct Pad {
        explicit Pad(Device&& prepared) : layoutName(prepared.layoutName), device(std::move(prepared)) {}
        const std::string layoutName;  // the device's, for the detach notice
        mutable Platform::Lock updateLock;
        Device device KEYWEAVE_GUARDED_BY(updateLock);
    };
    struct Tick {
        std::unique_ptr<StickTicker> ticker;
        std::unique_ptr<Platform::Thread> thread;  // null in manual mode
    };

    [[nodiscard]] std::optional<Device> PrepareDevice(int32_t id, uint32_t vendor, uint32_t product,
                                                      const WideString& databasePath);
    void DetachLocked(int32_t id) KEYWEAVE_REQUIRES(membershipLock_);
    void StartTick(int32_t id);
    // Takes the pad out of the tick table and waits until its tick has ended.
    void EndTick(int32_t id) KEYWEAVE_REQUIRES(membershipLock_);
    [[nodiscard]] bool StillTicking(const StickTicker& ticker) const;
    void ApplyReport(Device& device, const Report& report);
    void Notify(int32_t id, int32_t event, const std::string& layout) const;
    [[nodiscard]] std::shared_ptr<Pad> FindPad(int32_t id) const;

    const Log& log_;
    ActiveConfiguration& configuration_;
    Routing& routing_;
    const HostHooks hooks_;
    const TickMode mode_;
    StickState sticks_;
    PadRouter router_;

    Platform::Lock membershipLock_ KEYWEAVE_ACQUIRED_BEFORE(manualCycleLock_, tablesLock_);
    mutable Platform::Lock tablesLock_;
    std::map<int32_t, std::shared_ptr<Pad>> pads_ KEYWEAVE_GUARDED_BY(tablesLock_);
    std::map<int32_t, std::shared_ptr<Tick>> ticks_ KEYWEAVE_GUARDED_BY(tablesLock_);
    Platform::Lock manualCycleLock_ KEYWEAVE_ACQUIRED_BEFORE(tablesLock_);
};

}  // namespace Keyweave::GamePad
