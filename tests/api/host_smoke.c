/* A minimal host written in C: loads the library, starts the engine and
 * expects its start-up lines, the scheduler thread's among them, through the
 * log callback. Used by the build tree's tests and by the install test. */
#if !defined(_WIN32)
#define _POSIX_C_SOURCE 200809L
#endif
#include <keyweave/keyweave.h>
#include <stdatomic.h>
#include <stdio.h>
#include <string.h>

#if defined(_WIN32)
#include <windows.h>
static void Nap(void) { Sleep(1); }
#else
#include <time.h>
static void Nap(void) {
    struct timespec ts = {0, 1000000L};
    nanosleep(&ts, NULL);
}
#endif

static atomic_int sawInit, sawSchedulerThread, sawFini;
static atomic_int frames;

static void OnLog(const char* line) {
    if (strcmp(line, "Initializing Keyweave") == 0) atomic_store(&sawInit, 1);
    if (strcmp(line, "Starting Keyweave scheduler thread") == 0) atomic_store(&sawSchedulerThread, 1);
    if (strcmp(line, "Finalizing Keyweave") == 0) atomic_store(&sawFini, 1);
}

static void OnTouch(void* context, const KeyweaveTouchPoint* points, uint32_t count, uint32_t flag) {
    (void)context;
    (void)points;
    (void)count;
    (void)flag;
    atomic_fetch_add(&frames, 1);
}

int main(void) {
    static const KeyweaveChar16 defaultPath[] = {'d', 'e', 'f', '.', 'c', 'f', 'g', 0};
    KeyweaveInit(NULL, NULL, OnTouch, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
                 NULL, NULL, NULL, NULL, defaultPath, OnLog, 0, 1280, 720);
    /* The scheduler thread announces itself; wait for it, but not forever. */
    for (int i = 0; i < 10000 && !atomic_load(&sawSchedulerThread); ++i) Nap();
    const int version = GetParserVersion();
    KeyweaveFini();
    if (!atomic_load(&sawInit) || !atomic_load(&sawSchedulerThread) || !atomic_load(&sawFini) || version != 4) {
        fprintf(stderr, "host: init=%d thread=%d fini=%d version=%d\n", atomic_load(&sawInit),
                atomic_load(&sawSchedulerThread), atomic_load(&sawFini), version);
        return 1;
    }
    printf("host: engine started, scheduler thread running, parser version %d\n", version);
    return 0;
}
