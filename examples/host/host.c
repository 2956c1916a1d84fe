/*
 * A complete Keyweave host, in C (it compiles as C++ too).
 *
 * It starts the engine with every callback, writes and loads a small keymap,
 * presses and releases two keys, moves the mouse, and prints what a real host
 * would send to the Android guest:
 *   touch   a finger going down, moving or lifting, per slot, in pixels of
 *           the guest screen;
 *   key     a key stroke for the guest's keyboard, as set-1 scan codes;
 *   sensor  an accelerometer vector;
 * and the keymap summary, the mouse pass-through and the engine's log lines.
 * It exits with 0 once every answer it waits for has arrived, 1 if one did
 * not within a few seconds.
 *
 * Built against an installed kit (the host guide's "Building and linking"
 * has every recipe):
 *   cmake -S share/keyweave/examples/host -B build -DCMAKE_PREFIX_PATH=/opt/keyweave
 *   cc -std=c11 host.c $(pkg-config --cflags --libs keyweave) -o host
 *   x86_64-w64-mingw32-gcc host.c -I/opt/keyweave-win64/include -L/opt/keyweave-win64/lib -lkeyweave -o host.exe
 */
#if !defined(_WIN32)
#define _POSIX_C_SOURCE 200809L /* nanosleep */
#endif
#include <keyweave/keyweave.h>
#include <stdio.h>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <pthread.h>
#include <time.h>
#endif

/* The guest screen in pixels. The engine works in fractions of it. */
#define GUEST_WIDTH 1920
#define GUEST_HEIGHT 1080

/* Set-1 scan codes of the two keys pressed below. */
#define SCAN_SPACE 0x39
#define SCAN_RIGHT_ARROW KEYWEAVE_KEY_E0(0x4D) /* an E0 key: 0xE0 in the byte above */

/* ---- A lock and a nap: all the example needs from the system ---------- */

#if defined(_WIN32)
typedef SRWLOCK HostLock;
static void InitLock(HostLock* lock) { InitializeSRWLock(lock); }
static void Lock(HostLock* lock) { AcquireSRWLockExclusive(lock); }
static void Unlock(HostLock* lock) { ReleaseSRWLockExclusive(lock); }
static void NapOneMillisecond(void) { Sleep(1); }
#else
typedef pthread_mutex_t HostLock;
static void InitLock(HostLock* lock) { pthread_mutex_init(lock, NULL); }
static void Lock(HostLock* lock) { pthread_mutex_lock(lock); }
static void Unlock(HostLock* lock) { pthread_mutex_unlock(lock); }
static void NapOneMillisecond(void) {
    struct timespec nap = {0, 1000000L};
    nanosleep(&nap, NULL);
}
#endif

/* ---- The host's state ------------------------------------------------- */

/* What the guest was last told about one touch slot. */
typedef struct Finger {
    float x, y;
    int down;
} Finger;

/* Callbacks come from the engine's scheduler thread as well as from the
 * thread that made a call, and may overlap: everything here is read and
 * written under the lock. */
typedef struct Host {
    HostLock lock;
    Finger fingers[KEYWEAVE_TOUCH_POINTS];
    int afterE0;     /* the last key byte was the 0xE0 prefix */
    int touches;     /* fingers that went down */
    int lifts;       /* fingers that lifted */
    int upMoves;     /* contacts that moved while up */
    int keyReleases; /* key strokes released */
} Host;

/* The engine calls back until the process ends, so the state lives as long. */
static Host host;

/* ---- Callbacks -------------------------------------------------------- */

static void PrintTouch(uint32_t slot, const char* what, float x, float y) {
    /* guest_touch(slot, what, x * GUEST_WIDTH, y * GUEST_HEIGHT) */
    printf("touch   slot %2u %-4s at %4.0f, %4.0f\n", (unsigned)slot, what, x * GUEST_WIDTH, y * GUEST_HEIGHT);
}

/* A frame holds every contact, changed or not. The guest wants changes, so
 * each slot is compared with the frame before:
 *   down now, up before:         the finger goes down;
 *   down now and before, moved:  it moves;
 *   up now, down before:         it lifts, where it last touched;
 *   up now and before:           nothing for the guest, even when x and y
 *                                changed: the mouse's slot follows the
 *                                pointer while no button is held, and the
 *                                game must not see a touch for that. */
