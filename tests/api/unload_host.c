/* A host that loads the library at run time: it starts the engine, loads a
 * keymap, taps a key, finalizes and unloads the library, and then goes on
 * calling the functions it looked up before. The library stays in memory
 * once KeyweaveInit has run, so those calls still work and the scheduler
 * thread still plays their touches. Loading the library again finds the same
 * engine, which refuses a second KeyweaveInit.
 *
 *   unload_host LIBRARY KEYMAP
 *
 * LIBRARY is the path of libkeyweave.so, or keyweave.dll beside the program;
 * KEYMAP binds Space to a tap. Before KeyweaveInit the program asks for the
 * parser version, which writes "Cannot GetParserVersion before KeyweaveInit"
 * to standard error on Linux (Windows sends it to the debugger). */
#if !defined(_WIN32)
#define _POSIX_C_SOURCE 200809L
#endif
#include <keyweave/keyweave.h>
#include <stdatomic.h>
#include <stdio.h>
#include <string.h>

typedef void (*InitFunction)(KeyweaveKeyCallback, void*, KeyweaveTouchCallback, void*, KeyweaveSensorCallback, void*,
                             KeyweaveSummaryCallback, void*, void*, void*, void*, void*, void*, void*,
                             KeyweaveGamePadNoticeCallback, void*, KeyweaveMousePassThroughCallback, void*,
                             KeyweaveShootingModeCallback, void*, const KeyweaveChar16*, KeyweaveLogCallback, int32_t,
                             int32_t, int32_t);
typedef int32_t (*LoadConfigFunction)(const KeyweaveChar16*, const KeyweaveChar16*, const char*);
typedef void (*HandleKeyFunction)(uint32_t, int32_t);
typedef void (*VoidFunction)(void);
typedef int32_t (*VersionFunction)(void);

#if defined(_WIN32)
#include <windows.h>
typedef HMODULE Library;
static Library Open(const char* path) { return LoadLibraryA(path); }
static void (*Find(Library library, const char* name))(void) { return (void (*)(void))GetProcAddress(library, name); }
static void Close(Library library) { FreeLibrary(library); }
static int StillLoaded(const char* path) { return GetModuleHandleA(path) != NULL; }
static void Nap(void) { Sleep(1); }
/* The line goes to the debugger's output, which the program cannot read. */
static int EarlyLineOf(VersionFunction version) { return version() == KEYWEAVE_PARSER_VERSION; }
#else
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>
typedef void* Library;
static Library Open(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
static void (*Find(Library library, const char* name))(void) {
    void (*function)(void) = NULL;
    void* address = dlsym(library, name);
    memcpy(&function, &address, sizeof function);
    return function;
}
static void Close(Library library) { dlclose(library); }
static int StillLoaded(const char* path) {
    Library again = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (again == NULL) return 0;
    dlclose(again);
    return 1;
}
static void Nap(void) {
    struct timespec ts = {0, 1000000L};
    nanosleep(&ts, NULL);
}
/* Calls `version` with standard error caught in a file, and reads it back. */
static int EarlyLineOf(VersionFunction version) {
    char line[128] = {0};
    FILE* caught = tmpfile();
    const int saved = dup(2);
    if (caught == NULL || saved < 0) return 0;
    fflush(stderr);
    dup2(fileno(caught), 2);
    const int32_t result = version();
    fflush(stderr);
    dup2(saved, 2);
    close(saved);
    rewind(caught);
    if (fgets(line, sizeof line, caught) == NULL) line[0] = 0;
    fclose(caught);
    return result == KEYWEAVE_PARSER_VERSION && strcmp(line, "Cannot GetParserVersion before KeyweaveInit\n") == 0;
}
#endif

static atomic_int taps; /* frames with the Space finger lifted */
static atomic_int sawFini, sawSecondInit;

static void OnTouch(void* context, const KeyweaveTouchPoint* points, uint32_t count, uint32_t flag) {
    (void)context;
    (void)flag;
    if (count == KEYWEAVE_TOUCH_POINTS && points[0].x == 0.5f && points[0].down == 0) atomic_fetch_add(&taps, 1);
}

static void OnLog(const char* line) {
    if (strcmp(line, "Finalizing Keyweave") == 0) atomic_store(&sawFini, 1);
    if (strcmp(line, "Cannot initialize Keyweave again: the engine is already running") == 0) {
        atomic_store(&sawSecondInit, 1);
    }
}

/* Presses and releases Space and waits, but not forever, for the lift. */
static int Tap(HandleKeyFunction handleKey) {
    const int before = atomic_load(&taps);
    handleKey(57, 1);
    handleKey(57, 0);
    for (int i = 0; i < 10000 && atomic_load(&taps) == before; ++i) Nap();
    return atomic_load(&taps) > before;
}

static int Fail(const char* what) {
    fprintf(stderr, "unload host: %s\n", what);
    return 1;
}

int main(int argc, char** argv) {
    KeyweaveChar16 keymap[1024];
    if (argc != 3 || !KeyweavePathFromUtf8(argv[2], keymap, sizeof keymap / sizeof keymap[0])) {
        return Fail("usage: unload_host LIBRARY KEYMAP");
    }
    Library library = Open(argv[1]);
    if (library == NULL) return Fail("cannot load the library");
    const InitFunction init = (InitFunction)Find(library, "KeyweaveInit");
    const LoadConfigFunction loadConfig = (LoadConfigFunction)Find(library, "KeyweaveLoadConfig");
    const HandleKeyFunction handleKey = (HandleKeyFunction)Find(library, "KeyweaveHandleKey");
    const VoidFunction fini = (VoidFunction)Find(library, "KeyweaveFini");
    const VersionFunction version = (VersionFunction)Find(library, "GetParserVersion");
    if (!init || !loadConfig || !handleKey || !fini || !version) return Fail("cannot find the functions");

    if (!EarlyLineOf(version)) return Fail("no early line, or a wrong parser version, before KeyweaveInit");
    init(NULL, NULL, OnTouch, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
         NULL, NULL, NULL, OnLog, 0, 1280, 720);
    loadConfig(keymap, keymap, "com.example.unload");
    if (!Tap(handleKey)) return Fail("no tap before unloading");
    fini();
    Close(library);

    if (!StillLoaded(argv[1])) return Fail("the library was unloaded");
    if (!Tap(handleKey)) return Fail("no tap after unloading");

    library = Open(argv[1]);
    if (library == NULL) return Fail("cannot load the library again");
    ((InitFunction)Find(library, "KeyweaveInit"))(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
                                                  NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 0,
                                                  1, 1);
    Close(library);
    if (!Tap(handleKey)) return Fail("no tap after the second KeyweaveInit");
    if (!atomic_load(&sawFini) || !atomic_load(&sawSecondInit)) return Fail("a log line is missing");
    printf("unload host: the library stayed loaded, %d taps played\n", atomic_load(&taps));
    return 0;
}
