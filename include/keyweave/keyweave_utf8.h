/*
 * Keyweave: UTF-8 paths for the functions that take UTF-16 ones.
 *
 * Hosts that hold their paths as UTF-8 (Linux programs, mostly) convert them
 * with KeyweavePathFromUtf8 before KeyweaveLoadConfig, KeyweaveInit's
 * default keymap or KeyweaveHandleGamePadAttach. Inline code, no export.
 * Included by keyweave/keyweave.h; valid C (C99 or later) and C++.
 */
#ifndef KEYWEAVE_KEYWEAVE_UTF8_H
#define KEYWEAVE_KEYWEAVE_UTF8_H

#include <stddef.h>
#include <stdint.h>

#include "keyweave/keyweave_types.h"

#if defined(__cplusplus)
#define KEYWEAVE_CAST(type, value) static_cast<type>(value)
#else
#define KEYWEAVE_CAST(type, value) ((type)(value))
#endif
/* MSVC's C compiler knows "inline" only from /std:c11 on. */
#if defined(_MSC_VER) && !defined(__cplusplus)
#define KEYWEAVE_INLINE static __inline
#else
#define KEYWEAVE_INLINE static inline
#endif

/*
 * Converts a NUL-terminated UTF-8 string to a NUL-terminated UTF-16 one.
 *
 *   utf8      the path; characters beyond U+FFFF become surrogate pairs.
 *   out       where the UTF-16 path goes.
 *   capacity  the size of out in KeyweaveChar16 units, the terminator
 *             included (a path of n units needs n + 1).
 *
 * Returns 1 on success. Returns 0, with out holding an empty string when
 * capacity is at least 1, when utf8 or out is null, when out is too small,
 * or when utf8 is not valid UTF-8 (a stray or missing continuation byte, an
 * over-long form, a surrogate, a value beyond U+10FFFF).
 * Thread: any; it touches nothing but its arguments.
 */
KEYWEAVE_INLINE int KeyweavePathFromUtf8(const char* utf8, KeyweaveChar16* out, size_t capacity) {
    const unsigned char* in;
    size_t used = 0;
    int valid = 1;
    if (!out || capacity == 0) return 0;
    out[0] = 0;
    if (!utf8) return 0;
    in = KEYWEAVE_CAST(const unsigned char*, KEYWEAVE_CAST(const void*, utf8));
    while (valid && *in != 0) {
        uint32_t code = *in++;
        uint32_t smallest = 0; /* below it the form is over-long */
        int extra = 0;         /* continuation bytes to come */
        if (code >= 0xF8u) {
            valid = 0; /* no lead byte of UTF-8 */
        } else if (code >= 0xF0u) {
            code &= 0x07u;
            extra = 3;
            smallest = 0x10000u;
        } else if (code >= 0xE0u) {
            code &= 0x0Fu;
            extra = 2;
            smallest = 0x800u;
        } else if (code >= 0xC0u) {
            code &= 0x1Fu;
            extra = 1;
            smallest = 0x80u;
        } else if (code >= 0x80u) {
            valid = 0; /* a continuation byte without a lead */
        }
        for (; valid && extra > 0; --extra, ++in) {
            /* The terminator is no continuation byte: a cut sequence fails. */
            if ((*in & 0xC0u) != 0x80u) valid = 0;
            code = (code << 6) | (*in & 0x3Fu);
        }
        if (code < smallest || code > 0x10FFFFu || (code >= 0xD800u && code <= 0xDFFFu)) valid = 0;
        if (!valid) break;
        if (code >= 0x10000u) {
            if (capacity - used < 3) {
                valid = 0;
                break;
            }
            code -= 0x10000u;
            out[used++] = KEYWEAVE_CAST(KeyweaveChar16, 0xD800u + (code >> 10));
            out[used++] = KEYWEAVE_CAST(KeyweaveChar16, 0xDC00u + (code & 0x3FFu));
        } else {
            if (capacity - used < 2) {
                valid = 0;
                break;
            }
            out[used++] = KEYWEAVE_CAST(KeyweaveChar16, code);
        }
    }
    out[valid ? used : 0] = 0;
    return valid;
}

#endif /* KEYWEAVE_KEYWEAVE_UTF8_H */
