#pragma once
// What must hold of an engine between host calls, whatever the host did:
// no touch slot is lost or handed out twice, a reload gives every slot back
// lifted, and the scheduler's queue empties once time has moved far enough.
// Shared by the engine fuzzer (manual clock, checked after every operation)
// and the stress test (real threads, checked once they have all stopped).
//
// Each check returns its findings, one line each; empty when all held. Call
// them on the host's input thread, with no other host call under way.

#include <string>

#include "engine/engine.h"

namespace Keyweave::Fuzz {

// Every pool slot is in exactly one place: the free pool, the dispatcher's
// slot bindings, a slot field of one record of the active keymap (a shooting
// record has two more), or a slot release still queued on the scheduler.
std::string CheckSlotAccounting(Engine& engine);

// Right after a keymap load (and the tasks due then): the pool holds every
// slot and frame entries of the pool slots are all up.
std::string CheckFreshPool(Engine& engine);

// Manual clock: runs the queue forward, task by task, until it is empty.
// A queue that is still busy after `maxTasks` tasks or `horizonMs` of
// manual time keeps itself alive, and is reported.
std::string DrainManualQueue(Engine& engine, size_t maxTasks, Millis horizonMs);

}  // namespace Keyweave::Fuzz
