// How components are grouped into scans and in which order an interleaved
// scan visits their blocks. The statistics pass and the coder both go through
// these two functions, so the symbols counted are exactly the symbols coded.
#pragma once

#include <array>
#include <cmath>
#include <vector>

#include "ClsJPEG.h"

namespace vardolin {

struct ScanGroup {
    int32_t first;  // list positions first..last form one scan
    int32_t last;
    bool Interleaved() const { return last > first; }
};

// Up to three components and at most ten blocks per MCU go into one scan; a
// component that does not fit opens the next one, and a component whose own
// blocks exceed ten is coded alone.
std::vector<ScanGroup> GroupScans(const std::vector<Component>& components, const ScanLists& lists,
                                  int32_t first, int32_t last);

// Checks list positions and selectors before anything indexes with them.
void ValidateScanLists(const std::vector<Component>& components, const ScanLists& lists,
                       int32_t first, int32_t last);

// Where one component of an interleaved scan stands while its blocks are visited.
struct InterleavedCursor {
    const Component* component = nullptr;
    int32_t blocksPerRow = 0;
    int32_t rowSkip = 0;
    int32_t lastColumnBlocks = 0;
    std::array<int32_t, 4> rowPosition{};
};

InterleavedCursor MakeInterleavedCursor(const Component& component, int32_t imageWidth,
                                        int32_t maxH);

// Visits the blocks of an interleaved scan in coding order: MCU rows from the
// top, MCUs from the left, components in list order, each component's H x V
// blocks row by row. visit(j, position) gets the cursor index and the index
// of a real block in its coefficients (and must not advance it), or -1 for a
// filler block that only pads the MCU.
template <class Visit>
void WalkInterleaved(std::vector<InterleavedCursor>& cursors, int32_t imageWidth,
                     int32_t imageHeight, int32_t maxH, int32_t maxV, Visit&& visit) {
    const int32_t mcusPerRow = checked::Add(imageWidth, checked::Add(8 * maxH, -1)) / (8 * maxH);
    const int32_t mcuRows = checked::Add(imageHeight, checked::Add(8 * maxV, -1)) / (8 * maxV);
    for (int32_t mcuRow = 0; mcuRow < mcuRows; ++mcuRow) {
        const bool lastRow = mcuRow == mcuRows - 1;
        for (int32_t mcu = 0; mcu < mcusPerRow; ++mcu) {
            const bool lastInRow = mcu == mcusPerRow - 1;
            for (size_t j = 0; j < cursors.size(); ++j) {
                InterleavedCursor& cursor = cursors[j];
                const int64_t length = static_cast<int64_t>(cursor.component->Coefficients.size());
                for (int32_t r = 0; r < cursor.component->V; ++r) {
                    for (int32_t w = 1; w <= cursor.component->H; ++w) {
                        int32_t& position = cursor.rowPosition[r];
                        bool filler = (lastInRow && w > cursor.lastColumnBlocks) ||
                                      (lastRow && position > length - 1);
                        if (filler) {
                            visit(j, -1);
                            continue;
                        }
                        if (position < 0 || position + 64 > length) throw JpegError::OutOfRange();
                        visit(j, position);
                        position += 64;
                    }
                }
            }
        }
        if (lastRow) break;
        for (InterleavedCursor& cursor : cursors)
            for (int32_t r = 0; r < cursor.component->V; ++r)
                cursor.rowPosition[r] = checked::Add(cursor.rowPosition[r], cursor.rowSkip);
    }
}

}  // namespace vardolin
