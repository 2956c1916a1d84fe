/* The public headers compiled as strict C99 (the warnings are in
 * CMakeLists.txt), with the UTF-8 path helper as a C99 host gets it. */
#include <keyweave/keyweave.h>

#if KEYWEAVE_VERSION < KEYWEAVE_VERSION_NUMBER(0, 1, 0)
#error "the version macros work in #if"
#endif

int KeyweaveUtf8AsC99(const char* utf8, KeyweaveChar16* out, size_t capacity);
int KeyweaveUtf8AsC99(const char* utf8, KeyweaveChar16* out, size_t capacity) {
    return KeyweavePathFromUtf8(utf8, out, capacity);
}
