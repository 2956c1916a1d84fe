#include "input/held_keys.h"

#include <mutex>
#include <utility>

namespace Keyweave {

bool HeldKeys::Contains(const KeySet& keys) const {
    std::lock_guard guard(lock_);
    return held_.contains(keys);
}

bool HeldKeys::Find(const KeySet& keys, TaskIdList& ids) const {
    std::lock_guard guard(lock_);
    const auto entry = held_.find(keys);
    if (entry == held_.end()) return false;
    ids = entry->second;
    return true;
}

void HeldKeys::Record(const KeySet& keys, TaskIdList ids) {
    std::lock_guard guard(lock_);
    held_[keys] = std::move(ids);
}

bool HeldKeys::Erase(const KeySet& keys) {
    std::lock_guard guard(lock_);
    return held_.erase(keys) != 0;
}

std::vector<KeySet> HeldKeys::KeySets() const {
    std::lock_guard guard(lock_);
    std::vector<KeySet> sets;
    sets.reserve(held_.size());
    for (const auto& entry : held_) sets.push_back(entry.first);
    return sets;
}

size_t HeldKeys::Size() const {
    std::lock_guard guard(lock_);
    return held_.size();
}

}  // namespace Keyweave
