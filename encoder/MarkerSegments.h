// The segments around the entropy-coded data: APP0, COM, DQT, SOF0, DHT and
// the scan header SOS.
#pragma once

#include <cstdint>
#include <string>

#include "encoder/EncoderState.h"
#include "encoder/OutputStream.h"
#include "encoder/ScanWalker.h"
#include "encoder/SingleByteConverter.h"

namespace vardolin {

void WriteAPP0(OutputStream& out);
// Nothing for an empty text; error 6 for a character of more than one byte.
void WriteCOM(OutputStream& out, const std::u16string& text, const SingleByteConverter& toSingleByte);
void WriteDQT(OutputStream& out, const EncoderState& state, int32_t table);
void WriteSOF0(OutputStream& out, const EncoderState& state);
void WriteDHT(OutputStream& out, const EncoderState& state, int32_t table, bool isAC);
void WriteSOS(OutputStream& out, const EncoderState& state, const ScanLists& lists, const ScanGroup& scan);

}  // namespace vardolin
