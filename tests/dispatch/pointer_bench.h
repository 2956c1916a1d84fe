#pragma once
// The sequence bench with the helpers that pointer and stick tests share:
// times are milliseconds after the bench's start, rows come from the frames
// the host received.

#include <vector>

#include "support/sequence_bench.h"
#include "support/timeline.h"

namespace Keyweave::Testing {

struct PointerBench : SequenceBench {
    Dispatcher& d() { return *dispatcher; }
    // Runs everything due up to `ms` after the start.
    void RunTo(Millis ms) { scheduler.AdvanceTo(kStart + ms); }
    void Mouse(float x, float y) { dispatcher->SetMousePosition(x, y); }
    std::vector<ContactRow> Rows() const { return ChangedContacts(host.Frames(), kStart); }
    bool SlotIsFree(uint32_t slot) const {
        for (uint32_t free : dispatcher->FreeSlots()) {
            if (free == slot) return true;
        }
        return false;
    }
    // Takes every pool slot but `spare` of them.
    void FillPool(uint32_t spare = 0) {
        while (dispatcher->FreeSlots().size() > spare) dispatcher->AcquireSlot();
    }
};

}  // namespace Keyweave::Testing
