/*
 * Keyweave: keymapping engine for hosts that show an Android guest screen.
 *
 * The host loads the library, calls KeyweaveInit once with the callbacks
 * through which the engine answers, loads a keymap with KeyweaveLoadConfig
 * whenever the guest's foreground application changes, and then feeds it
 * desktop input. Every export may be called from any host thread, but key,
 * controller, character and mouse calls must not run concurrently with each
 * other or with KeyweaveLoadConfig. Callbacks arrive on the engine's own
 * threads as well as on the calling thread.
 *
 * This header is valid C (C99 or later) and C++.
 */
#ifndef KEYWEAVE_KEYWEAVE_H
#define KEYWEAVE_KEYWEAVE_H

#include <stdint.h>
#if defined(_WIN32)
#  include <wchar.h>
#elif !defined(__cplusplus)
#  include <uchar.h>
#endif

#if defined(_WIN32)
/* Exported through a module-definition file; nothing to decorate. */
#  define KEYWEAVE_API
#elif defined(KEYWEAVE_BUILDING_LIBRARY)
#  define KEYWEAVE_API __attribute__((visibility("default")))
#else
#  define KEYWEAVE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* UTF-16 code unit of file paths: wchar_t on Windows, char16_t elsewhere. */
#if defined(_WIN32)
typedef wchar_t KeyweaveChar16;
#else
typedef char16_t KeyweaveChar16;
#endif

/* One contact of the touch frame: x and y are fractions of the guest screen
 * (0.0 left/top, 1.0 right/bottom); down is 1 while the finger touches. */
#if defined(_MSC_VER)
#  pragma pack(push, 1)
typedef struct KeyweaveTouchPoint {
    float x;
    float y;
    uint32_t down;
} KeyweaveTouchPoint;
#  pragma pack(pop)
#else
typedef struct __attribute__((packed)) KeyweaveTouchPoint {
    float x;
    float y;
    uint32_t down;
} KeyweaveTouchPoint;
#endif

/* Number of contacts in every frame the engine reports. */
#define KEYWEAVE_TOUCH_POINTS 16

/* A game-pad report: raw axes in thousandths of full deflection, the hat
 * angle in degrees (0 up, 90 right, ...; anything else is centred) and the
 * raw button bits (bit n-1 is button n). */
typedef struct KeyweaveGamePadReport {
    int32_t x, y, z;
    int32_t rx, ry, rz;
    int32_t hat;
    int32_t buttons;
} KeyweaveGamePadReport;

#ifdef __cplusplus
static_assert(sizeof(KeyweaveTouchPoint) == 12, "a touch point is 12 bytes");
static_assert(sizeof(KeyweaveGamePadReport) == 32, "a report is eight 32-bit values");
#else
_Static_assert(sizeof(KeyweaveTouchPoint) == 12, "a touch point is 12 bytes");
_Static_assert(sizeof(KeyweaveGamePadReport) == 32, "a report is eight 32-bit values");
#endif

/* Host callbacks. Each receives back the context pointer handed to
 * KeyweaveInit beside it (the log callback has none). */

/* One scan-code byte; bit 7 set for a release. */
typedef void (*KeyweaveKeyCallback)(void* context, uint8_t scanCode);
/* The touch frame: count contacts from points[0]; flag is always 0. */
typedef void (*KeyweaveTouchCallback)(void* context, const KeyweaveTouchPoint* points,
                                      uint32_t count, uint32_t flag);
/* Three acceleration components. */
typedef void (*KeyweaveSensorCallback)(void* context, float x, float y, float z);
/* The configuration summary text ("|Package=..."), once per KeyweaveLoadConfig. */
typedef void (*KeyweaveSummaryCallback)(void* context, const char* summary);
/* Game-pad notice: event 1 attached, 2 detached; layout is the pad's layout
 * name from the game-pad database, empty when it has none. */
typedef void (*KeyweaveGamePadNoticeCallback)(void* context, int32_t padId, int32_t event,
                                              const char* layout);
/* A plain mouse move that no keymap action consumed. */
typedef void (*KeyweaveMousePassThroughCallback)(void* context);
/* Shooting mode: code 1 started, 0 ended, 3 a query before a mouse event
 * drives a shooting action (the engine acts only on a non-zero answer). */
typedef int32_t (*KeyweaveShootingModeCallback)(void* context, int32_t code);
/* One log line, NUL-terminated, without a line end. Called from any thread. */
typedef void (*KeyweaveLogCallback)(const char* line);

/* Starts the engine. Call once, before anything else. Arguments 9 to 14 are
 * kept for the game-pad runtime and otherwise unused. */
