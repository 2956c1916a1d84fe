/*
 * Keyweave: keymapping engine for hosts that show an Android guest screen.
 *
 * The host calls KeyweaveInit once with the callbacks through which the
 * engine answers (keyweave/keyweave_types.h), loads a keymap with
 * KeyweaveLoadConfig whenever the guest's foreground application changes,
 * and then feeds it desktop input. Every code the functions take or the
 * callbacks receive is named in keyweave/keyweave_codes.h. The host guide
 * (docs/host-guide.md, installed as share/doc/Keyweave/host-guide.md) walks
 * through a host's whole life.
 *
 * Rules that hold for every function below:
 *  - KeyweaveInit comes first, once per process. A call before it does
 *    nothing and returns the value its comment gives for that case; the
 *    first such call of each function writes "Cannot <function> before
 *    KeyweaveInit" to the debug output (standard error on Linux, the
 *    debugger's output, OutputDebugString, on Windows), as there is no log
 *    callback yet.
 *  - Numbers the engine cannot use are refused, with a log line that starts
 *    with "Cannot", names the call and gives the value: a float that is not
 *    a finite number, a position more than a screen beyond an edge of the
 *    guest screen (below -1 or above 2), a duration below 0 or over
 *    10000 ms. Each function below says what it refuses and what a refused
 *    call then does; what it does not name is taken as it comes.
 *  - Threads. The input calls (KeyweaveHandleKey, KeyweaveHandleController,
 *    KeyweaveHandleCharacter, KeyweaveUpdateMouseStatus) come from one
 *    thread at a time and never while KeyweaveLoadConfig runs. Two
 *    KeyweaveLoadConfig calls must not overlap. Every other function may be
 *    called from any thread at any time, also while KeyweaveLoadConfig runs
 *    on another.
 *  - No function reports failure: the engine explains itself through the
 *    log callback, with lines that start with "Cannot". Nothing throws.
 *  - Pointer arguments are read during the call only: the engine copies what
 *    it keeps, so they need to stay valid only until the call returns.
 *  - A null pointer argument is allowed unless its comment says otherwise.
 *
 * This header and those it includes are valid C (C99 or later) and C++.
 */
#ifndef KEYWEAVE_KEYWEAVE_H
#define KEYWEAVE_KEYWEAVE_H

#include <stdint.h>

#include "keyweave/keyweave_codes.h"
#include "keyweave/keyweave_types.h"
#include "keyweave/keyweave_utf8.h"

/* The version of this header. The build reads the project's version from
 * these three lines, so the library, its CMake package and its pkg-config
 * file carry the same. */
#define KEYWEAVE_VERSION_MAJOR 0
#define KEYWEAVE_VERSION_MINOR 1
#define KEYWEAVE_VERSION_PATCH 0
#define KEYWEAVE_VERSION_STRING "0.1.0"
/* One number to compare: KEYWEAVE_VERSION >= KEYWEAVE_VERSION_NUMBER(0, 2, 0). */
#define KEYWEAVE_VERSION_NUMBER(major, minor, patch) ((major)*1000000L + (minor)*1000L + (patch))
#define KEYWEAVE_VERSION KEYWEAVE_VERSION_NUMBER(KEYWEAVE_VERSION_MAJOR, KEYWEAVE_VERSION_MINOR, KEYWEAVE_VERSION_PATCH)

#if defined(_WIN32)
/* Exported through a module-definition file; nothing to decorate. */
#define KEYWEAVE_API
#elif defined(KEYWEAVE_BUILDING_LIBRARY)
#define KEYWEAVE_API __attribute__((visibility("default")))
#else
#define KEYWEAVE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ======== Start and end ================================================ */

