#pragma once
// Storage for the small tasks that key events post: a fixed number of blocks,
// allocated once with their scheduler and handed out again and again, so that
// posting such a task allocates nothing. When every block is in use the
// scheduler makes the task on the heap instead.
//
// Threads: Take and Give may be called from any thread; lock_ guards the free
// list only and is taken last (the scheduler may hold its queue lock while a
// task is given back).

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/platform.h"

namespace Keyweave {

class TaskBlocks {
public:
    static constexpr size_t kBlockBytes = 128;
    static constexpr size_t kBlockCount = 256;
    static constexpr size_t kAlignment = alignof(std::max_align_t);

    TaskBlocks() : blocks_(std::make_unique<Block[]>(kBlockCount)) {
        free_.reserve(kBlockCount);
        for (size_t i = kBlockCount; i > 0; --i) free_.push_back(&blocks_[i - 1]);
    }
    TaskBlocks(const TaskBlocks&) = delete;
    TaskBlocks& operator=(const TaskBlocks&) = delete;

    // A free block of kBlockBytes, or null when all are in use.
    [[nodiscard]] void* Take() {
        Platform::LockGuard guard(lock_);
        if (free_.empty()) return nullptr;
        Block* block = free_.back();
        free_.pop_back();
        return block;
    }
    // Puts back a block that Take handed out; whatever was made in it must
    // have been destroyed.
    void Give(void* block) {
        Platform::LockGuard guard(lock_);
        free_.push_back(static_cast<Block*>(block));
    }

private:
    struct alignas(kAlignment) Block {
        std::byte bytes[kBlockBytes];
    };
    const std::unique_ptr<Block[]> blocks_;
    Platform::Lock lock_;
    std::vector<Block*> free_ KEYWEAVE_GUARDED_BY(lock_);  // never grows past kBlockCount
};

}  // namespace Keyweave
