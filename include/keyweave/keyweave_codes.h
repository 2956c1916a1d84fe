/*
 * Keyweave: the named codes of the host interface.
 *
 * Every number that a Keyweave function takes or a host callback receives
 * has a name here. The values are those the engine has always used; the
 * functions keep their plain integer parameters, so a host may pass either.
 * Included by keyweave/keyweave.h; valid C (C99 or later) and C++.
 */
#ifndef KEYWEAVE_KEYWEAVE_CODES_H
#define KEYWEAVE_KEYWEAVE_CODES_H

/* ---- Key codes (KeyweaveHandleKey, the key callback) ---------------------
 *
 * A keyboard key's code is its PC scan code of set 1 (the make code of the
 * key's position on a US layout: Esc 1, 1 is 2, Q 16, A 30, Space 57,
 * Enter 28, left Shift 42). A key sent with the E0 prefix carries 0xE0 in
 * the byte above its code: KEYWEAVE_KEY_E0(0x48) is the up arrow, 0xE048.
 * Codes 256 to 261 are pseudo keys that stand for the mouse.
 */
#define KEYWEAVE_KEY_E0_PREFIX 0xE000u
#define KEYWEAVE_KEY_E0(code) (KEYWEAVE_KEY_E0_PREFIX | (code))

/* The mouse's pseudo keys, named as keymaps name them. */
typedef enum KeyweaveMouseKey {
    KEYWEAVE_KEY_MOUSE_MOVE = 256,        /* "MouseMove" */
    KEYWEAVE_KEY_LEFT_CLICK = 257,        /* "LeftClick" */
    KEYWEAVE_KEY_RIGHT_CLICK = 258,       /* "RightClick": the engine presses it itself
                                             for KEYWEAVE_MOUSE_RIGHT_DOWN/UP */
    KEYWEAVE_KEY_SHOOT_SENSITIVITY = 259, /* "ShootSensitivity" */
    KEYWEAVE_KEY_MOUSE_WHEEL_DOWN = 260,  /* "MouseWheelDown": one notch, press then release */
    KEYWEAVE_KEY_MOUSE_WHEEL_UP = 261     /* "MouseWheelUp" */
} KeyweaveMouseKey;

/* The key callback's byte: a scan code, with this bit set for a release.
 * An E0 key arrives as two bytes, 0xE0 and then the code's low byte; the
 * prefix 0xE0 has this bit set too, but is not a release. */
#define KEYWEAVE_SCAN_CODE_RELEASE 0x80u

/* ---- On-screen controller buttons (KeyweaveHandleController) -------------
 *
 * The buttons of the keymap's [opensensor] section: "A" to "H" are the
 * letters' character codes, the four directions the lower-case initials. */
typedef enum KeyweaveControllerCode {
    KEYWEAVE_CONTROLLER_A = 'A', /* 65 */
    KEYWEAVE_CONTROLLER_B = 'B',
    KEYWEAVE_CONTROLLER_C = 'C',
    KEYWEAVE_CONTROLLER_D = 'D',
    KEYWEAVE_CONTROLLER_E = 'E',
    KEYWEAVE_CONTROLLER_F = 'F',
    KEYWEAVE_CONTROLLER_G = 'G',
    KEYWEAVE_CONTROLLER_H = 'H',    /* 72 */
    KEYWEAVE_CONTROLLER_UP = 'u',   /* 117, keymap name "Up" */
    KEYWEAVE_CONTROLLER_DOWN = 'd', /* 100, "Down" */
    KEYWEAVE_CONTROLLER_LEFT = 'l', /* 108, "Left" */
    KEYWEAVE_CONTROLLER_RIGHT = 'r' /* 114, "Right" */
} KeyweaveControllerCode;

/* ---- Mouse messages (KeyweaveUpdateMouseStatus) ---------------------------
 *
 * The window-message numbers of Windows (WM_MOUSEMOVE and so on), also on
 * Linux. Any other number is accepted and only reaches the keymap's active
 * mouse actions, which ignore it. */
typedef enum KeyweaveMouseMessage {
    KEYWEAVE_MOUSE_MOVE = 512,
    KEYWEAVE_MOUSE_LEFT_DOWN = 513,
    KEYWEAVE_MOUSE_LEFT_UP = 514,
    KEYWEAVE_MOUSE_RIGHT_DOWN = 516,
    KEYWEAVE_MOUSE_RIGHT_UP = 517
} KeyweaveMouseMessage;

