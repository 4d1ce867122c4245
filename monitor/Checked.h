#pragma once

#include "platform/Errors.h"
#include "platform/Palette.h"

#include <cstdint>
#include <vector>

namespace monitor {

// 32-bit steps that raise an overflow instead of wrapping.
inline int32_t AddChecked(int32_t a, int32_t b) {
    int32_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        platform::Raise(platform::ErrOverflow, "Overflow");
    return sum;
}
inline int32_t SubtractChecked(int32_t a, int32_t b) {
    int32_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference))
        platform::Raise(platform::ErrOverflow, "Overflow");
    return difference;
}

// A two-dimensional array of colour values indexed (x, y) with x = 0..UpperX and
// y = 0..UpperY; an index outside the bounds raises a subscript error.
class ColourTable {
  public:
    ColourTable() = default;
    ColourTable(int32_t upperX, int32_t upperY) {
        if (upperX < 0 || upperY < 0)
            platform::Raise(platform::ErrSubscriptOutOfRange, "Subscript out of range");
        columns_ = AddChecked(upperX, 1);
        rows_ = AddChecked(upperY, 1);
        values_.assign(static_cast<size_t>(columns_) * static_cast<size_t>(rows_), 0);
    }

    int32_t UpperX() const { return columns_ - 1; }
    int32_t UpperY() const { return rows_ - 1; }

    platform::Colour& operator()(int32_t x, int32_t y) { return values_[Index(x, y)]; }
    platform::Colour operator()(int32_t x, int32_t y) const { return values_[Index(x, y)]; }

  private:
    size_t Index(int32_t x, int32_t y) const {
        if (x < 0 || y < 0 || x >= columns_ || y >= rows_)
            platform::Raise(platform::ErrSubscriptOutOfRange, "Subscript out of range");
        return static_cast<size_t>(x) * static_cast<size_t>(rows_) + static_cast<size_t>(y);
    }

    int32_t columns_ = 0;
    int32_t rows_ = 0;
    std::vector<platform::Colour> values_;
};

} // namespace monitor
