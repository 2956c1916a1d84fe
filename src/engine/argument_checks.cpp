#include "engine/argument_checks.h"

#include <cmath>
#include <string>

namespace Keyweave {

template <typename... Args>
ArgumentChecks& ArgumentChecks::Refuse(const char* reason, const Args&... args) {
    if (accepted_) {
        const std::string format = std::string("Cannot %s: ") + reason;
        log_.Write(format.c_str(), call_, args...);
    }
    accepted_ = false;
    return *this;
}

ArgumentChecks& ArgumentChecks::Finite(const char* name, float value) {
    if (!std::isfinite(value)) return Refuse("%s %g is not a finite number", name, value);
    return *this;
}

ArgumentChecks& ArgumentChecks::NotNegative(const char* name, float value) {
    if (!std::isfinite(value)) return Finite(name, value);
    if (value < 0.0f) return Refuse("%s %g is negative", name, value);
    return *this;
}

ArgumentChecks& ArgumentChecks::Position(const char* name, float value) {
    if (!std::isfinite(value)) return Finite(name, value);
    if (value < kLowestPosition || value > kHighestPosition) {
        return Refuse("%s %g is not between %g and %g", name, value, kLowestPosition, kHighestPosition);
    }
    return *this;
}

ArgumentChecks& ArgumentChecks::Duration(const char* name, int64_t milliseconds) {
    const auto shown = static_cast<long long>(milliseconds);
    if (milliseconds < 0) return Refuse("%s %lld ms is negative", name, shown);
    if (milliseconds > kLongestGestureMs) {
        return Refuse("%s %lld ms is over %lld ms", name, shown, static_cast<long long>(kLongestGestureMs));
    }
    return *this;
}

}  // namespace Keyweave
