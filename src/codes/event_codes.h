#pragma once
// The event codes that the pointer- and stick-driven sequences take.
//
// Keys and the mouse use the window-message numbers that the host reports;
// stick actions use small phase numbers of their own, each action type a
// different set. (kKeyDown and kKeyUp are the arrow keys' codes, hence the
// longer names of the key messages.)

#include <cstdint>

namespace Keyweave {

enum InputMessage : int32_t {
    kTapSwipeKeyPressed = 0,  // a tap-swipe key went down: a mouse swipe lets go
    kKeyDownMessage = 256,
    kKeyUpMessage = 257,
    kMouseMove = 512,
    kLeftButtonDown = 513,
    kLeftButtonUp = 514,
    kRightButtonDown = 516,
    kRightButtonUp = 517,
};

enum StickPhase : int32_t {
    kTapStickRelease = 0,
    kTapStickPress = 1,
    kStickMoved = 2,  // stick-move and tap-stick follow the stick
    kStickMoveRelease = 3,
    kStickMovePress = 4,
    kStickHoldRelease = 5,
    kStickHeld = 6,  // stick-hold: pressed or deflected
};

}  // namespace Keyweave
