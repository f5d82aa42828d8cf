#include "encoder/ScanWalker.h"

#include <cmath>

namespace vardolin {

ScanLists DefaultScanLists(const EncoderState& state) {
    ScanLists lists;
    for (int32_t i = 0; i < state.ComponentCount; ++i) {
        lists.ScanComponents.push_back(i);
        lists.DCSelectors.push_back(i == 0 ? 0 : 1);
        lists.ACSelectors.push_back(i == 0 ? 0 : 1);
    }
    return lists;
}

std::vector<ScanGroup> GroupScans(const std::vector<Component>& components, const ScanLists& lists, int32_t first,
                                  int32_t last) {
    std::vector<ScanGroup> groups;
    int32_t blocks = 0;
    int32_t scanStart = first;
    int32_t i = first;
    while (scanStart <= last) {
        const Component& c = components[lists.ScanComponents[i]];
        blocks += c.H * c.V;
        int32_t next = i + 1;
        bool closed = false;
        if (blocks > 10) {
            closed = true;
            if (i != scanStart) next = i;
        } else if (next - scanStart == 3 || next > last) {
            closed = true;
        }
        if (closed) {
            groups.push_back({scanStart, next - 1});
            scanStart = next;
            blocks = 0;
        }
        i = next;
    }
    return groups;
}

void ValidateScanLists(const std::vector<Component>& components, const ScanLists& lists, int32_t first, int32_t last) {
    auto inRange = [](int64_t index, size_t size) { return index >= 0 && index < int64_t(size); };
    if (first > last) return;
    if (!inRange(first, lists.ScanComponents.size()) || !inRange(last, lists.ScanComponents.size()) ||
        lists.DCSelectors.size() != lists.ScanComponents.size() ||
        lists.ACSelectors.size() != lists.ScanComponents.size())
        throw ComponentError::OutOfRange();
    for (int32_t p = first; p <= last; ++p) {
        if (!inRange(lists.ScanComponents[p], components.size()) || !inRange(lists.DCSelectors[p], 4) ||
            !inRange(lists.ACSelectors[p], 4))
            throw ComponentError::OutOfRange();
    }
}

InterleavedCursor MakeInterleavedCursor(const Component& component, int32_t imageWidth, int32_t maxH) {
    InterleavedCursor cursor;
    cursor.component = &component;
    double sampledWidth = -std::floor(-(static_cast<double>(imageWidth) * component.H) / maxH);
    cursor.blocksPerRow = checked::RoundToInt32(7 + sampledWidth) / 8;
    int32_t rowBytes = checked::Mul(cursor.blocksPerRow, 64);
    for (int32_t r = 0; r < component.V; ++r) cursor.rowPosition[r] = checked::Mul(rowBytes, r);
    cursor.rowSkip = checked::Mul(component.V - 1, rowBytes);
    int32_t remainder = cursor.blocksPerRow % component.H;
    cursor.lastColumnBlocks = remainder == 0 ? component.H : remainder;
    return cursor;
}

}  // namespace vardolin