/* ---- Key mapping state (KeyweaveSetKeyMappingState) ---------------------- */
typedef enum KeyweaveMappingState {
    KEYWEAVE_MAPPING_OFF = 0, /* any value but 1 turns mapping off */
    KEYWEAVE_MAPPING_ON = 1
} KeyweaveMappingState;

/* ---- Game pads (KeyweaveGamePadReport, the game-pad notice callback) ----- */

/* Axis values of a report, in thousandths of full deflection. Up and left
 * are negative. A stick key is pressed beyond half way (+-500). A stick
 * reported beyond full deflection is taken at full deflection. */
#define KEYWEAVE_PAD_AXIS_MIN (-1000)
#define KEYWEAVE_PAD_AXIS_MAX 1000

/* The report's hat, an angle in degrees clockwise from up. Every value
 * other than the eight directions is centred; KEYWEAVE_PAD_HAT_CENTRED is
 * the one to send (a pad's own 65535 works as well). */
typedef enum KeyweavePadHat {
    KEYWEAVE_PAD_HAT_UP = 0,
    KEYWEAVE_PAD_HAT_UP_RIGHT = 45,
    KEYWEAVE_PAD_HAT_RIGHT = 90,
    KEYWEAVE_PAD_HAT_DOWN_RIGHT = 135,
    KEYWEAVE_PAD_HAT_DOWN = 180,
    KEYWEAVE_PAD_HAT_DOWN_LEFT = 225,
    KEYWEAVE_PAD_HAT_LEFT = 270,
    KEYWEAVE_PAD_HAT_UP_LEFT = 315,
    KEYWEAVE_PAD_HAT_CENTRED = -1
} KeyweavePadHat;

/* The event of the game-pad notice callback. */
typedef enum KeyweavePadNotice {
    KEYWEAVE_PAD_ATTACHED = 1, /* KeyweaveHandleGamePadAttach found an entry for the pad */
    KEYWEAVE_PAD_DETACHED = 2  /* KeyweaveHandleGamePadDetach removed it */
} KeyweavePadNotice;

/* ---- Shooting mode (the shooting-mode callback's code) ------------------- */
typedef enum KeyweaveShootingCode {
    KEYWEAVE_SHOOTING_ENDED = 0,   /* the answer is ignored */
    KEYWEAVE_SHOOTING_STARTED = 1, /* the answer is ignored */
    KEYWEAVE_SHOOTING_QUERY = 3    /* may this mouse event aim and shoot? non-zero: yes */
} KeyweaveShootingCode;

/* ---- Emulated gestures (KeyweaveEmulateSwipe, KeyweaveEmulatePinch) ------ */
typedef enum KeyweaveSwipeDirection {
    KEYWEAVE_SWIPE_UP = 1,
    KEYWEAVE_SWIPE_DOWN = 2,
    KEYWEAVE_SWIPE_LEFT = 3,
    KEYWEAVE_SWIPE_RIGHT = 4
} KeyweaveSwipeDirection;

typedef enum KeyweavePinch {
    KEYWEAVE_PINCH_OUT = 0, /* the two fingers come together */
    KEYWEAVE_PINCH_IN = 1   /* any non-zero value: the fingers spread apart */
} KeyweavePinch;

/* ---- Decisions: what the engine did with an input, and why -------------- */

/* KeyweaveDecision.input: what kind of input the decision is about. */
typedef enum KeyweaveDecisionInput {
    KEYWEAVE_INPUT_KEY = 1,        /* KeyweaveHandleKey */
    KEYWEAVE_INPUT_CONTROLLER = 2, /* KeyweaveHandleController */
    KEYWEAVE_INPUT_CHARACTER = 3,  /* KeyweaveHandleCharacter */
    KEYWEAVE_INPUT_MOUSE = 4,      /* KeyweaveUpdateMouseStatus (the right button: its RightClick key) */
    KEYWEAVE_INPUT_GAMEPAD = 5,    /* a game-pad control, mapped to a key or bound in [gamepad2] */
    KEYWEAVE_INPUT_SHAKE = 6,      /* KeyweaveHandleShakeAction */
    KEYWEAVE_INPUT_GESTURE = 7,    /* scroll, zoom, an emulated swipe or pinch (code 1 to 9: scroll begin,
                                      move, end, zoom begin, scale, end, emulated swipe, swipe between
                                      points, pinch), or an emulated swipe's wheel key (code 260, 261) */
    KEYWEAVE_INPUT_KEYMAP = 8      /* KeyweaveLoadConfig */
} KeyweaveDecisionInput;

