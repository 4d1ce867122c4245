#include "platform/Convert.h"

#include "platform/Errors.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace platform {

namespace {

template <class Int> Int RoundToEven(double value) {
    if (std::isnan(value))
        Raise(ErrOverflow, "Overflow");
    // nearbyint honours the current rounding mode; ties go to even only under FE_TONEAREST.
    // Switching the mode costs more than the rounding: only when it is not already right.
    const int previous = std::fegetround();
    if (previous != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    if (previous != FE_TONEAREST)
        std::fesetround(previous);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        Raise(ErrOverflow, "Overflow");
    return static_cast<Int>(rounded);
}

} // namespace

int32_t CLng(double value) {
    return RoundToEven<int32_t>(value);
}
int16_t CInt(double value) {
    return RoundToEven<int16_t>(value);
}

std::string Str(int64_t value) {
    return std::to_string(value);
}

} // namespace platform
