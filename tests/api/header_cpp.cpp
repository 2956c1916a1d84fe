// The public headers compiled as C++ with the strictest warnings (see
// CMakeLists.txt), with the UTF-8 path helper as a C++ host gets it.
#include <keyweave/keyweave.h>

int KeyweaveUtf8AsCpp(const char* utf8, KeyweaveChar16* out, size_t capacity);
int KeyweaveUtf8AsCpp(const char* utf8, KeyweaveChar16* out, size_t capacity) {
    return KeyweavePathFromUtf8(utf8, out, capacity);
}
