#include "platform/Palette.h"

#include "platform/Errors.h"

#include <array>

namespace platform {

Colour QBColor(int index) {
    static constexpr std::array<Colour, 16> palette = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    if (index < 0 || index > 15)
        Raise(ErrInvalidProcedureCall, "Invalid procedure call or argument");
    return palette[static_cast<size_t>(index)];
}

} // namespace platform
