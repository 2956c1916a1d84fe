/*
 * Keyweave: the types of the host interface and the host callbacks.
 *
 * Included by keyweave/keyweave.h; valid C (C99 or later) and C++.
 *
 * About every callback:
 *  - KeyweaveInit takes each callback with a context pointer, which comes
 *    back unchanged as the callback's first argument (the log callback has
 *    none). Any callback may be null: the engine then drops what it would
 *    have passed (a null shooting-mode callback answers every query "yes").
 *  - Callbacks arrive on the engine's threads as well as on the thread that
 *    made a call, and different callbacks, or the same one, may run at the
 *    same time on different threads. Each one's comment says where it comes
 *    from; make them thread-safe.
 *  - A callback must return quickly and must not call any Keyweave function:
 *    some run while the engine holds a lock or on the thread that plays every
 *    touch. Hand such work to a thread of your own.
 *  - Pointer arguments are valid only until the callback returns; copy what
 *    you keep.
 */
#ifndef KEYWEAVE_KEYWEAVE_TYPES_H
#define KEYWEAVE_KEYWEAVE_TYPES_H

#include <stdint.h>
#if defined(_WIN32)
#include <wchar.h>
#elif !defined(__cplusplus)
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* UTF-16 code unit of file paths: wchar_t on Windows, char16_t elsewhere.
 * KEYWEAVE_PATH_LITERAL("keymaps/a.cfg") makes a literal of it (C11 or
 * C++11); KeyweavePathFromUtf8 (keyweave/keyweave_utf8.h) converts a
 * UTF-8 path at run time. */
#if defined(_WIN32)
typedef wchar_t KeyweaveChar16;
#define KEYWEAVE_PATH_LITERAL(text) L"" text
#else
typedef char16_t KeyweaveChar16;
#define KEYWEAVE_PATH_LITERAL(text) u"" text
#endif

/* One contact of the touch frame.
 *   x, y  the position as fractions of the guest screen: 0.0 is the left or
 *         top edge, 1.0 the right or bottom edge.
 *   down  1 while the finger touches, 0 when it does not.
 * The x and y of a contact that is up are only where the engine put it
 * last: some actions lift a finger at another point than where it touched
 * (mouse-look's fire finger at the look finger's resting point, a stick's
 * finger at 0, 0), and the first mouse event moves the mouse's slot 13 while
 * it is up. A host that injects touches lifts a finger where it last sent
 * it down, and sends nothing for a contact that is up in both frames.
 * Packed: 12 bytes, as the engine writes it. */
#if defined(_MSC_VER)
#pragma pack(push, 1)
typedef struct KeyweaveTouchPoint {
    float x;
    float y;
    uint32_t down;
} KeyweaveTouchPoint;
#pragma pack(pop)
#else
typedef struct __attribute__((packed)) KeyweaveTouchPoint {
    float x;
    float y;
    uint32_t down;
} KeyweaveTouchPoint;
#endif

/* One report of a game pad's raw state (KeyweaveHandleGamePadUpdate). The
 * game-pad database entry of the pad says which raw axis is which stick and
 * which raw button is which control.
 *   x, y, z, rx, ry, rz  raw axes in thousandths of full deflection,
 *                        KEYWEAVE_PAD_AXIS_MIN to KEYWEAVE_PAD_AXIS_MAX
 *                        (-1000 to 1000; up and left negative; 0 at rest).
 *   hat      the hat's angle in degrees, a KEYWEAVE_PAD_HAT_* value; any
 *            other value is centred.
 *   buttons  raw button bits: raw button n is bit n-1 (1 << (n - 1)). */
typedef struct KeyweaveGamePadReport {
    int32_t x, y, z;
    int32_t rx, ry, rz;
    int32_t hat;
    int32_t buttons;
} KeyweaveGamePadReport;

#if defined(__cplusplus)
static_assert(sizeof(KeyweaveTouchPoint) == 12, "a touch point is 12 bytes");
static_assert(sizeof(KeyweaveGamePadReport) == 32, "a report is eight 32-bit values");
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
_Static_assert(sizeof(KeyweaveTouchPoint) == 12, "a touch point is 12 bytes");
_Static_assert(sizeof(KeyweaveGamePadReport) == 32, "a report is eight 32-bit values");
#else
/* C99: an array of negative size if a size is wrong. */
typedef char KeyweaveTouchPointIs12Bytes[sizeof(KeyweaveTouchPoint) == 12 ? 1 : -1];
typedef char KeyweaveGamePadReportIs32Bytes[sizeof(KeyweaveGamePadReport) == 32 ? 1 : -1];
#endif

/* Key callback: one scan-code byte for the guest's keyboard, bit 7
 * (KEYWEAVE_SCAN_CODE_RELEASE) set for a release; an E0 key comes as two
 * calls, 0xE0 and then its code, whose bit 7 says press or release (0xE0
 * itself is a prefix, never a release: the up arrow is 0xE0 0x48 down and
 * 0xE0 0xC8 up). Sent by key actions, by keys forwarded
 * unmapped, and by KeyweaveHandleCharacter. Thread: the scheduler thread, in
 * time order (bytes due at the same time in the order they were queued). */
typedef void (*KeyweaveKeyCallback)(void* context, uint8_t scanCode);

