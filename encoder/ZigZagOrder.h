// The zigzag sequence of the 64 coefficients of a block, computed at compile
// time so that the vector kernels can bake it into their code.
#pragma once

#include <cstdint>

namespace vardolin {

struct ZigZagTable {
    int32_t at[8][8];  // at[v][u]: zigzag position of vertical frequency v, horizontal u
};

// The walk: along the anti-diagonals, turning at the block's edges.
consteval ZigZagTable MakeZigZagTable() {
    ZigZagTable table{};
    int row = 0, column = 0, direction = 1;
    for (int32_t position = 0; position < 64; ++position) {
        table.at[row][column] = position;
        column += direction;
        row -= direction;
        if (column > 7) {
            column = 7;
            row += 2;
            direction = -1;
        } else if (row > 7) {
            row = 7;
            column += 2;
            direction = 1;
        } else if (column < 0) {
            column = 0;
            direction = 1;
        } else if (row < 0) {
            row = 0;
            direction = -1;
        }
    }
    return table;
}

inline constexpr ZigZagTable kZigZagTable = MakeZigZagTable();

// ZigZag[v][u]: the zigzag position of vertical frequency v, horizontal u.
inline constexpr const int32_t (&ZigZag)[8][8] = kZigZagTable.at;

// For each zigzag position z, the index u * 8 + v of its coefficient in a
// block stored column by column (as the vector kernels produce it).
struct ZigZagSources {
    uint8_t from[64];
};

consteval ZigZagSources MakeColumnMajorSources() {
    ZigZagSources sources{};
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u) sources.from[ZigZag[v][u]] = static_cast<uint8_t>(u * 8 + v);
    return sources;
}

inline constexpr ZigZagSources kZigZagFromColumnMajor = MakeColumnMajorSources();

}  // namespace vardolin
