#pragma once
// A raw report through one pad's transforms: where its hat comes from, which
// raw axes feed the sticks and triggers, which raw buttons feed which logical
// buttons. The result is the pad's normalised state in control codes.

#include "gamepad/device.h"
#include "keyweave/keyweave.h"

namespace Keyweave::GamePad {

// The host's report: six raw axes in thousandths of full deflection, the hat
// angle in degrees and the raw button bits (bit n-1 is button n).
using Report = KeyweaveGamePadReport;

// Beyond this a primary axis counts as a hat direction and a single trigger
// axis as one trigger (thousandths of full deflection: half way).
inline constexpr int32_t kAxisHalfWay = 500;

// previous := current, then the hat from the first of its sources that the
// database enabled (report hat, primary axes, buttons), the axis transforms
// in ascending source order and the button transforms in ascending raw bit
// order. Fields that no transform writes keep their values.
void ApplyTransforms(Device& device, const Report& report);

}  // namespace Keyweave::GamePad
