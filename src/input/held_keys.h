#pragma once
// The key sets held right now, each with the ids of the scheduler tasks that
// its press produced (so that a combination can still cancel them).
//
// Key routing is the only writer: it records a key set at its press and
// erases it at its release. Action execution reads it for the repeat guard
// (a press of a key set that is already held is auto-repeat). A keymap load
// leaves it alone.
//
// Sets of one key, by far the most common, are kept apart in a sorted flat
// list whose storage is reserved once, and are reached by their key alone:
// a single key's press and release build no key set and allocate nothing.
//
// Threads: keys are routed from the host's input thread and from the game-pad
// threads. lock() serialises them: the router takes it once at the start of
// each key event and holds it for the whole of it (lookup, execution and the
// update of this map), so two events never interleave. Every accessor needs
// it held by the caller and takes nothing itself.

#include <cstddef>
#include <map>
#include <utility>
#include <vector>

#include "codes/task_id.h"
#include "config/config.h"
#include "platform/platform.h"

namespace Keyweave {

class HeldKeys {
public:
    HeldKeys();

    Platform::Lock& lock() const KEYWEAVE_RETURN_CAPABILITY(lock_) { return lock_; }

    // Each call taking a key looks up the set of that key alone.
    [[nodiscard]] bool Contains(const KeySet& keys) const KEYWEAVE_REQUIRES(lock_);
    [[nodiscard]] bool Contains(uint32_t key) const KEYWEAVE_REQUIRES(lock_);
    // The ids recorded for a held key set; false when it is not held.
    [[nodiscard]] bool Find(const KeySet& keys, TaskIdList& ids) const KEYWEAVE_REQUIRES(lock_);
    // Records a press, replacing an earlier entry of the same set.
    void Record(const KeySet& keys, TaskIdList ids) KEYWEAVE_REQUIRES(lock_);
    void Record(uint32_t key, TaskIdList ids) KEYWEAVE_REQUIRES(lock_);
    // Forgets a key set; nothing happens when it is not held.
    void Erase(const KeySet& keys) KEYWEAVE_REQUIRES(lock_);
    void Erase(uint32_t key) KEYWEAVE_REQUIRES(lock_);
    // The held key sets, in ascending order.
    [[nodiscard]] std::vector<KeySet> KeySets() const KEYWEAVE_REQUIRES(lock_);

private:
    using Single = std::pair<uint32_t, TaskIdList>;
    static constexpr size_t kSinglesReserved = 32;

    mutable Platform::Lock lock_;
    std::vector<Single> singles_ KEYWEAVE_GUARDED_BY(lock_);        // ascending by key
    std::map<KeySet, TaskIdList> sets_ KEYWEAVE_GUARDED_BY(lock_);  // sets of two keys or more
};

}  // namespace Keyweave
