#include "encoder/FileWriter.h"

#include <string_view>

#include "encoder/EntropyCoder.h"
#include "encoder/HuffmanOptimizer.h"
#include "encoder/MarkerSegments.h"
#include "encoder/Markers.h"

namespace vardolin {

namespace {

constexpr std::u16string_view kEncoderComment =
    u"JPEG Encoder Class\r\n"
    u"Written by the Vardolin developers, dev@vardolin.example\r\n"
    u"Source code published at https://vardolin.example/source";

}  // namespace

std::vector<uint8_t> WriteJpegFile(EncoderState& state, const EncoderKernels& kernels, const std::u16string& comment,
                                   const SingleByteConverter& toSingleByte) {
    const ScanLists lists = DefaultScanLists(state);
    const int32_t last = state.ComponentCount - 1;
    const int32_t estimate = OptimizeHuffmanTables(state, lists, 0, last);
    const int32_t expected = checked::RoundToInt32(estimate * 1.3 + 1000 + static_cast<double>(comment.size()));

    OutputStream out(static_cast<size_t>(expected) + 1);
    out.PutMarker(marker::SOI);
    WriteAPP0(out);
    WriteCOM(out, comment, toSingleByte);
    WriteCOM(out, std::u16string(kEncoderComment), toSingleByte);
    WriteDQT(out, state, 0);
    if (state.ComponentCount > 1) WriteDQT(out, state, 1);
    WriteSOF0(out, state);
    WriteDHT(out, state, 0, false);
    WriteDHT(out, state, 0, true);
    if (state.ComponentCount > 1) {
        WriteDHT(out, state, 1, false);
        WriteDHT(out, state, 1, true);
    }
    WriteScans(out, state, kernels, lists, 0, last);
    out.PutMarker(marker::EOI);
    return std::move(out.Bytes());
}

}  // namespace vardolin
