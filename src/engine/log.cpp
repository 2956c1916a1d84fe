#include "engine/log.h"

#include <cstdarg>

namespace Keyweave {

void Log::Emit(const char* format, va_list arguments) const {
    if (sink_ == nullptr) return;  // nothing is installed before the engine starts
    char line[kLineBytes] = {};
    FormatV(line, sizeof line, format, arguments);
    sink_(context_, line);
}

void Log::Write(const char* format, ...) const {
    va_list arguments;
    va_start(arguments, format);
    Emit(format, arguments);
    va_end(arguments);
}

void Log::Detail(const char* format, ...) const {
    if (!verbose_) return;
    va_list arguments;
    va_start(arguments, format);
    Emit(format, arguments);
    va_end(arguments);
}

}  // namespace Keyweave
