#pragma once
// What the engine needs from the operating system, and nothing more.
//
// Engine code includes only this header. CMake compiles exactly one backend:
// win32/ (real Win32 calls) or posix/ (a small layer of our own). No engine
// file includes windows.h or a POSIX header, and no engine file has an
// #ifdef for the platform.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "keyweave/keyweave.h"
#include "platform/thread_annotations.h"

namespace Keyweave::Platform {

// Milliseconds of a monotonic clock that does not wrap while the process runs,
// and microseconds of the same clock (MonotonicMs() is MonotonicUs() / 1000).
[[nodiscard]] uint64_t MonotonicMs();
[[nodiscard]] uint64_t MonotonicUs();

// Sleeps the calling thread for about `ms` milliseconds.
void SleepMs(uint32_t ms);

// Busy-waits for `us` microseconds on the high-resolution counter.
void SpinMicroseconds(uint32_t us);

// CPU time (user and system) the whole process has used so far, in
// microseconds; 0 when the system cannot say.
[[nodiscard]] int64_t ProcessCpuUs();

// The calling thread's last system error code, and its description: on
// Windows the message attached to the HRESULT built from the error code
// (empty when none is attached); elsewhere the C library's text for errno.
[[nodiscard]] int32_t LastErrorCode();
[[nodiscard]] std::string LastErrorText();

// Writes one line to the platform's debug output, for messages that cannot go
// through the host's log: standard error on POSIX systems, the debugger's
// output (OutputDebugStringA) on Windows. A line end is added.
void DebugOutput(const char* line);

// Keeps the library that holds the engine loaded until the process ends,
// whatever the host unloads: once the engine's threads run its code, the
// library must stay. On Windows the DLL pins itself; the POSIX shared library
// is linked with -z nodelete, which does the same from the start, so this
// does nothing there. False when the system refused (LastErrorText says why).
[[nodiscard]] bool KeepLibraryLoaded();

// Opens a file for reading, in binary mode and shared with other readers, by a
// NUL-terminated UTF-16 path: the wide-character API on Windows, the path
// converted to UTF-8 elsewhere. Null when it cannot be opened.
[[nodiscard]] std::FILE* OpenForReading(const KeyweaveChar16* path);

// Creates (or empties) a file for writing in binary mode, by the same kind of
// path. Null when it cannot be opened.
std::FILE* OpenForWriting(const KeyweaveChar16* path);

// Mutual exclusion that a thread must not take twice (a critical section on
// Windows). Meets BasicLockable; take it with LockGuard, which the
// thread-safety analysis follows (std::lock_guard it does not).
//
// The locks, the event and the thread below keep their system object behind
// a pointer because this header is included by every engine file and names
// no system type: the Win32 backend's CRITICAL_SECTION and HANDLE would
// bring windows.h into all of them, and the POSIX backend follows the same
// shape. One allocation when the object is made, none when it is used.
class KEYWEAVE_CAPABILITY("mutex") Lock {
public:
    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    void lock() KEYWEAVE_ACQUIRE();
    void unlock() KEYWEAVE_RELEASE();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Mutual exclusion that the owning thread may take again. The analysis does
// not know that: it reports a second acquisition in the same function, so
// each use states the nesting it exists for.
class KEYWEAVE_CAPABILITY("mutex") RecursiveLock {
public:
    RecursiveLock();
    ~RecursiveLock();
    RecursiveLock(const RecursiveLock&) = delete;
    RecursiveLock& operator=(const RecursiveLock&) = delete;
    void lock() KEYWEAVE_ACQUIRE();
    void unlock() KEYWEAVE_RELEASE();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Holds a Lock or a RecursiveLock from its construction to the end of its scope.
template <typename Mutex>
class KEYWEAVE_SCOPED_CAPABILITY LockGuard {
public:
    explicit LockGuard(Mutex& mutex) KEYWEAVE_ACQUIRE(mutex) : mutex_(mutex) { mutex_.lock(); }
    ~LockGuard() KEYWEAVE_RELEASE() { mutex_.unlock(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    Mutex& mutex_;
};

// Auto-reset event: Set wakes one waiter, or the next wait when nobody waits.
// A failed creation leaves the event invalid; every call on an invalid event
// fails at once, and the system's last error says why.
class Event {
public:
    static constexpr uint32_t kInfinite = 0xFFFFFFFFu;
    enum class Wait { kSignaled, kTimeout, kFailed };

    Event();
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    [[nodiscard]] bool Valid() const;
    bool Set();
    // Waits up to `timeoutMs` (kInfinite: no limit) and consumes the signal.
    Wait WaitFor(uint32_t timeoutMs);
    // The same for a finite wait of `timeoutUs` microseconds, as precise as
    // the system's timers allow.
    Wait WaitForUs(uint64_t timeoutUs);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A thread started through the C runtime, with the default stack size
// (behind a pointer for the reason given at Lock).
class Thread {
public:
    using Body = void (*)(void* argument);

    Thread();
    ~Thread();  // joins a thread that is still running
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Returns 0, or the C runtime's error number when the thread could not start.
    int Start(Body body, void* argument);
    [[nodiscard]] bool Running() const;
    void Join();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The physical state of keys and of the left mouse button, as the key-state
// queries of the sequences need it, and the pointer re-centring of touch-move.
// Key codes are the engine's (set-1 scan codes, E0 prefix in the byte above,
// mouse pseudo keys 256..261).
class InputState {
public:
    virtual ~InputState() = default;
    [[nodiscard]] virtual bool IsKeyDown(uint32_t keyCode) const = 0;
    [[nodiscard]] virtual bool IsLeftButtonDown() const = 0;
    // What the engine's own exports saw; a backend that asks the system may ignore it.
    virtual void NoteKey(uint32_t keyCode, bool down) = 0;
    virtual void NoteLeftButton(bool down) = 0;
    // Moves the pointer to the centre of the client area of the window under it.
    virtual void RecenterCursor() = 0;
};

// The state the engine itself has seen through its key and mouse exports:
// pressed and not yet released. Used by the POSIX build and by tests on every
// platform, so that their timelines do not depend on the desk they run on.
[[nodiscard]] std::unique_ptr<InputState> CreateRecordedInputState();

// The system's own state where the platform has one (GetAsyncKeyState on
// Windows), the recorded state elsewhere.
[[nodiscard]] std::unique_ptr<InputState> CreateSystemInputState();

}  // namespace Keyweave::Platform
