#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Fraction to integer: nearest, a half to the even neighbour; out of range raises overflow.
int32_t CLng(double value);
int16_t CInt(double value);

// Integer to text: plain decimal digits, "-" for negatives, no leading blank.
std::string Str(int64_t value);

} // namespace platform
