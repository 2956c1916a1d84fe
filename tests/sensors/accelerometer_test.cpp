// The virtual accelerometer: vectors for key tilts, shakes and game-pad tilt.
#include "sensors/accelerometer.h"

#include <cmath>
#include <gtest/gtest.h>

#include "support/recording_host.h"

namespace Keyweave {
namespace {

class AccelerometerTest : public ::testing::Test {
protected:
    AccelerometerTest() { host.Attach(log); }
    Accelerometer Make() {
        HostCallbacks callbacks = host.Callbacks();
        return Accelerometer(callbacks.sensor, callbacks.sensorContext, log);
    }
    // The last vector received.
    Testing::SensorVector Last() const { return host.Sensors().back(); }

    Testing::RecordingHost host;
    Log log;
};

void ExpectVector(const Testing::SensorVector& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-4f);
    EXPECT_NEAR(v.y, y, 1e-4f);
    EXPECT_NEAR(v.z, z, 1e-4f);
}

// Key tilts that return to level, tilts that add up and a shake are the racer
// keymap's golden runs, the level start the engine's start-up test.
TEST_F(AccelerometerTest, AnAbsoluteTiltWithoutReturnStaysOnRelease) {
    Accelerometer accelerometer = Make();
    const AbsoluteTiltAction stays(30, 0, false);
    accelerometer.HandleAbsoluteTilt(stays, true);
    ExpectVector(Last(), 0.0f, 0.5f, 0.8660254f);
    accelerometer.HandleAbsoluteTilt(stays, false);
    EXPECT_EQ(host.Sensors().size(), 2u) << "a release without Return sends nothing";
    EXPECT_FLOAT_EQ(accelerometer.Pitch(), 30.0f);
}

TEST_F(AccelerometerTest, RelativeTiltAnglesAreNeverWrapped) {
    Accelerometer accelerometer = Make();
    const RelativeTiltAction nudge(10, 0);
    // 38 nudges: a full turn and 20 degrees, with 20 degrees' vector.
    for (int i = 0; i < 38; ++i) accelerometer.HandleRelativeTilt(nudge);
    ExpectVector(Last(), 0.0f, 0.3420201f, 0.9396926f);
    EXPECT_FLOAT_EQ(accelerometer.Pitch(), 380.0f);
}

TEST_F(AccelerometerTest, GamePadTiltTruncatesDegreesAndKeepsTheStoredAngles) {
    Accelerometer accelerometer = Make();
    accelerometer.RestoreTiltDefaults();
    accelerometer.GamePadTilt(0, -1000);
    ExpectVector(Last(), 0.0f, 1.0f, 0.0f);
    accelerometer.GamePadTilt(1000, 0);
    ExpectVector(Last(), 1.0f, 0.0f, 0.0f);
    accelerometer.GamePadTilt(500, -500);
    ExpectVector(Last(), 0.7071068f, 0.7071068f, 0.5f);
    accelerometer.GamePadTilt(333, -1);  // roll 29.97 -> 29, pitch 0.09 -> 0
    ExpectVector(Last(), std::sin(29.0f / 180.0f * 3.14159265f), 0.0f, std::cos(29.0f / 180.0f * 3.14159265f));
    EXPECT_EQ(accelerometer.Pitch(), 0.0f);
    EXPECT_EQ(accelerometer.Roll(), 0.0f);
}

TEST_F(AccelerometerTest, TiltParametersShapeTheStickAndDefaultsComeBack) {
    Accelerometer accelerometer = Make();
    accelerometer.GamePadTilt(1000, -1000);  // before any keymap load every parameter is 0
    ExpectVector(Last(), 0.0f, 0.0f, 1.0f);
    accelerometer.SetTiltMax(false, 30);
    accelerometer.SetTiltMax(true, 60);
    accelerometer.SetTiltZero(false, 10);
    accelerometer.SetTiltZero(true, -5);
    accelerometer.GamePadTilt(500, -500);  // pitch 15 + 10 = 25, roll 30 - 5 = 25
    const float s = std::sin(25.0f / 180.0f * 3.14159265f), c = std::cos(25.0f / 180.0f * 3.14159265f);
    ExpectVector(Last(), s, s, c * c);
    accelerometer.RestoreTiltDefaults();
    accelerometer.GamePadTilt(0, -1000);
    ExpectVector(Last(), 0.0f, 1.0f, 0.0f);
}

}  // namespace
}  // namespace Keyweave
