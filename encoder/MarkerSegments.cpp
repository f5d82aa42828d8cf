#include "encoder/MarkerSegments.h"

#include "encoder/Markers.h"

namespace vardolin {

namespace {

// Starts a segment whose length is patched in by CloseSegment.
int32_t OpenSegment(OutputStream& out, uint8_t code) {
    const int32_t start = out.Position();
    out.PutMarker(code);
    out.Put16(0);
    return start;
}

// The length counts the segment's bytes after its marker.
void CloseSegment(OutputStream& out, int32_t start) { out.Patch16(start + 2, out.Position() - start - 2); }

}  // namespace

void WriteAPP0(OutputStream& out) {
    const int32_t start = OpenSegment(out, marker::APP0);
    for (char c : kApp0.identifier) out.Put(static_cast<uint8_t>(c));
    out.Put(kApp0.versionMajor);
    out.Put(kApp0.versionMinor);
    out.Put(kApp0.units);
    out.Put16(kApp0.xDensity);
    out.Put16(kApp0.yDensity);
    out.Put(kApp0.thumbnailWidth);
    out.Put(kApp0.thumbnailHeight);
    CloseSegment(out, start);
}

void WriteCOM(OutputStream& out, const std::u16string& text, const SingleByteConverter& toSingleByte) {
    if (text.empty()) return;
    const int32_t length = checked::Add(static_cast<int64_t>(text.size()), 2);
    out.PutMarker(marker::COM);
    out.PutByteChecked(length / 256);
    out.PutByteChecked(length % 256);
    for (char16_t c : text) out.PutByteChecked(toSingleByte(c));
}

// Entries of 8 bits; 16-bit entries would need 12-bit samples.
void WriteDQT(OutputStream& out, const EncoderState& state, int32_t table) {
    if (table < 0 || table > 3) throw ComponentError::OutOfRange();
    const int32_t start = OpenSegment(out, marker::DQT);
    const auto& qk = state.QuantTables[table].Qk;
    bool eightBit = true;
    for (int16_t q : qk) eightBit = eightBit && q <= 255;
    if (eightBit) {
        out.Put(static_cast<uint8_t>(table));
        for (int16_t q : qk) out.PutByteChecked(q);
    } else {
        if (state.Precision != 12) throw ComponentError(error_number::kInvalidValue, messages::kInvalidTablePrecision);
        out.Put(static_cast<uint8_t>(table + 16));
        for (int16_t q : qk) out.Put16(q);
    }
    CloseSegment(out, start);
}

void WriteSOF0(OutputStream& out, const EncoderState& state) {
    out.PutMarker(marker::SOF0);
    out.Put16(8 + 3 * state.ComponentCount);
    out.PutByteChecked(state.Precision);
    out.Put16(state.ImageHeight);
    out.Put16(state.ImageWidth);
    out.PutByteChecked(state.ComponentCount);
    for (const Component& c : state.Components) {
        out.PutByteChecked(c.Id);
        out.PutByteChecked(c.H * 16 + c.V);
        out.PutByteChecked(c.QuantTableIndex);
    }
}

void WriteDHT(OutputStream& out, const EncoderState& state, int32_t table, bool isAC) {
    if (table < 0 || table > 3) throw ComponentError::OutOfRange();
    const int32_t start = OpenSegment(out, marker::DHT);
    const HuffmanTable& huffman = isAC ? state.ACHuffmanTables[table] : state.DCHuffmanTables[table];
    out.Put(static_cast<uint8_t>(isAC ? table + 16 : table));  // class (0 DC, 1 AC) and destination
    int32_t count = 0;
    for (uint8_t bits : huffman.Bits) {
        out.Put(bits);
        count += bits;
    }
    if (count > 256) throw ComponentError::OutOfRange();
    for (int32_t i = 0; i < count; ++i) out.Put(huffman.HuffVal[i]);
    CloseSegment(out, start);
}

// Each component's identifier and table selectors, then the spectral
// selection 0..63 and no successive approximation, as baseline requires.
void WriteSOS(OutputStream& out, const EncoderState& state, const ScanLists& lists, const ScanGroup& scan) {
    const int32_t count = scan.last - scan.first + 1;
    out.PutMarker(marker::SOS);
    out.Put16(2 * count + 6);
    out.PutByteChecked(count);
    for (int32_t p = scan.first; p <= scan.last; ++p) {
        out.PutByteChecked(state.Components[lists.ScanComponents[p]].Id);
        out.PutByteChecked(lists.DCSelectors[p] * 16 + lists.ACSelectors[p]);
    }
    out.Put(0x00);  // first coefficient of the scan
    out.Put(0x3F);  // last coefficient
    out.Put(0x00);  // successive approximation bits
}

}  // namespace vardolin