/*
 * Starts the engine: its scheduler thread, an empty keymap, the settings at
 * their defaults (key mapping on, unmapped keys forwarded, no locale).
 *
 *   keyCallback ... shootingContext  the callbacks, each with the context it
 *        gets back (keyweave/keyweave_types.h). Any of them may be null.
 *   reserved1 ... reserved6  kept and never used: pass NULL.
 *   defaultConfigPath  the keymap KeyweaveLoadConfig falls back to when no
 *        keymap of the application loads. Null or "" means none.
 *   logCallback  receives every log line; null drops them.
 *   verbose  non-zero adds a line for every game-pad report and the game-pad
 *        database reader's detail lines; every other line comes either way.
 *   screenWidth, screenHeight  the guest screen in pixels. Positions stay
 *        fractions; only the ratio matters, where an action draws a circle
 *        or slows a drag: a game-pad stick's circle, a mouse-driven
 *        joystick (MouseSwipe, TapSwipe) and the third kind of mouse-look.
 *        The other kinds of mouse-look ignore it.
 *
 * Callbacks: on this thread, the log ("Initializing Keyweave", ...), an
 * all-up touch frame and a level sensor vector (0, 0, 1).
 * From this call on the library stays loaded until the process ends:
 * dlclose and FreeLibrary no longer unload it (see KeyweaveFini).
 * Threads: once, before any other call, with no other call running.
 * Bad input: a second call, after KeyweaveFini too, logs "Cannot initialize
 * Keyweave again: the engine is already running" and changes nothing: the
 * engine keeps the callbacks and contexts of the first call.
 */
KEYWEAVE_API void KeyweaveInit(KeyweaveKeyCallback keyCallback, void* keyContext, KeyweaveTouchCallback touchCallback,
                               void* touchContext, KeyweaveSensorCallback sensorCallback, void* sensorContext,
                               KeyweaveSummaryCallback summaryCallback, void* summaryContext, void* reserved1,
                               void* reserved2, void* reserved3, void* reserved4, void* reserved5, void* reserved6,
                               KeyweaveGamePadNoticeCallback noticeCallback, void* noticeContext,
                               KeyweaveMousePassThroughCallback passThroughCallback, void* passThroughContext,
                               KeyweaveShootingModeCallback shootingCallback, void* shootingContext,
                               const KeyweaveChar16* defaultConfigPath, KeyweaveLogCallback logCallback,
                               int32_t verbose, int32_t screenWidth, int32_t screenHeight);

/*
 * Logs "Finalizing Keyweave". Nothing stops: the engine, its threads and
 * every callback stay live until the process ends, so keep the callbacks'
 * contexts alive as long. The engine cannot be started again: a later
 * KeyweaveInit is refused, and the other functions go on working.
 * Unloading: the library may be unloaded (dlclose, FreeLibrary) at any time;
 * once KeyweaveInit has run it stays in memory whatever the host does, since
 * its threads run its code until the process ends (the Linux library is
 * linked not to be unloaded at all, the Windows DLL pins itself in
 * KeyweaveInit). Threads: any.
 */
KEYWEAVE_API void KeyweaveFini(void);

/* ======== Keymaps and settings ========================================= */

/*
 * Replaces the active keymap. The old keymap's state ends first: queued
 * touches are dropped, every finger lifts, tilt goes level, the emulation
 * knobs return to their defaults, and a keymap in shooting mode ends it.
 * Then the first file of this chain that loads becomes active:
 * primaryPath; its wild-card form (WildCardConfigPath: com.game.lite.cfg ->
 * com.game.cfg; the dot may be in a folder's name: ./maps/game.cfg ->
 * .cfg, so give absolute paths without dots in their folders);
 * secondPath; its wild-card form; the default keymap of
 * KeyweaveInit; an empty keymap. A file loads when it can be opened and
 * read to its end; a bad line in it is logged ("Cannot process line: ...",
 * after the reason) and skipped.
 *
 *   secondPath   the second choice, usually a keymap shipped with the host.
 *   primaryPath  the first choice, usually the user's keymap.
 *   packageName  the guest application, as the summary names it; 8-bit.
 *   Null paths are empty and never load; a null package is "".
 *
 * Returns 0, always. To know what loaded, watch the log on this thread
 * during the call: "Cannot load config, loading default config" means
 * neither path loaded, "Cannot load default config ..." that the keymap is
 * empty. The summary callback comes at the end in every case.
 * Callbacks, all on this thread: log, shooting-mode (ENDED) when the old
 * keymap was shooting, an all-up touch frame and a level sensor vector
 * for the old keymap's end, the summary.
 * Threads: any thread, but not while an input call or another
 * KeyweaveLoadConfig runs. An emulated gesture under way on another thread
 * is cut short and its call returns.
 */