static void OnTouch(void* context, const KeyweaveTouchPoint* points, uint32_t count, uint32_t flag) {
    Host* self = (Host*)context;
    uint32_t slot;
    (void)flag; /* always 0 */
    Lock(&self->lock);
    for (slot = 0; slot < count && slot < KEYWEAVE_TOUCH_POINTS; ++slot) {
        const KeyweaveTouchPoint point = points[slot]; /* packed: copy it out before use */
        Finger* finger = &self->fingers[slot];
        if (point.down) {
            if (!finger->down) {
                PrintTouch(slot, "down", point.x, point.y);
                self->touches++;
            } else if (point.x != finger->x || point.y != finger->y) {
                PrintTouch(slot, "move", point.x, point.y);
            }
            finger->x = point.x;
            finger->y = point.y;
            finger->down = 1;
        } else if (finger->down) {
            PrintTouch(slot, "up", finger->x, finger->y);
            finger->down = 0;
            self->lifts++;
        } else if (point.x != finger->x || point.y != finger->y) {
            printf("touch   slot %2u moved while up: nothing sent\n", (unsigned)slot);
            finger->x = point.x;
            finger->y = point.y;
            self->upMoves++;
        }
    }
    Unlock(&self->lock);
}

/* Scan-code bytes, one a call. 0xE0 is a prefix, not a release: the byte
 * after it is the key's code, with bit 7 set when the key is released. */
static void OnKey(void* context, uint8_t byte) {
    Host* self = (Host*)context;
    Lock(&self->lock);
    if (byte == 0xE0) {
        self->afterE0 = 1;
    } else {
        const int released = (byte & KEYWEAVE_SCAN_CODE_RELEASE) != 0;
        /* guest_keyboard(self->afterE0, byte) */
        printf("key     %s%02X %s\n", self->afterE0 ? "E0 " : "", (unsigned)(byte & 0x7F),
               released ? "release" : "press");
        self->afterE0 = 0;
        if (released) self->keyReleases++;
    }
    Unlock(&self->lock);
}

static void OnSensor(void* context, float x, float y, float z) {
    Host* self = (Host*)context;
    Lock(&self->lock);
    printf("sensor  %.2f %.2f %.2f\n", x, y, z); /* guest_accelerometer(x, y, z): 0, 0, 1 lies level */
    Unlock(&self->lock);
}

static void OnSummary(void* context, const char* summary) {
    Host* self = (Host*)context;
    Lock(&self->lock);
    printf("keymap  %s\n", summary); /* a real host shows the keymap's on-screen hints */
    Unlock(&self->lock);
}

static void OnPadNotice(void* context, int32_t padId, int32_t event, const char* layout) {
    Host* self = (Host*)context;
    Lock(&self->lock);
    printf("pad     %d %s, layout \"%s\"\n", (int)padId, event == KEYWEAVE_PAD_ATTACHED ? "attached" : "detached",
           layout);
    Unlock(&self->lock);
}

static void OnMousePassThrough(void* context) {
    Host* self = (Host*)context;
    Lock(&self->lock);
    printf("mouse   the keymap left the move alone: the host's own pointer follows it\n");
    Unlock(&self->lock);
}

static int32_t OnShootingMode(void* context, int32_t code) {
    Host* self = (Host*)context;
    if (code == KEYWEAVE_SHOOTING_QUERY) return 1; /* yes, this mouse event may aim; answer at once */
    Lock(&self->lock);
    printf("shoot   mouse-look %s\n", code == KEYWEAVE_SHOOTING_STARTED ? "on: hide the pointer" : "off");
    Unlock(&self->lock);
    return 0;
}

/* The log callback has no context. A real host keeps these lines where a
 * user or a bug report finds them; those starting with "Cannot" are errors. */
static void OnLog(const char* line) {
    Lock(&host.lock);
    printf("log     %s\n", line);
    Unlock(&host.lock);
}

/* ---- The host's work -------------------------------------------------- */

/* Touches and key bytes are played on the engine's scheduler thread, after
 * the call that caused them has returned: wait until a count reaches its
 * target, for a few seconds at most. */
static int WaitFor(const int* count, int target) {
    int naps;
    for (naps = 0; naps < 3000; ++naps) {
        int reached;
        Lock(&host.lock);
        reached = *count >= target;
        Unlock(&host.lock);
        if (reached) return 1;
        NapOneMillisecond();
    }
    printf("host    Cannot see the engine's answer in time\n");
    return 0;
}