/* Touch callback: the touch frame changed.
 *   points  count contacts; points[slot] is the finger of that slot.
 *   count   KEYWEAVE_TOUCH_POINTS (16) for frames of keymap actions and
 *           emulated gestures; 1 or 2 for scroll and zoom gestures, whose
 *           contacts are slots 0 and 1.
 *   flag    always 0.
 * Threads: the scheduler thread for timed touches (taps, swipes, sticks,
 * mouse-look, emulated gestures); the calling thread for scroll and zoom,
 * and for the all-up frame of KeyweaveInit and of each KeyweaveLoadConfig.
 * Calls from two threads may overlap. */
typedef void (*KeyweaveTouchCallback)(void* context, const KeyweaveTouchPoint* points, uint32_t count, uint32_t flag);

/* Sensor callback: three acceleration components for the guest's
 * accelerometer, in the guest's units; 0, 0, 1 is a device lying level.
 * Sent for tilt actions, KeyweaveHandleShakeAction, the level reset of
 * KeyweaveInit and each KeyweaveLoadConfig, and game-pad tilt. Thread: the
 * thread of the call that caused it (for game-pad tilt, the thread of
 * KeyweaveHandleGamePadUpdate). */
typedef void (*KeyweaveSensorCallback)(void* context, float x, float y, float z);

/* Summary callback: once at the end of every KeyweaveLoadConfig, on its
 * thread, whatever was loaded. The text is one line describing the keymap's
 * on-screen controller: "<mode>|Package=<package>", then "|A=label" for each
 * labelled controller button, "|Area1=(x,y,w,h) label", "|Area2=...",
 * "|Tilt=text" and "|SwipeTap=text" when the keymap has them. A keymap
 * without an [opensensor] section gives "Default|Package=<package>". */
typedef void (*KeyweaveSummaryCallback)(void* context, const char* summary);

/* Game-pad notice callback.
 *   padId   the host's id of the pad.
 *   event   KEYWEAVE_PAD_ATTACHED or KEYWEAVE_PAD_DETACHED.
 *   layout  the Layout name of the pad's game-pad database entry, "" when
 *           the entry names none; never null.
 * Thread: the thread of KeyweaveHandleGamePadAttach or ...Detach. */
typedef void (*KeyweaveGamePadNoticeCallback)(void* context, int32_t padId, int32_t event, const char* layout);

/* Mouse pass-through callback: a KEYWEAVE_MOUSE_MOVE that the keymap did
 * not use while neither mouse button was held: the host may move its own
 * pointer. Thread: the thread of KeyweaveUpdateMouseStatus. */
typedef void (*KeyweaveMousePassThroughCallback)(void* context);

/* Shooting-mode callback.
 *   code  KEYWEAVE_SHOOTING_STARTED when a keymap key turns shooting mode
 *         on (a host usually hides and captures its pointer then),
 *         KEYWEAVE_SHOOTING_ENDED when it goes off (also when
 *         KeyweaveLoadConfig replaces a keymap in shooting mode), and
 *         KEYWEAVE_SHOOTING_QUERY before a mouse event drives a mouse-look
 *         or shooting action.
 * Returns: for a query, non-zero to let the event aim or shoot, 0 to drop
 * it; ignored for the other codes. Thread: the thread of the call that
 * caused it (a key, controller, mouse, game-pad update or load). A query runs while the engine holds the lock of
 * the keymap's active actions: answer at once. */
typedef int32_t (*KeyweaveShootingModeCallback)(void* context, int32_t code);

/* One decision of the engine about one input: what it did with it and why
 * (KeyweaveSetDecisionObserver). Every pointer is valid during the callback
 * only. Later versions add fields at the end only; `size` says how many
 * bytes this engine fills. */
typedef struct KeyweaveDecision {
    uint32_t size;          /* sizeof(KeyweaveDecision) in the engine */
    int32_t input;          /* KEYWEAVE_INPUT_* */
    int32_t reason;         /* KEYWEAVE_DECISION_* */
    const char* reasonName; /* the reason's stable name: "no-rule" */
    const char* text;       /* the decision as one line for people: "R down: no rule in [keys]: ..." */
    uint32_t code;          /* key code, controller key, character, mouse message or game-pad control */
    int32_t pressed;        /* 1 press, 0 release, -1 neither */
    float x, y, z;          /* mouse position (fractions), shake vector */
    uint32_t keys[2];       /* the rule's key set; keys[1] is 0 for one key */
    uint32_t section;       /* the rule's section: 2 [keys], 5 [gamepad2]; 0 no rule */
    uint32_t line;          /* the rule's line in the keymap, from 1; 0 no rule */
    uint32_t actionType;    /* the action's type tag (2 Tap, 3 Swipe, 14 TapSwipe, ...); 0 none */
    int32_t slot;           /* the touch slot it played on; -1 none */
    int32_t delayMs;        /* KEYWEAVE_DECISION_HELD_BACK: how long the key waits */
    const char* file;       /* KEYWEAVE_DECISION_KEYMAP_LOADED, _DEFAULT_KEYMAP: the keymap's path, UTF-8; else NULL */
} KeyweaveDecision;

/* Decision callback: see KeyweaveSetDecisionObserver. */
typedef void (*KeyweaveDecisionCallback)(void* context, const KeyweaveDecision* decision);

/* Log callback: one line of the engine's log, NUL-terminated, without a
 * line end, at most 1023 bytes. Lines that start with "Cannot" say that
 * something could not be done (a keymap line, a file, a call's argument).
 * Threads: every thread, the host's included, often at the same time. */
typedef void (*KeyweaveLogCallback)(const char* line);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* KEYWEAVE_KEYWEAVE_TYPES_H */
