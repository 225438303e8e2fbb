// What the load and the layout of the line table share: the size of a row
// index block and the saturation of widths and row counts at the limits of
// their fields.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

// Lines per entry of a slot's row index.
constexpr std::uint32_t ROW_BLOCK = 1024;

inline std::uint32_t SaturatedWidth(std::uint64_t column) {
    return std::uint32_t(
        std::min<std::uint64_t>(column, std::numeric_limits<std::uint32_t>::max()));
}

inline std::int32_t SaturatedRows(std::uint64_t rows) {
    return std::int32_t(std::min<std::uint64_t>(rows, std::numeric_limits<std::int32_t>::max()));
}