/* Writes a keymap into the working directory, loads it as the keymap of the
 * application com.example.host and deletes it again: the engine keeps what
 * it read. Space taps a button near the lower right corner; every other key
 * reaches the guest as it is. */
static void LoadExampleKeymap(void) {
    static const char path[] = "keyweave-example-host.cfg";
    static const char text[] =
        "# The example host's keymap.\n"
        "[keys]\n"
        "Space = Tap (88,78)\n";
    KeyweaveChar16 widePath[sizeof path];
    FILE* file = fopen(path, "wb");
    if (file == NULL || fputs(text, file) == EOF || fclose(file) != 0) {
        printf("host    Cannot write %s\n", path);
        return;
    }
    /* Paths are UTF-16; the helper converts UTF-8 ones. */
    if (KeyweavePathFromUtf8(path, widePath, sizeof path)) {
        KeyweaveLoadConfig(/* second choice */ NULL, widePath, "com.example.host");
    }
    remove(path);
}

#if defined(__cplusplus)
/* C++ only: the wild-card keymap path that KeyweaveLoadConfig falls back to. */
static void PrintWildCard(void) {
    static const KeyweaveChar16 lite[] = KEYWEAVE_PATH_LITERAL("keymaps/com.example.host.lite.cfg");
    const KeyweaveChar16* wildCard = WildCardConfigPath(lite);
    char text[128];
    size_t length = 0;
    for (; wildCard[length] != 0 && length + 1 < sizeof text; ++length) {
        text[length] = wildCard[length] < 128 ? (char)wildCard[length] : '?'; /* ASCII is enough here */
    }
    text[length] = '\0';
    Lock(&host.lock);
    printf("host    the wild card of keymaps/com.example.host.lite.cfg is %s\n", text);
    Unlock(&host.lock);
}
#endif

int main(void) {
    int ok = 1;
    InitLock(&host.lock);

    /* Once, before anything else. Every callback comes with the context it
     * gets back; the six reserved pointers stay null. No default keymap. */
    KeyweaveInit(OnKey, &host, OnTouch, &host, OnSensor, &host, OnSummary, &host, NULL, NULL, NULL, NULL, NULL, NULL,
                 OnPadNotice, &host, OnMousePassThrough, &host, OnShootingMode, &host,
                 /* default keymap */ NULL, OnLog, /* verbose */ 0, GUEST_WIDTH, GUEST_HEIGHT);

    LoadExampleKeymap();

    /* Space is in the keymap: a finger goes down while it is held. */
    KeyweaveHandleKey(SCAN_SPACE, 1);
    ok = WaitFor(&host.touches, 1) && ok;
    KeyweaveHandleKey(SCAN_SPACE, 0);
    ok = WaitFor(&host.lifts, 1) && ok;

    /* The right arrow is not: it goes to the guest's keyboard as it is,
     * E0 4D and then E0 CD. */
    KeyweaveHandleKey(SCAN_RIGHT_ARROW, 1);
    KeyweaveHandleKey(SCAN_RIGHT_ARROW, 0);
    ok = WaitFor(&host.keyReleases, 1) && ok;

    /* Mouse moves, as fractions of the view that shows the guest. The
     * first puts the mouse's touch slot under the pointer without touching
     * (a frame, but nothing for the guest); the keymap has no use for the
     * second, so the pass-through callback hands it back to the host. */
    KeyweaveUpdateMouseStatus(0.25f, 0.5f, KEYWEAVE_MOUSE_MOVE, 0);
    ok = WaitFor(&host.upMoves, 1) && ok;
    KeyweaveUpdateMouseStatus(0.3f, 0.5f, KEYWEAVE_MOUSE_MOVE, 0);

#if defined(__cplusplus)
    PrintWildCard();
#endif

    /* Logs and stops nothing: the engine's threads run until the process
     * ends, so everything they may call back stays alive until then. */
    KeyweaveFini();

    Lock(&host.lock);
    printf("host    %s: %d touch, %d lift, %d key release\n", ok ? "done" : "Cannot finish", host.touches, host.lifts,
           host.keyReleases);
    Unlock(&host.lock);
    return ok ? 0 : 1;
}