KEYWEAVE_API int32_t KeyweaveLoadConfig(const KeyweaveChar16* secondPath, const KeyweaveChar16* primaryPath,
                                        const char* packageName);

/*
 * Logs "At the start of getparserversion function" and returns
 * KEYWEAVE_PARSER_VERSION (4), the keymap format this engine reads; also 4
 * before KeyweaveInit. Threads: any.
 */
KEYWEAVE_API int32_t GetParserVersion(void);

/*
 * Selects the [strings.<locale>] sections of keymaps loaded from now on
 * (the keymap already active keeps its texts).
 *   locale  e.g. "fr-FR"; "-" becomes "_" and letters are lower-cased, as
 *           section names are. Null or "" means none. Logged as
 *           "Using normalized locale fr_fr".
 * Threads: any.
 */
KEYWEAVE_API void KeyweaveSetLocale(const char* locale);

/*
 * Returns 1 when the active keymap asks the host to update the guest's
 * location from keys ("# ENABLE_LOCATION_UPDATION_WITH_KEYMAP"), 0 when not
 * (and before KeyweaveInit). Logs the answer. Threads: any.
 */
KEYWEAVE_API int32_t KeyweaveIsLocationUpdationWithKeyMapEnabled(void);

/*
 * Turns key mapping on or off; on at start, and a keymap load leaves it.
 *   state  KEYWEAVE_MAPPING_ON (1) maps keys; any other value turns mapping
 *          off: keyboard keys then go to the guest as scan codes (when
 *          forwarding is on) and the keymap's key rules do nothing,
 *          but for Enter's.
 * Threads: any; takes effect with the next key.
 */
KEYWEAVE_API void KeyweaveSetKeyMappingState(int32_t state);

/*
 * Whether host keyboard keys that no rule maps are passed to the guest as
 * scan codes (key callback); on at start, and a keymap load leaves it.
 *   forward  non-zero forwards. Controller buttons and game-pad keys
 *            without a rule are forwarded whatever this says.
 * Threads: any.
 */
KEYWEAVE_API void KeyweaveSetForwardRawKeys(int32_t forward);

/* ======== Input: one thread at a time, never during KeyweaveLoadConfig == */

/*
 * A key of the host's keyboard, or a mouse pseudo key.
 *   keyCode  a scan code of set 1, KEYWEAVE_KEY_E0(code) for an E0 key, or
 *            a KEYWEAVE_KEY_* mouse pseudo key (256 to 261).
 *   pressed  non-zero for a press, 0 for a release.
 * The keymap's rules for the key, alone or with the keys held with it, act:
 * touches are queued for the scheduler thread (a keymap with key
 * combinations holds single keys back 100 ms to see whether a second
 * follows). A keyboard key no rule maps goes to the key callback when
 * forwarding is on; the pseudo keys never do. Callbacks: key and touch on
 * the scheduler thread; sensor, shooting-mode and log on this thread.
 * Threads: the input thread (see the top of this header).
 */
KEYWEAVE_API void KeyweaveHandleKey(uint32_t keyCode, int32_t pressed);

/*
 * A button of the on-screen controller that the keymap's [opensensor]
 * section describes.
 *   ignored         not read; pass NULL.
 *   controllerCode  a KEYWEAVE_CONTROLLER_* code.
 *   pressed         non-zero for a press, 0 for a release.
 * Acts as the key the keymap binds to the button, and as KeyweaveHandleKey
 * does. A code the keymap does not bind does nothing, without a log line.
 * Threads: the input thread.
 */
KEYWEAVE_API void KeyweaveHandleController(void* ignored, uint32_t controllerCode, int32_t pressed);

/*
 * Types one character into the guest as scan codes (with Shift when the
 * character needs it, on a US layout), whatever the keymap and the mapping
 * state say.
 *   character  printable ASCII but '`' and '~', '\n' for Enter, or
 *              (char)255 for Backspace; the engine's own codes 1 to 5 are
 *              Shift, Backspace, Ctrl, Alt and Tab. Anything else (among
 *              them '\t' and '\r') is ignored.
 * Blocks for 10 ms so that the guest sees separate strokes.
 * Callbacks: key, on the scheduler thread. Threads: the input thread.
 */