/* KeyweaveDecision.reason; KeyweaveDecision.reasonName is the stable name
 * in quotes. */
typedef enum KeyweaveDecisionReason {
    KEYWEAVE_DECISION_PLAYED = 1,                 /* "played": a rule's action played (on slot, if any) */
    KEYWEAVE_DECISION_PASSED_RAW = 2,             /* "passed-raw": no rule; sent as its own scan code */
    KEYWEAVE_DECISION_NO_RULE = 3,                /* "no-rule": no rule, and nothing is sent */
    KEYWEAVE_DECISION_RAW_FORWARDING_OFF = 4,     /* "raw-forwarding-off": no rule; raw keys are off */
    KEYWEAVE_DECISION_MAPPING_OFF = 5,            /* "mapping-off": key mapping is off */
    KEYWEAVE_DECISION_REPEAT = 6,                 /* "repeat": auto-repeat of a held key, ignored */
    KEYWEAVE_DECISION_HELD_BACK = 7,              /* "held-back": waits delayMs for a combination */
    KEYWEAVE_DECISION_COMBINED = 8,               /* "combined": joined the held-back key (keys[]) */
    KEYWEAVE_DECISION_TOO_LATE_TO_COMBINE = 9,    /* "too-late-to-combine": the held-back key had begun */
    KEYWEAVE_DECISION_NO_FREE_SLOT = 10,          /* "no-free-slot": every touch slot is taken */
    KEYWEAVE_DECISION_YIELDED_TO_TAP_SWIPE = 11,  /* "yielded-to-tap-swipe": a tap held off by a tap-swipe */
    KEYWEAVE_DECISION_SHOOTING_MODE = 12,         /* "shooting-mode": shooting mode takes the left button */
    KEYWEAVE_DECISION_BUTTON_TAKEN = 13,          /* "button-taken": an active action owns the left button */
    KEYWEAVE_DECISION_NOT_USED = 14,              /* "not-used": a mouse move handed back (pass-through) */
    KEYWEAVE_DECISION_DUPLICATE_MOVE = 15,        /* "duplicate-move": a move to the same place, dropped */
    KEYWEAVE_DECISION_TYPED = 16,                 /* "typed": a character typed as scan codes */
    KEYWEAVE_DECISION_NO_CHARACTER = 17,          /* "no-character": no key types it */
    KEYWEAVE_DECISION_SENSOR = 18,                /* "sensor": passed on as a sensor vector */
    KEYWEAVE_DECISION_GESTURE = 19,               /* "gesture": played on the screen */
    KEYWEAVE_DECISION_KEYMAP_LOADED = 20,         /* "keymap-loaded": the keymap in file is active */
    KEYWEAVE_DECISION_DEFAULT_KEYMAP = 21,        /* "default-keymap": none of the chain loaded */
    KEYWEAVE_DECISION_NOTHING_ON_THIS_EVENT = 22, /* "nothing-on-this-event": e.g. a swipe's release */
    KEYWEAVE_DECISION_GESTURE_OFF = 23,           /* "gesture-off": an emulated gesture's duration knob is 0 */
    KEYWEAVE_DECISION_GESTURE_OUT_OF_ORDER = 24,  /* "gesture-out-of-order": a scroll or zoom call that does not
                                                     fit the gesture under way (a begin during one, a move or
                                                     end of another or of none) */
    KEYWEAVE_DECISION_REFUSED_VALUE = 25          /* "refused-value": a value the engine refuses (the "Cannot"
                                                     line names it); the call does nothing */
} KeyweaveDecisionReason;

/* ---- Fixed numbers ------------------------------------------------------- */

/* Contacts in every touch frame the engine reports; the slot number (the
 * index in the frame) is a finger's identity. */
#define KEYWEAVE_TOUCH_POINTS 16

/* What GetParserVersion returns: the keymap format this engine reads. */
#define KEYWEAVE_PARSER_VERSION 4

#endif /* KEYWEAVE_KEYWEAVE_CODES_H */
