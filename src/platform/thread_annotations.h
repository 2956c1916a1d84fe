#pragma once
// Clang's thread-safety attributes, checked by -Wthread-safety: which lock
// guards a member, which lock a function needs held, in which order locks
// nest. Other compilers see nothing.

#if defined(__clang__)
#define KEYWEAVE_THREAD_ATTRIBUTE(x) __attribute__((x))
#else
#define KEYWEAVE_THREAD_ATTRIBUTE(x)
#endif

// On a lock type.
#define KEYWEAVE_CAPABILITY(name) KEYWEAVE_THREAD_ATTRIBUTE(capability(name))
// On a guard that takes a lock for its own lifetime.
#define KEYWEAVE_SCOPED_CAPABILITY KEYWEAVE_THREAD_ATTRIBUTE(scoped_lockable)
// On a member: read or written only with the lock held.
#define KEYWEAVE_GUARDED_BY(lock) KEYWEAVE_THREAD_ATTRIBUTE(guarded_by(lock))
// On a pointer member: what it points to is read or written only with the lock held.
#define KEYWEAVE_PT_GUARDED_BY(lock) KEYWEAVE_THREAD_ATTRIBUTE(pt_guarded_by(lock))
// On a lock member: the order in which locks nest.
#define KEYWEAVE_ACQUIRED_BEFORE(...) KEYWEAVE_THREAD_ATTRIBUTE(acquired_before(__VA_ARGS__))
#define KEYWEAVE_ACQUIRED_AFTER(...) KEYWEAVE_THREAD_ATTRIBUTE(acquired_after(__VA_ARGS__))
// On a function: the caller holds the lock.
#define KEYWEAVE_REQUIRES(...) KEYWEAVE_THREAD_ATTRIBUTE(requires_capability(__VA_ARGS__))
// On a function: the caller does not hold the lock (the function takes it).
#define KEYWEAVE_EXCLUDES(...) KEYWEAVE_THREAD_ATTRIBUTE(locks_excluded(__VA_ARGS__))
// On a function that takes or lets go of a lock and returns with it so.
#define KEYWEAVE_ACQUIRE(...) KEYWEAVE_THREAD_ATTRIBUTE(acquire_capability(__VA_ARGS__))
#define KEYWEAVE_RELEASE(...) KEYWEAVE_THREAD_ATTRIBUTE(release_capability(__VA_ARGS__))
// On a function that returns normally only when the lock is held.
#define KEYWEAVE_ASSERT_CAPABILITY(lock) KEYWEAVE_THREAD_ATTRIBUTE(assert_capability(lock))
// On an accessor that returns a lock, so that the analysis knows which one.
#define KEYWEAVE_RETURN_CAPABILITY(lock) KEYWEAVE_THREAD_ATTRIBUTE(lock_returned(lock))
// On a function whose locking the analysis cannot follow; say why beside it.
#define KEYWEAVE_NO_THREAD_SAFETY_ANALYSIS KEYWEAVE_THREAD_ATTRIBUTE(no_thread_safety_analysis)