KEYWEAVE_API void KeyweaveHandleCharacter(char character);

/*
 * The mouse over the window that shows the guest screen.
 *   x, y     the pointer as fractions of that window (0 to 1, as touches).
 *            Not finite, or below -1 or above 2: the position is refused
 *            ("Cannot use the mouse position: ...") and the message is
 *            handled at the last position, so a move does nothing and a
 *            button still goes down or up.
 *   message  a KEYWEAVE_MOUSE_* message; others only reach the keymap's
 *            active mouse actions, which ignore them.
 *   param    the message's wParam on Windows (the buttons held); the
 *            engine keeps it with the left button's touch and reads
 *            nothing from it: pass 0 where there is none.
 * A move to the same position as the last one is dropped. The left button
 * is a finger of its own unless the keymap uses it; the right button is the
 * key KEYWEAVE_KEY_RIGHT_CLICK; moves drive the keymap's mouse-look,
 * shooting and mouse-swipe actions. Callbacks: touch on the scheduler
 * thread; pass-through, shooting-mode (QUERY) and log on this thread.
 * Threads: the input thread.
 */
KEYWEAVE_API void KeyweaveUpdateMouseStatus(float x, float y, int32_t message, uint32_t param);

/* ======== Sensors, game pads, gestures: any thread ===================== */

/*
 * Passes a shake to the guest: the sensor callback receives x, y, z as
 * they are, on this thread. A value that is not finite refuses the call
 * ("Cannot handle shake: ..."). Threads: any.
 */
KEYWEAVE_API void KeyweaveHandleShakeAction(float x, float y, float z);

/*
 * A game pad was plugged in.
 *   padId                the host's id for the pad, used by the other
 *                        game-pad calls; an id already attached is
 *                        detached first.
 *   vendorId, productId  the pad's USB ids.
 *   databasePath         the game-pad database file (gamepads.db of
 *                        the examples shows the format), read now for the
 *                        pad's entry; a pad without one gets the generic
 *                        entry 8380:0003.
 * Starts the pad's tick thread, which moves the keymap's stick actions
 * every 4 ms while a stick is off centre. Callbacks: game-pad notice
 * (ATTACHED) and log on this thread.
 * Bad input: when the database has no usable entry for the ids, the log
 * says "Cannot attach GamePad" and the pad is attached with the generic
 * entry 8380:0003 (the notice names that entry's layout). When that fails
 * too (the file cannot be read, or has no generic entry), a second "Cannot
 * attach GamePad" follows and the pad stays unattached, with no notice.
 * Threads: any; attach and detach of one id are applied one at a time.
 */
KEYWEAVE_API void KeyweaveHandleGamePadAttach(int32_t padId, uint32_t vendorId, uint32_t productId,
                                              const KeyweaveChar16* databasePath);

/*
 * A new state of an attached pad: send one whenever a value changes.
 *   report  the raw state (KeyweaveGamePadReport); read during the call.
 * Buttons, hat and stick directions act as the keys the keymap's game-pad
 * sections bind them to; the sticks' positions reach the tick thread.
 * Callbacks: key and touch on the scheduler thread; sensor (game-pad
 * tilt), shooting-mode and log on this thread; with verbose on, a log line
 * per report.
 * Bad input: a null report logs "Cannot update GamePad ID <id>: no report";
 * an unknown id "Cannot update GamePad ID <id>: GamePad not found".
 * Threads: any; reports of one pad are applied one at a time.
 */
KEYWEAVE_API void KeyweaveHandleGamePadUpdate(int32_t padId, const KeyweaveGamePadReport* report);

/*
 * A game pad was unplugged: its tick thread ends (the call waits for it)
 * and the pad is forgotten. Callbacks: game-pad notice (DETACHED) and log on
 * this thread. An id that is not attached does nothing. Threads: any.
 */
KEYWEAVE_API void KeyweaveHandleGamePadDetach(int32_t padId);

