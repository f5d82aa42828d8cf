// The scan walk: how components are grouped into scans and in which order a
// scan visits their blocks. The Huffman statistics (a counting sink) and the
// entropy coder (an emitting sink) are both driven by WalkScan, so the symbols
// counted are exactly the symbols coded.
#pragma once

#include <array>
#include <vector>

#include "encoder/EncoderState.h"
#include "encoder/NumberedError.h"

namespace vardolin {

// The scan lists: for each list position, the component it codes and the
// DC and AC table it selects.
struct ScanLists {
    std::vector<int32_t> ScanComponents;
    std::vector<int32_t> DCSelectors;
    std::vector<int32_t> ACSelectors;
};

// Every component in order, Y with tables 0 and the chroma components with 1.
ScanLists DefaultScanLists(const EncoderState& state);

struct ScanGroup {
    int32_t first;  // list positions first..last form one scan
    int32_t last;
    bool Interleaved() const { return last > first; }
};

// Up to three components and at most ten blocks per MCU go into one scan; a
// component that does not fit opens the next one, and a component whose own
// blocks exceed ten is coded alone.
std::vector<ScanGroup> GroupScans(const std::vector<Component>& components, const ScanLists& lists, int32_t first,
                                  int32_t last);

// Checks list positions and selectors before anything indexes with them.
void ValidateScanLists(const std::vector<Component>& components, const ScanLists& lists, int32_t first, int32_t last);

// Where one component of an interleaved scan stands while its blocks are visited.
struct InterleavedCursor {
    const Component* component = nullptr;
    int32_t blocksPerRow = 0;
    int32_t rowSkip = 0;
    int32_t lastColumnBlocks = 0;
    std::array<int32_t, 4> rowPosition{};
};

InterleavedCursor MakeInterleavedCursor(const Component& component, int32_t imageWidth, int32_t maxH);

// Visits the blocks of an interleaved scan in coding order: MCU rows from the
// top, MCUs from the left, components in list order, each component's H x V
// blocks row by row. visit(j, position) gets the cursor index and the index
// of a real block in its coefficients (and must not advance it), or -1 for a
// filler block that only pads the MCU.
template <class Visit>
void WalkInterleaved(std::vector<InterleavedCursor>& cursors, int32_t imageWidth, int32_t imageHeight, int32_t maxH,
                     int32_t maxV, Visit&& visit) {
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
                        bool filler = (lastInRow && w > cursor.lastColumnBlocks) || (lastRow && position > length - 1);
                        if (filler) {
                            visit(j, -1);
                            continue;
                        }
                        if (position < 0 || position + 64 > length) throw ComponentError::OutOfRange();
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

// Visits the blocks of one scan in coding order, keeping each component's DC
// predictor: sink.Block(p, dcDifference, reader, block) for a stored block of
// the component at list position p, sink.Filler(p) for a filler block (DC
// difference 0, every AC value 0).
template <class Sink>
void WalkScan(const EncoderState& state, const ScanLists& lists, const ScanGroup& scan, Sink& sink) {
    std::vector<CoefficientStore::Reader> readers;
    std::vector<const int16_t*> dcValues;
    std::vector<int32_t> predictors(size_t(scan.last - scan.first + 1), 0);
    for (int32_t p = scan.first; p <= scan.last; ++p) {
        const CoefficientStore& coefficients = state.Components[lists.ScanComponents[p]].Coefficients;
        readers.emplace_back(coefficients);
        dcValues.push_back(coefficients.DCValues().data());
    }
    // Blocks reach visit within their stores: WalkInterleaved checks them.
    auto visit = [&](size_t j, int32_t block) {
        const int32_t dc = dcValues[j][block];
        const int32_t difference = dc - predictors[j];
        predictors[j] = dc;
        sink.Block(scan.first + static_cast<int32_t>(j), difference, readers[j], block);
    };
    if (!scan.Interleaved()) {
        const int32_t blocks = state.Components[lists.ScanComponents[scan.first]].Coefficients.Blocks();
        for (int32_t block = 0; block < blocks; ++block) visit(0, block);
        return;
    }
    std::vector<InterleavedCursor> cursors;
    for (int32_t p = scan.first; p <= scan.last; ++p)
        cursors.push_back(
            MakeInterleavedCursor(state.Components[lists.ScanComponents[p]], state.ImageWidth, state.MaxHSampling));
    WalkInterleaved(cursors, state.ImageWidth, state.ImageHeight, state.MaxHSampling, state.MaxVSampling,
                    [&](size_t j, int32_t position) {
                        if (position < 0) sink.Filler(scan.first + static_cast<int32_t>(j));
                        else visit(j, position / 64);
                    });
}

}  // namespace vardolin
