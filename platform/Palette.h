#pragma once

#include <cstdint>

namespace platform {

// Colour values are 0x00BBGGRR; the high bit marks a system colour index.
using Colour = int32_t;

constexpr Colour vbBlack = 0x000000;
constexpr Colour vbRed = 0x0000FF;
constexpr Colour vbGreen = 0x00FF00;
constexpr Colour vbWhite = 0xFFFFFF;
constexpr Colour SystemColour(int index) {
    return static_cast<Colour>(0x80000000u | index);
}

// The classic 16-colour palette: 0 black ... 15 bright white.
Colour QBColor(int index);

} // namespace platform
