// The exported functions: argument conversion and one call into the engine.
//
// They drive the engine of CurrentInterface(), which KeyweaveInit starts and
// nothing stops (the scheduler and game-pad threads may still be parked inside
// it while the process unloads). The values the host passes are checked by
// the engine's entry methods. Nothing throws across this boundary: a failure
// inside the engine becomes a "Cannot" log line.

#include "api/host_interface.h"
#include "keyweave/keyweave.h"

namespace {

// Runs `body` on the engine of the interface; before KeyweaveInit it reports
// the call once and returns `early`.
template <typename Result, typename Body>
Result WithEngine(const char* what, Result early, Body&& body) noexcept {
    return Keyweave::CurrentInterface().Call(what, early, body);
}

template <typename Body>
void WithEngine(const char* what, Body&& body) noexcept {
    Keyweave::CurrentInterface().Call(what, body);
}

}  // namespace

extern "C" {

KEYWEAVE_API void KeyweaveInit(KeyweaveKeyCallback keyCallback, void* keyContext, KeyweaveTouchCallback touchCallback,
                               void* touchContext, KeyweaveSensorCallback sensorCallback, void* sensorContext,
                               KeyweaveSummaryCallback summaryCallback, void* summaryContext, void* reserved1,
                               void* reserved2, void* reserved3, void* reserved4, void* reserved5, void* reserved6,
                               KeyweaveGamePadNoticeCallback noticeCallback, void* noticeContext,
                               KeyweaveMousePassThroughCallback passThroughCallback, void* passThroughContext,
                               KeyweaveShootingModeCallback shootingCallback, void* shootingContext,
                               const KeyweaveChar16* defaultConfigPath, KeyweaveLogCallback logCallback,
                               int32_t verbose, int32_t screenWidth, int32_t screenHeight) {
    Keyweave::HostCallbacks callbacks;
    callbacks.key = keyCallback;
    callbacks.keyContext = keyContext;
    callbacks.touch = touchCallback;
    callbacks.touchContext = touchContext;
    callbacks.sensor = sensorCallback;
    callbacks.sensorContext = sensorContext;
    callbacks.summary = summaryCallback;
    callbacks.summaryContext = summaryContext;
    void* const reserved[] = {reserved1, reserved2, reserved3, reserved4, reserved5, reserved6};
    for (int i = 0; i < 6; ++i) callbacks.reserved[i] = reserved[i];
    callbacks.notice = noticeCallback;
    callbacks.noticeContext = noticeContext;
    callbacks.passThrough = passThroughCallback;
    callbacks.passThroughContext = passThroughContext;
    callbacks.shooting = shootingCallback;
    callbacks.shootingContext = shootingContext;
    callbacks.log = logCallback;
    Keyweave::CurrentInterface().Init(callbacks, defaultConfigPath, verbose, screenWidth, screenHeight);
}

KEYWEAVE_API void KeyweaveFini(void) {
    WithEngine("KeyweaveFini", [](Keyweave::Engine& engine) { engine.Finalize(); });
}

KEYWEAVE_API int32_t KeyweaveLoadConfig(const KeyweaveChar16* secondPath, const KeyweaveChar16* primaryPath,
                                        const char* packageName) {
    return WithEngine("KeyweaveLoadConfig", 0, [&](Keyweave::Engine& engine) {
        return engine.LoadConfig(secondPath, primaryPath, packageName);
    });
}

KEYWEAVE_API int32_t GetParserVersion(void) {
    return WithEngine("GetParserVersion", Keyweave::Engine::kParserVersion,
                      [](Keyweave::Engine& engine) { return engine.ParserVersion(); });
}

KEYWEAVE_API void KeyweaveSetLocale(const char* locale) {
    WithEngine("KeyweaveSetLocale", [&](Keyweave::Engine& engine) { engine.SetLocale(locale); });
}

KEYWEAVE_API int32_t KeyweaveIsLocationUpdationWithKeyMapEnabled(void) {
    return WithEngine("KeyweaveIsLocationUpdationWithKeyMapEnabled", 0,
                      [](Keyweave::Engine& engine) { return engine.IsLocationUpdationWithKeyMapEnabled(); });
}

KEYWEAVE_API void KeyweaveSetKeyMappingState(int32_t state) {
    WithEngine("KeyweaveSetKeyMappingState", [&](Keyweave::Engine& engine) { engine.SetKeyMappingState(state); });
}

KEYWEAVE_API void KeyweaveSetForwardRawKeys(int32_t forward) {
    WithEngine("KeyweaveSetForwardRawKeys", [&](Keyweave::Engine& engine) { engine.SetForwardRawKeys(forward != 0); });
}

KEYWEAVE_API void KeyweaveHandleKey(uint32_t keyCode, int32_t pressed) {
    WithEngine("KeyweaveHandleKey", [&](Keyweave::Engine& engine) { engine.HandleKey(keyCode, pressed != 0); });
}
KEYWEAVE_API void KeyweaveHandleController(void*, uint32_t controllerCode, int32_t pressed) {
    WithEngine("KeyweaveHandleController",
               [&](Keyweave::Engine& engine) { engine.HandleController(controllerCode, pressed != 0); });
}
KEYWEAVE_API void KeyweaveHandleCharacter(char character) {
    WithEngine("KeyweaveHandleCharacter", [&](Keyweave::Engine& engine) { engine.HandleCharacter(character); });
}
KEYWEAVE_API void KeyweaveUpdateMouseStatus(float x, float y, int32_t message, uint32_t parameter) {
    WithEngine("KeyweaveUpdateMouseStatus",
               [&](Keyweave::Engine& engine) { engine.UpdateMouseStatus(x, y, message, parameter); });
}

KEYWEAVE_API void KeyweaveHandleShakeAction(float x, float y, float z) {
    WithEngine("KeyweaveHandleShakeAction", [&](Keyweave::Engine& engine) { engine.HandleShake(x, y, z); });
}

KEYWEAVE_API void KeyweaveHandleGamePadAttach(int32_t padId, uint32_t vendorId, uint32_t productId,
                                              const KeyweaveChar16* databasePath) {
    WithEngine("KeyweaveHandleGamePadAttach",
               [&](Keyweave::Engine& engine) { engine.AttachGamePad(padId, vendorId, productId, databasePath); });
}
KEYWEAVE_API void KeyweaveHandleGamePadUpdate(int32_t padId, const KeyweaveGamePadReport* report) {
    WithEngine("KeyweaveHandleGamePadUpdate", [&](Keyweave::Engine& engine) { engine.UpdateGamePad(padId, report); });
}
KEYWEAVE_API void KeyweaveHandleGamePadDetach(int32_t padId) {
    WithEngine("KeyweaveHandleGamePadDetach", [&](Keyweave::Engine& engine) { engine.DetachGamePad(padId); });
}

KEYWEAVE_API void KeyweaveScrollBegin(float x, float y) {
    WithEngine("KeyweaveScrollBegin", [&](Keyweave::Engine& engine) { engine.ScrollBegin(x, y); });
}
KEYWEAVE_API void KeyweaveScrollUpdate(float dx, float dy) {
    WithEngine("KeyweaveScrollUpdate", [&](Keyweave::Engine& engine) { engine.ScrollUpdate(dx, dy); });
}
KEYWEAVE_API void KeyweaveScrollEnd(void) {
    WithEngine("KeyweaveScrollEnd", [](Keyweave::Engine& engine) { engine.ScrollEnd(); });
}
KEYWEAVE_API void KeyweaveZoomBegin(float x, float y) {
    WithEngine("KeyweaveZoomBegin", [&](Keyweave::Engine& engine) { engine.ZoomBegin(x, y); });
}
KEYWEAVE_API void KeyweaveZoomUpdate(float scale) {
    WithEngine("KeyweaveZoomUpdate", [&](Keyweave::Engine& engine) { engine.ZoomUpdate(scale); });
}
KEYWEAVE_API void KeyweaveZoomEnd(void) {
    WithEngine("KeyweaveZoomEnd", [](Keyweave::Engine& engine) { engine.ZoomEnd(); });
}

KEYWEAVE_API void KeyweaveSetEmulatedSwipeKnobs(float length, uint32_t durationMs) {
    WithEngine("KeyweaveSetEmulatedSwipeKnobs",
               [&](Keyweave::Engine& engine) { engine.SetEmulatedSwipeKnobs(length, durationMs); });
}
KEYWEAVE_API void KeyweaveSetEmulatedPinchKnobs(float split, float lengthIn, float lengthOut, int32_t durationMs) {
    WithEngine("KeyweaveSetEmulatedPinchKnobs",
               [&](Keyweave::Engine& engine) { engine.SetEmulatedPinchKnobs(split, lengthIn, lengthOut, durationMs); });
}
KEYWEAVE_API void KeyweaveEmulateSwipe(float x, float y, int32_t direction) {
    WithEngine("KeyweaveEmulateSwipe", [&](Keyweave::Engine& engine) { engine.EmulateSwipe(x, y, direction); });
}
KEYWEAVE_API void KeyweaveEmulateSwipeXY(float x1, float y1, float x2, float y2) {
    WithEngine("KeyweaveEmulateSwipeXY", [&](Keyweave::Engine& engine) { engine.EmulateSwipeXY(x1, y1, x2, y2); });
}
KEYWEAVE_API void KeyweaveEmulatePinch(float x, float y, int32_t in) {
    WithEngine("KeyweaveEmulatePinch", [&](Keyweave::Engine& engine) { engine.EmulatePinch(x, y, in); });
}

KEYWEAVE_API void KeyweaveSetDecisionObserver(KeyweaveDecisionCallback callback, void* context) {
    WithEngine("KeyweaveSetDecisionObserver",
               [&](Keyweave::Engine& engine) { engine.SetHostDecisionObserver(callback, context); });
}

}  // extern "C"

KEYWEAVE_API const KeyweaveChar16* WildCardConfigPath(const KeyweaveChar16* path) {
    return WithEngine("WildCardConfigPath", path,
                      [&](Keyweave::Engine& engine) { return engine.WildCardConfigPath(path); });
}