KEYWEAVE_API void KeyweaveInit(KeyweaveKeyCallback keyCallback, void* keyContext,
                               KeyweaveTouchCallback touchCallback, void* touchContext,
                               KeyweaveSensorCallback sensorCallback, void* sensorContext,
                               KeyweaveSummaryCallback summaryCallback, void* summaryContext,
                               void* reserved1, void* reserved2, void* reserved3,
                               void* reserved4, void* reserved5, void* reserved6,
                               KeyweaveGamePadNoticeCallback noticeCallback, void* noticeContext,
                               KeyweaveMousePassThroughCallback passThroughCallback,
                               void* passThroughContext,
                               KeyweaveShootingModeCallback shootingCallback,
                               void* shootingContext, const KeyweaveChar16* defaultConfigPath,
                               KeyweaveLogCallback logCallback, int32_t verbose,
                               int32_t screenWidth, int32_t screenHeight);

/* Logs "Finalizing Keyweave"; the engine keeps running until the process ends. */
KEYWEAVE_API void KeyweaveFini(void);

/* Replaces the active keymap: the primary path, its wild-card form, the
 * second path, its wild-card form, the default keymap, then an empty one.
 * Always returns 0. */
KEYWEAVE_API int32_t KeyweaveLoadConfig(const KeyweaveChar16* secondPath,
                                        const KeyweaveChar16* primaryPath,
                                        const char* packageName);

/* Returns 4. */
KEYWEAVE_API int32_t GetParserVersion(void);

KEYWEAVE_API void KeyweaveSetLocale(const char* locale);
KEYWEAVE_API int32_t KeyweaveIsLocationUpdationWithKeyMapEnabled(void);
/* 1 turns key mapping on; any other value turns it off. */
KEYWEAVE_API void KeyweaveSetKeyMappingState(int32_t state);
KEYWEAVE_API void KeyweaveSetForwardRawKeys(int32_t forward);

/* keyCode: PC set-1 scan code (E0-prefixed keys carry 0xE0 in the byte above)
 * or a mouse pseudo key 256..261. pressed: non-zero for a press. */
KEYWEAVE_API void KeyweaveHandleKey(uint32_t keyCode, int32_t pressed);
KEYWEAVE_API void KeyweaveHandleController(void* ignored, uint32_t controllerCode,
                                           int32_t pressed);
KEYWEAVE_API void KeyweaveHandleCharacter(char character);
/* x, y: pointer position as fractions of the host window; message: the
 * window message (512 move, 513/514 left down/up, 516/517 right down/up). */
KEYWEAVE_API void KeyweaveUpdateMouseStatus(float x, float y, int32_t message, uint32_t param);
KEYWEAVE_API void KeyweaveHandleShakeAction(float x, float y, float z);

KEYWEAVE_API void KeyweaveHandleGamePadAttach(int32_t padId, uint32_t vendorId,
                                              uint32_t productId,
                                              const KeyweaveChar16* databasePath);
KEYWEAVE_API void KeyweaveHandleGamePadUpdate(int32_t padId, const KeyweaveGamePadReport* report);
KEYWEAVE_API void KeyweaveHandleGamePadDetach(int32_t padId);

KEYWEAVE_API void KeyweaveScrollBegin(float x, float y);
KEYWEAVE_API void KeyweaveScrollUpdate(float dx, float dy);
KEYWEAVE_API void KeyweaveScrollEnd(void);
KEYWEAVE_API void KeyweaveZoomBegin(float x, float y);
KEYWEAVE_API void KeyweaveZoomUpdate(float scale);
KEYWEAVE_API void KeyweaveZoomEnd(void);

KEYWEAVE_API void KeyweaveSetEmulatedSwipeKnobs(float length, uint32_t durationMs);
KEYWEAVE_API void KeyweaveSetEmulatedPinchKnobs(float split, float lengthIn, float lengthOut,
                                                int32_t durationMs);
/* The three emulations block the caller until the gesture has been played.
 * direction: 1 up, 2 down, 3 left, 4 right. */
KEYWEAVE_API void KeyweaveEmulateSwipe(float x, float y, int32_t direction);
KEYWEAVE_API void KeyweaveEmulateSwipeXY(float x1, float y1, float x2, float y2);
KEYWEAVE_API void KeyweaveEmulatePinch(float x, float y, int32_t in);

#ifdef __cplusplus
} /* extern "C" */

/* The wild-card form of a keymap path: the last dot-separated part of the
 * name is dropped (com.game.lite.cfg -> com.game.cfg). The string stays valid
 * until the process ends. A C++ function, exported under its decorated name. */
KEYWEAVE_API const KeyweaveChar16* WildCardConfigPath(const KeyweaveChar16* path);
#endif

#endif /* KEYWEAVE_KEYWEAVE_H */
