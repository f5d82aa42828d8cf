// SaveFile: assembles the whole JFIF file in memory (markers, tables built
// for this picture, scans) and only then writes it in one go.
#include <string_view>

#include "ClsJPEG.h"
#include "FileOutput.h"

namespace vardolin {

namespace {

constexpr std::u16string_view kEncoderComment =
    u"JPEG Encoder Class\r\n"
    u"Written by the Vardolin developers, dev@vardolin.example\r\n"
    u"Source code published at https://vardolin.example/source";

void WriteAPP0(OutputStream& out) {
    static constexpr uint8_t kApp0[18] = {0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00,
                                          0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};
    for (uint8_t b : kApp0) out.Put(b);
}

// Starts a segment at segmentStart unless one is already open there; the
// length is patched in when the segment's content is complete.
void OpenSegment(OutputStream& out, int32_t segmentStart, uint8_t marker) {
    if (out.Position() >= segmentStart + 4) return;
    out.PutMarker(marker);
    out.Put16(0);
}

void CloseSegment(OutputStream& out, int32_t segmentStart) {
    out.Patch16(segmentStart + 2, out.Position() - segmentStart - 2);
}

}  // namespace

int32_t ClsJPEG::SaveFile(const std::filesystem::path& filename) {
    if (filename.empty()) return 1;
    if (FileExists(filename)) return 2;
    std::vector<uint8_t> bytes = Encode();
    return WriteNewFile(filename, bytes) ? 0 : 2;
}

ScanLists ClsJPEG::DefaultScanLists() const {
    ScanLists lists;
    for (int32_t i = 0; i < ComponentCount; ++i) {
        lists.ScanComponents.push_back(i);
        lists.DCSelectors.push_back(i == 0 ? 0 : 1);
        lists.ACSelectors.push_back(i == 0 ? 0 : 1);
    }
    return lists;
}

std::vector<uint8_t> ClsJPEG::Encode() {
    const ScanLists lists = DefaultScanLists();
    const int32_t last = ComponentCount - 1;
    const int32_t estimate = OptimizeHuffmanTables(lists, 0, last);
    const int32_t expected = checked::RoundToInt32(
        estimate * 1.3 + 1000 + static_cast<double>(CommentText.size()));

    OutputStream out(static_cast<size_t>(expected) + 1);
    out.PutMarker(0xD8);
    WriteAPP0(out);
    WriteCOM(out, CommentText);
    WriteCOM(out, std::u16string(kEncoderComment));
    WriteDQT(out, out.Position(), 0);
    if (ComponentCount > 1) WriteDQT(out, out.Position(), 1);
    WriteSOF(out, 0xC0);
    WriteDHT(out, out.Position(), 0, false);
    WriteDHT(out, out.Position(), 0, true);
    if (ComponentCount > 1) {
        WriteDHT(out, out.Position(), 1, false);
        WriteDHT(out, out.Position(), 1, true);
    }
    WriteScans(out, lists, 0, last);
    out.PutMarker(0xD9);
    return std::move(out.Bytes());
}

void ClsJPEG::WriteCOM(OutputStream& out, const std::u16string& text) const {
    if (text.empty()) return;
    const int32_t length = checked::Add(static_cast<int64_t>(text.size()), 2);
    out.PutMarker(0xFE);
    out.PutByteChecked(length / 256);
    out.PutByteChecked(length % 256);
    for (char16_t c : text) out.PutByteChecked(ToSingleByte(c));
}

void ClsJPEG::WriteDQT(OutputStream& out, int32_t segmentStart, int32_t table) const {
    if (table < 0 || table > 3) throw JpegError::OutOfRange();
    OpenSegment(out, segmentStart, 0xDB);
    const auto& qk = QuantTables[table].Qk;
    bool eightBit = true;
    for (int16_t q : qk) eightBit = eightBit && q <= 255;
    if (eightBit) {
        out.Put(static_cast<uint8_t>(table));
        for (int16_t q : qk) out.PutByteChecked(q);
    } else {
        if (Precision != 12)
            throw JpegError(ErrorNumber::InvalidValue, messages::kInvalidTablePrecision);
        out.Put(static_cast<uint8_t>(table + 16));
        for (int16_t q : qk) out.Put16(q);
    }
    CloseSegment(out, segmentStart);
}

void ClsJPEG::WriteSOF(OutputStream& out, int32_t marker) const {
    out.PutMarker(static_cast<uint8_t>(marker));
    out.Put16(8 + 3 * ComponentCount);
    out.PutByteChecked(Precision);
    out.Put16(ImageHeight);
    out.Put16(ImageWidth);
    out.PutByteChecked(ComponentCount);
    for (const Component& c : Components) {
        out.PutByteChecked(c.Id);
        out.PutByteChecked(c.H * 16 + c.V);
        out.PutByteChecked(c.QuantTableIndex);
    }
}

void ClsJPEG::WriteDHT(OutputStream& out, int32_t segmentStart, int32_t table, bool isAC) const {
    if (table < 0 || table > 3) throw JpegError::OutOfRange();
    OpenSegment(out, segmentStart, 0xC4);
    const HuffmanTable& huffman = isAC ? ACHuffmanTables[table] : DCHuffmanTables[table];
    out.Put(static_cast<uint8_t>(isAC ? table + 16 : table));
    int32_t count = 0;
    for (uint8_t bits : huffman.Bits) {
        out.Put(bits);
        count += bits;
    }
    if (count > 256) throw JpegError::OutOfRange();
    for (int32_t i = 0; i < count; ++i) out.Put(huffman.HuffVal[i]);
    CloseSegment(out, segmentStart);
}

}  // namespace vardolin
