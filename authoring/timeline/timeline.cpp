#include "timeline/timeline.h"

#include <string_view>

#include "codes/key_names.h"
#include "engine/decision_text.h"

namespace Keyweave::Tool {
namespace {

constexpr uint8_t kPrefixByte = 0xE0;
constexpr uint8_t kReleaseBit = 0x80;

bool ShownWhileLoading(std::string_view line) { return line.starts_with("Loading") || line.starts_with("Cannot"); }

}  // namespace

std::vector<ContactTracker::Change> ContactTracker::Follow(const KeyweaveTouchPoint* points, uint32_t count) {
    std::vector<Change> changes;
    for (uint32_t slot = 0; slot < count && slot < known_.size(); ++slot) {
        KeyweaveTouchPoint& known = known_[slot];
        const KeyweaveTouchPoint& now = points[slot];
        const bool wasDown = known.down != 0;
        if (now.x == known.x && now.y == known.y && (now.down != 0) == wasDown) continue;
        changes.push_back({static_cast<int32_t>(slot), now, wasDown});
        known = now;
    }
    return changes;
}

HostCallbacks TimelineRecorder::Callbacks() { return CallbacksFor(*this); }

void TimelineRecorder::Add(TimelineEvent event) {
    if (!recording_) return;
    event.time = Now();
    events_.push_back(std::move(event));
}

void TimelineRecorder::NoteInput(uint32_t line, const std::string& text) {
    std::lock_guard guard(mutex_);
    TimelineEvent event;
    event.kind = TimelineEvent::Kind::kInput;
    event.line = line;
    event.text = text;
    Add(std::move(event));
}

std::vector<TimelineEvent> TimelineRecorder::Events(size_t from) const {
    std::lock_guard guard(mutex_);
    if (from >= events_.size()) return {};
    return {events_.begin() + static_cast<std::ptrdiff_t>(from), events_.end()};
}

void TimelineRecorder::OnKey(void* self, uint8_t byte) {
    auto* recorder = static_cast<TimelineRecorder*>(self);
    std::lock_guard guard(recorder->mutex_);
    TimelineEvent event;
    event.kind = TimelineEvent::Kind::kKey;
    event.byte = byte;
    event.down = (byte & kReleaseBit) == 0;
    if (byte == kPrefixByte) {
        recorder->afterPrefix_ = true;
        event.code = 0;
    } else {
        const uint32_t make = byte & static_cast<uint8_t>(~kReleaseBit);
        event.code = recorder->afterPrefix_ ? (uint32_t{kPrefixByte} << 8) | make : make;
        recorder->afterPrefix_ = false;
    }
    recorder->Add(std::move(event));
}

void TimelineRecorder::OnTouch(void* self, const KeyweaveTouchPoint* points, uint32_t count, uint32_t) {
    auto* recorder = static_cast<TimelineRecorder*>(self);
    std::lock_guard guard(recorder->mutex_);
    if (points == nullptr) return;
    for (const ContactTracker::Change& change : recorder->contacts_.Follow(points, count)) {
        TimelineEvent event;
        event.kind = TimelineEvent::Kind::kTouch;
        event.slot = change.slot;
        event.x = change.now.x;
        event.y = change.now.y;
        event.down = change.now.down != 0;
        event.wasDown = change.wasDown;
        recorder->Add(std::move(event));
    }
}

void TimelineRecorder::OnSensor(void* self, float x, float y, float z) {
    auto* recorder = static_cast<TimelineRecorder*>(self);
    std::lock_guard guard(recorder->mutex_);
    TimelineEvent event;
    event.kind = TimelineEvent::Kind::kSensor;
    event.vector[0] = x;
    event.vector[1] = y;
    event.vector[2] = z;
    recorder->Add(std::move(event));
}

void TimelineRecorder::OnSummary(void* self, const char* text) {
    auto* recorder = static_cast<TimelineRecorder*>(self);
    std::lock_guard guard(recorder->mutex_);
    TimelineEvent event;
    event.kind = TimelineEvent::Kind::kSummary;
    event.text = text != nullptr ? text : "";
    recorder->Add(std::move(event));
}

void TimelineRecorder::OnNotice(void* self, int32_t pad, int32_t what, const char* layout) {
    auto* recorder = static_cast<TimelineRecorder*>(self);
    std::lock_guard guard(recorder->mutex_);
    TimelineEvent event;
    event.kind = TimelineEvent::Kind::kNotice;
    event.pad = pad;
    event.value = what;
    event.text = layout != nullptr ? layout : "";
    recorder->Add(std::move(event));
}

void TimelineRecorder::OnPassThrough(void* self) {
    auto* recorder = static_cast<TimelineRecorder*>(self);
    std::lock_guard guard(recorder->mutex_);
    TimelineEvent event;
    event.kind = TimelineEvent::Kind::kPassThrough;
    recorder->Add(std::move(event));
}

int32_t TimelineRecorder::OnShooting(void* self, int32_t code) {
    auto* recorder = static_cast<TimelineRecorder*>(self);
    std::lock_guard guard(recorder->mutex_);
    TimelineEvent event;
    event.kind = TimelineEvent::Kind::kShooting;
    event.value = code;
    event.answer = recorder->shootingAnswer_;
    recorder->Add(std::move(event));
    return recorder->shootingAnswer_;
}

void TimelineRecorder::OnLog(void* self, const char* line) {
    auto* recorder = static_cast<TimelineRecorder*>(self);
    std::lock_guard guard(recorder->mutex_);
    if (line == nullptr) return;
    if (recorder->loading_ && !recorder->everyLogLine_ && !ShownWhileLoading(line)) return;
    TimelineEvent event;
    event.kind = TimelineEvent::Kind::kLog;
    event.text = line;
    recorder->Add(std::move(event));
}

void TimelineRecorder::OnDecision(void* self, const Decision& decision) {
    auto* recorder = static_cast<TimelineRecorder*>(self);
    char text[1024];
    DescribeDecision(decision, text, sizeof text);
    TimelineEvent event;
    event.kind = TimelineEvent::Kind::kWhy;
    event.text = text;
    event.reason = ReasonName(decision.reason);
    event.line = decision.line;
    event.slot = decision.slot;
    if (decision.line != 0 && decision.keys[0] != 0) event.keys = KeysText(decision.keys);
    std::lock_guard guard(recorder->mutex_);
    recorder->Add(std::move(event));
}

}  // namespace Keyweave::Tool
