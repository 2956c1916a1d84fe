#include "input/held_keys.h"

#include <algorithm>

namespace Keyweave {

namespace {

// Where `key`'s entry is or would go in the sorted list of single keys.
template <typename Singles>
auto Locate(Singles& singles, uint32_t key) {
    return std::lower_bound(singles.begin(), singles.end(), key,
                            [](const auto& entry, uint32_t wanted) { return entry.first < wanted; });
}

template <typename Singles, typename Iterator>
bool Found(const Singles& singles, Iterator at, uint32_t key) {
    return at != singles.end() && at->first == key;
}

}  // namespace

HeldKeys::HeldKeys() { singles_.reserve(kSinglesReserved); }

bool HeldKeys::Contains(const KeySet& keys) const {
    if (keys.size() == 1) return Contains(*keys.begin());
    return sets_.contains(keys);
}

bool HeldKeys::Contains(uint32_t key) const { return Found(singles_, Locate(singles_, key), key); }

bool HeldKeys::Find(const KeySet& keys, TaskIdList& ids) const {
    if (keys.size() == 1) {
        const uint32_t key = *keys.begin();
        const auto at = Locate(singles_, key);
        if (!Found(singles_, at, key)) return false;
        ids = at->second;
        return true;
    }
    const auto entry = sets_.find(keys);
    if (entry == sets_.end()) return false;
    ids = entry->second;
    return true;
}

void HeldKeys::Record(const KeySet& keys, TaskIdList ids) {
    if (keys.size() == 1) return Record(*keys.begin(), std::move(ids));
    sets_[keys] = std::move(ids);
}

void HeldKeys::Record(uint32_t key, TaskIdList ids) {
    const auto at = Locate(singles_, key);
    if (Found(singles_, at, key)) {
        at->second = std::move(ids);
    } else {
        singles_.emplace(at, key, std::move(ids));
    }
}

void HeldKeys::Erase(const KeySet& keys) {
    if (keys.size() == 1) {
        Erase(*keys.begin());
    } else {
        sets_.erase(keys);
    }
}

void HeldKeys::Erase(uint32_t key) {
    const auto at = Locate(singles_, key);
    if (Found(singles_, at, key)) singles_.erase(at);
}

std::vector<KeySet> HeldKeys::KeySets() const {
    std::vector<KeySet> sets;
    sets.reserve(singles_.size() + sets_.size());
    for (const auto& entry : singles_) sets.push_back(KeySet{entry.first});
    for (const auto& entry : sets_) sets.push_back(entry.first);
    std::sort(sets.begin(), sets.end());
    return sets;
}

}  // namespace Keyweave
