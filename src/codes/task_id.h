#pragma once
// Scheduler task identifiers, returned by every sequence and kept to cancel or
// await it.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace Keyweave {

using TaskId = uint32_t;

// The ids of one sequence, in posting order. Most sequences post a few tasks
// (a tap posts one): up to kInline ids are kept in the list itself, so making,
// copying and appending to a short list allocates nothing. A longer list keeps
// all its ids on the heap.
class TaskIdList {
public:
    static constexpr size_t kInline = 8;
    using value_type = TaskId;
    using const_iterator = const TaskId*;
    using iterator = const_iterator;

    TaskIdList() = default;
    TaskIdList(std::initializer_list<TaskId> ids) : TaskIdList(ids.begin(), ids.end()) {}
    template <typename Iterator>
    TaskIdList(Iterator first, Iterator last) {
        for (; first != last; ++first) push_back(*first);
    }
    TaskIdList(const TaskIdList&) = default;
    TaskIdList& operator=(const TaskIdList&) = default;
    TaskIdList(TaskIdList&& other) noexcept
        : count_(other.count_), inline_(other.inline_), heap_(std::move(other.heap_)) {
        other.clear();
    }
    TaskIdList& operator=(TaskIdList&& other) noexcept {
        count_ = other.count_;
        inline_ = other.inline_;
        heap_ = std::move(other.heap_);
        other.clear();
        return *this;
    }

    void push_back(TaskId id) {
        if (heap_.empty() && count_ < kInline) {
            inline_[count_++] = id;
            return;
        }
        if (heap_.empty()) heap_.assign(inline_.begin(), inline_.end());
        heap_.push_back(id);
    }
    void append(const TaskIdList& more) {
        for (const TaskId id : more) push_back(id);
    }
    void clear() {
        count_ = 0;
        heap_.clear();
    }

    [[nodiscard]] size_t size() const { return heap_.empty() ? count_ : heap_.size(); }
    [[nodiscard]] bool empty() const { return size() == 0; }
    [[nodiscard]] const TaskId* begin() const { return heap_.empty() ? inline_.data() : heap_.data(); }
    [[nodiscard]] const TaskId* end() const { return begin() + size(); }
    TaskId front() const { return *begin(); }
    TaskId back() const { return end()[-1]; }
    TaskId operator[](size_t index) const { return begin()[index]; }

    friend bool operator==(const TaskIdList& a, const TaskIdList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    size_t count_ = 0;  // ids in inline_ while heap_ is empty
    std::array<TaskId, kInline> inline_{};
    std::vector<TaskId> heap_;  // every id, once there are more than kInline
};

}  // namespace Keyweave