/*
 * A touch-pad scroll, played as one finger: frames of 1 contact, entry 0.
 *   KeyweaveScrollBegin   x, y: where the finger goes down, fractions of
 *                         the guest screen.
 *   KeyweaveScrollUpdate  dx, dy: how far it moves from where it is now, in
 *                         the same fractions; nothing is clamped.
 *   KeyweaveScrollEnd     the finger lifts.
 * Entries 0 and 1 are also the keymap's first two fingers: do not scroll or
 * zoom while keymap touches are down. Callbacks: touch, on this thread, at
 * once. Bad input: a begin during another gesture, or an update or end
 * without its begin, logs "Cannot ... with current gesture = <n>" and
 * reports nothing. A begin point that is not finite, or below -1 or above
 * 2, a dx or dy that is not finite, or a move that takes the finger beyond
 * the range of a float, refuses the call ("Cannot begin scroll: ...",
 * "Cannot update scroll: ..."): nothing is reported and the gesture stays
 * as it was.
 * Threads: any, one gesture call at a time (the gesture state has no lock).
 */
KEYWEAVE_API void KeyweaveScrollBegin(float x, float y);
KEYWEAVE_API void KeyweaveScrollUpdate(float dx, float dy);
KEYWEAVE_API void KeyweaveScrollEnd(void);

/*
 * A touch-pad zoom, played as two fingers: frames of 2 contacts.
 *   KeyweaveZoomBegin   x, y: the centre; the fingers go down 0.4 of the
 *                       screen apart on a horizontal line through it.
 *   KeyweaveZoomUpdate  scale: the new distance over the current one; 1
 *                       leaves it, above 1 spreads, below 1 closes.
 *   KeyweaveZoomEnd     both fingers lift.
 * Callbacks, bad input and threads as for the scroll; a scale that is not
 * finite, or takes a finger beyond the range of a float, is refused.
 */
KEYWEAVE_API void KeyweaveZoomBegin(float x, float y);
KEYWEAVE_API void KeyweaveZoomUpdate(float scale);
KEYWEAVE_API void KeyweaveZoomEnd(void);

/*
 * Shape of the emulated swipes until the next keymap load (which restores
 * 0.2 and 100 ms, or the keymap's "# SWIPE_PINCH").
 *   length      how far KeyweaveEmulateSwipe goes, a fraction of the screen;
 *               the finger stops at the screen's edge.
 *   durationMs  how long a swipe lasts, up to 10000; 0 switches emulated
 *               swipes off.
 * Bad input: a length that is not finite, or a duration over 10000 ms,
 * refuses the call ("Cannot set emulated swipe knobs: duration 20000 ms is
 * over 10000 ms"): both knobs keep their values.
 * Threads: any.
 */
KEYWEAVE_API void KeyweaveSetEmulatedSwipeKnobs(float length, uint32_t durationMs);

/*
 * Shape of the emulated pinches until the next keymap load (which restores
 * 0.2, 0.1, 0.1 and 50 ms, or the keymap's "# SWIPE_PINCH").
 *   split       how far each finger starts from the centre, a fraction of
 *               the screen.
 *   lengthIn    how far each finger travels in a KEYWEAVE_PINCH_IN.
 *   lengthOut   how far each finger travels in a KEYWEAVE_PINCH_OUT.
 *   durationMs  how long a pinch lasts, up to 10000; 0 switches emulated
 *               pinches off.
 * Bad input: a split below 0, a value that is not finite, or a duration
 * below 0 or over 10000 ms refuses the call ("Cannot set emulated pinch
 * knobs: ..."): the four knobs keep their values.
 * Threads: any.
 */
KEYWEAVE_API void KeyweaveSetEmulatedPinchKnobs(float split, float lengthIn, float lengthOut, int32_t durationMs);

