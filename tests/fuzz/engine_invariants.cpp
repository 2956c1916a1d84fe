#include "engine_invariants.h"

#include <map>
#include <vector>

#include "actions/mouse_actions.h"
#include "dispatch/tasks.h"

namespace Keyweave::Fuzz {

namespace {

// Where each slot was found, as a short word per place.
using Places = std::map<uint32_t, std::vector<std::string>>;

void Note(Places& places, int32_t slot, std::string place, uint32_t poolSize, std::string& problems) {
    if (slot < 0) return;
    if (static_cast<uint32_t>(slot) >= poolSize) {
        // Slots 13 to 15 belong to the mouse, nobody and the direction pad;
        // only the records that follow the mouse or the pad may hold them.
        if (place.rfind("record", 0) != 0 || static_cast<uint32_t>(slot) >= kTouchPointCount) {
            problems += "slot " + std::to_string(slot) + " outside the pool is held by " + place + "\n";
        }
        return;
    }
    places[static_cast<uint32_t>(slot)].push_back(std::move(place));
}

}  // namespace

std::string CheckSlotAccounting(Engine& engine) {
    Dispatcher& dispatcher = engine.dispatcher();
    const uint32_t poolSize = dispatcher.PoolSize();
    std::string problems;
    Places places;
    for (uint32_t slot : dispatcher.FreeSlots())
        Note(places, static_cast<int32_t>(slot), "the pool", poolSize, problems);
    for (const auto& [action, slot] : dispatcher.Bindings()) {
        Note(places, slot, "a binding of type " + std::string(ActionTypeName(action->type)), poolSize, problems);
    }
    engine.config().ForEachRecord([&](const Action& action) {
        const std::string record = "record of type " + std::string(ActionTypeName(action.type));
        Note(places, action.slot, record, poolSize, problems);
        // Shooting mode keeps two fingers of its own: the look and the fire finger.
        if (const auto* shooting = dynamic_cast<const ShootModeAction*>(&action)) {
            Note(places, shooting->lookSlot, record + " (look finger)", poolSize, problems);
            Note(places, shooting->fireSlot, record + " (fire finger)", poolSize, problems);
        }
    });
    engine.scheduler().ForEachQueued([&](const Scheduler::Task& task) {
        if (const auto* release = dynamic_cast<const Dispatcher::SlotReleaseTask*>(&task)) {
            Note(places, static_cast<int32_t>(release->slot()), "a queued release", poolSize, problems);
        }
    });
    for (uint32_t slot = 0; slot < poolSize; ++slot) {
        const auto found = places.find(slot);
        if (found == places.end()) {
            problems += "slot " + std::to_string(slot) + " is lost: not free, bound, held or queued for release\n";
        } else if (found->second.size() > 1) {
            problems += "slot " + std::to_string(slot) + " is in " + std::to_string(found->second.size()) + " places:";
            for (const std::string& place : found->second) problems += " [" + place + "]";
            problems += "\n";
        }
    }
    return problems;
}

std::string CheckFreshPool(Engine& engine) {
    Dispatcher& dispatcher = engine.dispatcher();
    std::string problems;
    const std::vector<uint32_t> free = dispatcher.FreeSlots();
    if (free.size() != dispatcher.PoolSize()) {
        problems += "after a load the pool holds " + std::to_string(free.size()) + " of " +
                    std::to_string(dispatcher.PoolSize()) + " slots\n";
    }
    const TouchFrame& frame = engine.frame();
    for (uint32_t slot = 0; slot < dispatcher.PoolSize(); ++slot) {
        if (frame[slot].down != 0) problems += "after a load entry " + std::to_string(slot) + " is down\n";
    }
    return problems;
}

std::string DrainManualQueue(Engine& engine, size_t maxTasks, Millis horizonMs) {
    Scheduler& scheduler = engine.scheduler();
    const Millis limit = scheduler.Now() + horizonMs;
    size_t ran = 0;
    Millis due = 0;
    while (scheduler.NextDueTime(due)) {
        if (ran == maxTasks || due > limit) {
            return "the queue still holds " + std::to_string(scheduler.QueuedCount()) + " tasks after " +
                   std::to_string(ran) + " ran, the next due " +
                   std::to_string(static_cast<int64_t>(due - scheduler.Now())) + " ms from now\n";
        }
        scheduler.Step();
        ++ran;
    }
    return {};
}

}  // namespace Keyweave::Fuzz
