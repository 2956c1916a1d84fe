#pragma once
// The key sets held right now, each with the ids of the scheduler tasks that
// its press produced (so that a combination can still cancel them).
//
// Key routing is the only writer: it records a key set at its press and
// erases it at its release. Action execution reads it for the repeat guard
// (a press of a key set that is already held is auto-repeat). A keymap load
// leaves it alone.
//
// Threads: keys are routed from the host's input thread and from the game-pad
// threads. lock() serialises them: the router holds it for the whole of each
// key event (lookup, execution and the update of this map), so two events
// never interleave; each accessor takes it as well, and it is recursive, so
// the reads made while an event is routed simply take it again.

#include <cstddef>
#include <map>
#include <vector>

#include "codes/task_id.h"
#include "config/config.h"
#include "platform/platform.h"

namespace Keyweave {

class HeldKeys {
public:
    Platform::RecursiveLock& lock() const { return lock_; }

    bool Contains(const KeySet& keys) const;
    // The ids recorded for a held key set; false when it is not held.
    bool Find(const KeySet& keys, TaskIdList& ids) const;
    // Records a press, replacing an earlier entry of the same set.
    void Record(const KeySet& keys, TaskIdList ids);
    // Forgets a key set; false when it was not held.
    bool Erase(const KeySet& keys);
    // The held key sets, in ascending order.
    std::vector<KeySet> KeySets() const;
    size_t Size() const;

private:
    mutable Platform::RecursiveLock lock_;
    std::map<KeySet, TaskIdList> held_;  // guarded by lock_
};

}  // namespace Keyweave