/*
 * Emulated gestures: a whole swipe or pinch played on a finger of its own.
 * Each call blocks until the gesture's last touch has reached the touch
 * callback (about the knob's duration), or returns early, with the log
 * line "Cannot wait for the end of ...", when a keymap load or a full set
 * of fingers keeps the gesture from ending.
 *
 * KeyweaveEmulateSwipe: from x, y (fractions of the screen) in a direction
 *   (a KEYWEAVE_SWIPE_* value) by the length knob. A keymap with
 *   "MouseWheelDown" or "MouseWheelUp" rules turns the swipe into those
 *   keys instead (KEYWEAVE_SWIPE_DOWN presses MouseWheelUp, UP presses
 *   MouseWheelDown) and the call returns at once.
 * KeyweaveEmulateSwipeXY: from x1, y1 to x2, y2.
 * KeyweaveEmulatePinch: two fingers around x, y; in is KEYWEAVE_PINCH_IN
 *   (any non-zero value) or KEYWEAVE_PINCH_OUT.
 *
 * Callbacks: touch on the scheduler thread; log on this thread.
 * Bad input: with the duration knob at 0 the call logs "Emulated swipe
 * knobs not set" (or "... pinch ...") and returns. Other directions than
 * the four play a finger that goes down and lifts where it is. A start
 * point or centre that is not finite, or below -1 or above 2, or an end
 * point of KeyweaveEmulateSwipeXY that is not finite, refuses the call
 * ("Cannot emulate swipe: x nan is not a finite number"): nothing is
 * played and the call returns at once. The end point is otherwise taken as
 * it is, however far off the screen.
 * Threads: any; they block, so not a thread that must keep feeding input.
 * Several may run at once, each on a finger of its own.
 */
KEYWEAVE_API void KeyweaveEmulateSwipe(float x, float y, int32_t direction);
KEYWEAVE_API void KeyweaveEmulateSwipeXY(float x1, float y1, float x2, float y2);
KEYWEAVE_API void KeyweaveEmulatePinch(float x, float y, int32_t in);

/*
 * Why did that key do nothing? Sets the observer that receives, for every
 * input the engine is handed (keys, controller buttons, characters, mouse
 * messages, game-pad controls, shakes, scroll and zoom, emulated gestures,
 * keymap loads), what the engine did with it and why: the rule that played
 * and on which touch slot, or the reason nothing happened (no rule,
 * mapping off, passed raw, a repeat, held back for a combination and what
 * became of it, no free touch slot, shooting mode took the button, a
 * gesture out of order, a refused value, ...), and after each load the keymap
 * that is active and its file. One input may give several decisions, in
 * order. A null callback stops them; a later call replaces the observer.
 * Callbacks: `callback` on the thread that delivered the input (the host's
 * input thread, a game-pad thread), while the engine holds the locks of that
 * input's way (the held-key lock, the game-pad lock, the lock of the active
 * actions): it must return soon and must not call any Keyweave function.
 * Cost: with no observer set, one branch per decision point, nothing
 * allocated or formatted. With one, each decision is formatted into its text
 * line and the input's thread waits for the callback: for debug builds.
 * Threads: any, one call at a time.
 */
KEYWEAVE_API void KeyweaveSetDecisionObserver(KeyweaveDecisionCallback callback, void* context);

#ifdef __cplusplus
} /* extern "C" */

/*
 * The wild-card form of a keymap path, as KeyweaveLoadConfig tries it: the
 * last dot-separated part of the name before its last four characters
 * (".cfg") is dropped: C:\maps\com.game.lite.cfg -> C:\maps\com.game.cfg.
 * The search for the dot does not stop at a directory separator. Paths are
 * cut to 1023 characters.
 * Returns a new string that stays valid until the process ends, or path
 * itself when the name has no dot (and before KeyweaveInit). Logs
 * "wild card ..." and "new path ...". Threads: any.
 * C++ only: exported under its C++ name, which differs between compilers
 * (an MSVC name in keyweave.dll, a GCC one in libkeyweave.so). A mingw-w64
 * host calls the DLL's MSVC name, which its import library carries too (GNU
 * as reads that name only in quotes; clang takes it as it is).
 */
#if defined(_WIN32) && !defined(_MSC_VER) && !defined(KEYWEAVE_BUILDING_LIBRARY)
#if defined(__clang__)
#define KEYWEAVE_WILD_CARD_SYMBOL __asm__("?WildCardConfigPath@@YAPEB_WPEB_W@Z")
#else
#define KEYWEAVE_WILD_CARD_SYMBOL __asm__("\"?WildCardConfigPath@@YAPEB_WPEB_W@Z\"")
#endif
#else
#define KEYWEAVE_WILD_CARD_SYMBOL
#endif
KEYWEAVE_API const KeyweaveChar16* WildCardConfigPath(const KeyweaveChar16* path) KEYWEAVE_WILD_CARD_SYMBOL;
#endif

#endif /* KEYWEAVE_KEYWEAVE_H */
