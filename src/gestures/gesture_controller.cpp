#include "gestures/gesture_controller.h"

#include <cmath>

namespace Keyweave {

namespace {
// Half the distance between the two zoom fingers when they go down, as a
// fraction of the screen width.
constexpr double kZoomHalfSpread = 0.2;

constexpr TouchPoint kLifted{0.0f, 0.0f, 0};
}  // namespace

GestureController::GestureController(TouchPoint* points, uint32_t count, Platform::Lock& frameLock,
                                     KeyweaveTouchCallback touch, void* touchContext, const Log& log)
    : points_(points), count_(count), frameLock_(frameLock), touch_(touch), touchContext_(touchContext), log_(log) {}

void GestureController::Write(const TouchPoint* entries, uint32_t contacts) {
    Platform::LockGuard guard(frameLock_);
    for (uint32_t i = 0; i < contacts; ++i) points_[i] = entries[i];
}

void GestureController::Report(uint32_t contacts) const {
    if (touch_ != nullptr) touch_(touchContext_, points_, contacts, 0);
}

bool GestureController::ScrollBegin(float x, float y) {
    if (gesture_ != Gesture::None) {
        log_.Write("Cannot begin scroll with current gesture = %d", GestureNumber());
        return false;
    }
    const TouchPoint finger{x, y, 1};
    Write(&finger, 1);
    Report(1);
    gesture_ = Gesture::Scroll;
    return true;
}

bool GestureController::ScrollUpdate(float dx, float dy) {
    if (gesture_ != Gesture::Scroll) {
        log_.Write("Cannot update scroll with current gesture = %d", GestureNumber());
        return false;
    }
    bool moved = false;
    {
        Platform::LockGuard guard(frameLock_);
        const float x = points_[0].x + dx;
        const float y = points_[0].y + dy;
        moved = std::isfinite(x) && std::isfinite(y);
        if (moved) points_[0] = {x, y, points_[0].down};
    }
    if (!moved) {
        log_.Write("Cannot update scroll: moving by %g, %g takes the finger beyond the numbers a float holds", dx, dy);
        return false;
    }
    Report(1);
    return true;
}

bool GestureController::ScrollEnd() {
    if (gesture_ != Gesture::Scroll) {
        log_.Write("Cannot end scroll with current gesture = %d", GestureNumber());
        return false;
    }
    Write(&kLifted, 1);
    Report(1);
    gesture_ = Gesture::None;
    return true;
}

bool GestureController::ZoomBegin(float x, float y) {
    if (gesture_ != Gesture::None) {
        log_.Write("Cannot begin zoom with current gesture = %d", GestureNumber());
        return false;
    }
    const TouchPoint fingers[] = {{static_cast<float>(x + kZoomHalfSpread), y, 1},
                                  {static_cast<float>(x - kZoomHalfSpread), y, 1}};
    Write(fingers, 2);
    Report(2);
    gesture_ = Gesture::Zoom;
    return true;
}

bool GestureController::ZoomUpdate(float scale) {
    if (gesture_ != Gesture::Zoom) {
        log_.Write("Cannot update zoom with current gesture = %d", GestureNumber());
        return false;
    }
    // The spread is measured without sign: once a negative scale has crossed
    // the fingers, the next update moves each finger the other way.
    bool moved = false;
    {
        Platform::LockGuard guard(frameLock_);
        const float distance = std::fabs(points_[0].x - points_[1].x);
        const double shift = (distance * scale - distance) * 0.5;  // per finger
        const auto first = static_cast<float>(points_[0].x + shift);
        const auto second = static_cast<float>(points_[1].x - shift);
        moved = std::isfinite(first) && std::isfinite(second);
        if (moved) {
            points_[0].x = first;
            points_[1].x = second;
        }
    }
    if (!moved) {
        log_.Write("Cannot update zoom: scale %g takes the fingers beyond the numbers a float holds", scale);
        return false;
    }
    Report(2);
    return true;
}

bool GestureController::ZoomEnd() {
    if (gesture_ != Gesture::Zoom) {
        log_.Write("Cannot end zoom with current gesture = %d", GestureNumber());
        return false;
    }
    const TouchPoint lifted[] = {kLifted, kLifted};
    Write(lifted, 2);
    Report(2);
    gesture_ = Gesture::None;
    return true;
}

}  // namespace Keyweave
