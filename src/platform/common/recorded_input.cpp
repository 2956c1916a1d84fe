// Key and button state as the engine's own exports reported it.
#include <algorithm>
#include <vector>

#include "platform/platform.h"

namespace Keyweave::Platform {
namespace {

class RecordedInputState final : public InputState {
public:
    // Room for the keys of a full hand and more, so that noting a key
    // allocates nothing.
    RecordedInputState() { down_.reserve(32); }

    bool IsKeyDown(uint32_t keyCode) const override {
        LockGuard guard(lock_);
        return std::binary_search(down_.begin(), down_.end(), keyCode);
    }

    bool IsLeftButtonDown() const override {
        LockGuard guard(lock_);
        return leftButton_;
    }

    void NoteKey(uint32_t keyCode, bool down) override {
        LockGuard guard(lock_);
        auto it = std::lower_bound(down_.begin(), down_.end(), keyCode);
        bool present = it != down_.end() && *it == keyCode;
        if (down && !present) down_.insert(it, keyCode);
        if (!down && present) down_.erase(it);
    }

    void NoteLeftButton(bool down) override {
        LockGuard guard(lock_);
        leftButton_ = down;
    }

    void RecenterCursor() override {}  // there is no system pointer to move

private:
    mutable Lock lock_;
    std::vector<uint32_t> down_ KEYWEAVE_GUARDED_BY(lock_);  // sorted
    bool leftButton_ KEYWEAVE_GUARDED_BY(lock_) = false;
};

}  // namespace

std::unique_ptr<InputState> CreateRecordedInputState() { return std::make_unique<RecordedInputState>(); }

}  // namespace Keyweave::Platform
