// ClsJPEG: a baseline JPEG encoder (8-bit samples, Huffman tables built for
// each picture, JFIF 1.01). Use: construct, optionally set Quality,
// SetSamplingFrequencies and Comment, call SampleHDC once, then SaveFile.
//
// Every failure the callers must see is a ComponentError with the number and
// description automation clients get.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "encoder/EncoderPath.h"
#include "encoder/EncoderState.h"
#include "encoder/NumberedError.h"
#include "encoder/PictureSource.h"
#include "encoder/SingleByteConverter.h"

namespace vardolin {

struct EncoderKernels;

class ClsJPEG {
public:
    ClsJPEG();

    int32_t Quality() const { return QualityValue; }
    void SetQuality(int32_t quality);

    void SetSamplingFrequencies(int32_t H1, int32_t V1, int32_t H2, int32_t V2, int32_t H3, int32_t V3);

    const std::u16string& Comment() const { return CommentText; }
    void SetComment(const std::u16string& text);

    // Takes the picture: status 0 when it was taken, 1 when the source could
    // not make its canvas.
    int32_t SampleHDC(PictureSource& source, int32_t lWidth, int32_t lHeight, int32_t lSrcLeft = 0,
                      int32_t lSrcTop = 0);

    // Writes the sampled picture: 0 written, 1 empty name, 2 the file exists.
    // The file appears complete or not at all.
    int32_t SaveFile(const std::filesystem::path& filename);

    // The bytes SaveFile would write, without touching the file system.
    std::vector<uint8_t> Encode();

    // The code page used for comment characters (Latin-1 unless set).
    void SetSingleByteConverter(SingleByteConverter converter) { ToSingleByte = std::move(converter); }

    // How the heavy stages are done (the fastest path unless chosen). Every
    // path writes the same bytes. Returns false, changing nothing, for a path
    // this build or processor cannot run.
    bool SetEncoderPath(EncoderPath path);
    EncoderPath Path() const;

    // Read-only views of the tables and components.
    const QuantizationTable& QuantTable(int index) const { return State.QuantTables.at(index); }
    const HuffmanTable& ACTable(int index) const { return State.ACHuffmanTables.at(index); }
    const std::vector<Component>& ComponentList() const { return State.Components; }
    int32_t MaxH() const { return State.MaxHSampling; }
    int32_t MaxV() const { return State.MaxVSampling; }

private:
    friend struct EncoderInternals;

    EncoderState State;
    int32_t QualityValue = 0;
    std::u16string CommentText;
    SingleByteConverter ToSingleByte;
    const EncoderKernels* Kernels;
};

}  // namespace vardolin
