// ClsJPEG: a baseline JPEG encoder (8-bit samples, Huffman tables built for
// each picture, JFIF 1.01). Use: construct, optionally set Quality,
// SetSamplingFrequencies and Comment, call SampleHDC once, then SaveFile.
//
// Every failure the callers must see is a JpegError with the number and
// description automation clients get.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CoefficientStore.h"
#include "EncoderPath.h"
#include "HuffmanTable.h"
#include "JpegError.h"
#include "OutputStream.h"
#include "PictureSource.h"
#include "SizeCategory.h"

namespace vardolin {

struct QuantizationTable {
    std::array<int16_t, 64> Qk{};    // quantizer values, zigzag order
    std::array<float, 64> Scale{};   // AanScale[u] * AanScale[v] / Qk, zigzag order
};

struct Component {
    int32_t Id = 0;                  // 1 = Y, 2 = Cb, 3 = Cr
    int32_t H = 0;
    int32_t V = 0;
    int32_t QuantTableIndex = 0;
    CoefficientStore Coefficients;   // 64 per block, zigzag, blocks in raster order
};

// The scan lists shared by the Huffman optimisation and the entropy coder.
struct ScanLists {
    std::vector<int32_t> ScanComponents;
    std::vector<int32_t> DCSelectors;
    std::vector<int32_t> ACSelectors;
};

// Turns one UTF-16 code unit into a byte of the single-byte code page, or
// returns -1 when it needs more than one byte there.
using SingleByteConverter = std::function<int(char16_t)>;

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
    int32_t SampleHDC(PictureSource& source, int32_t lWidth, int32_t lHeight,
                      int32_t lSrcLeft = 0, int32_t lSrcTop = 0);

    // Writes the sampled picture: 0 written, 1 empty name, 2 the file exists.
    // The file appears complete or not at all.
    int32_t SaveFile(const std::filesystem::path& filename);

    // The bytes SaveFile would write, without touching the file system.
    std::vector<uint8_t> Encode();

    // The code page used for comment characters (Latin-1 unless set).
    void SetSingleByteConverter(SingleByteConverter converter) { ToSingleByte = std::move(converter); }

    // Read-only views for callers that inspect the encoder's state.
    const QuantizationTable& QuantTable(int index) const { return QuantTables.at(index); }
    const HuffmanTable& DCTable(int index) const { return DCHuffmanTables.at(index); }
    const HuffmanTable& ACTable(int index) const { return ACHuffmanTables.at(index); }
    const std::vector<Component>& ComponentList() const { return Components; }
    int32_t ImageWidthValue() const { return ImageWidth; }
    int32_t ImageHeightValue() const { return ImageHeight; }
    int32_t MaxH() const { return MaxHSampling; }
    int32_t MaxV() const { return MaxVSampling; }

    // How the heavy stages are done (the fastest path unless chosen). Every
    // path writes the same bytes. Returns false, changing nothing, for a path
    // this build or processor cannot run.
    bool SetEncoderPath(EncoderPath path);
    EncoderPath Path() const { return ActivePath; }

    // Building blocks, public so that they can be checked one by one.
    void ForwardDCT();
    float (&Block())[8][8] { return WorkBlock; }
    void QuantizeBlock(std::vector<int16_t>& coefficients, int32_t& position,
                       const std::array<float, 64>& scale) const;
    int32_t OptimizeHuffmanTables(const ScanLists& lists, int32_t first, int32_t last);
    void WriteScans(OutputStream& out, const ScanLists& lists, int32_t first, int32_t last) const;

    static const std::array<int16_t, 64> BaseLumaTable;
    static const std::array<int16_t, 64> BaseChromaTable;
    static const std::array<double, 8> AanScale;
    static const std::array<std::array<int32_t, 8>, 8> ZigZag;

private:
    void ScaleQuantizationTable(int32_t tableIndex);
    // Sets the 8 pixel rows (top first) of a block row of the area being sampled.
    using BlockRowSource = std::function<void(int32_t blockRow, const uint8_t** rows)>;
    void PrepareComponents(int32_t first, int32_t end, int32_t wp, int32_t hp);
    void SampleOnCanvas(PictureSource& source, int32_t first, int32_t end, int32_t xi, int32_t yi,
                        int32_t lSrcLeft, int32_t lSrcTop, int32_t canvasHeight);
    void SampleByRows(PixelRows& picture, int32_t first, int32_t end, int32_t xi, int32_t yi, int32_t lSrcLeft,
                      int32_t lSrcTop);
    void ConvertAndTransform(int32_t first, int32_t end, int32_t blocksPerRow, int32_t blockRows,
                             const BlockRowSource& rowsOf);
    ScanLists DefaultScanLists() const;
    void WriteCOM(OutputStream& out, const std::u16string& text) const;
    void WriteDQT(OutputStream& out, int32_t segmentStart, int32_t table) const;
    void WriteSOF(OutputStream& out, int32_t marker) const;
    void WriteDHT(OutputStream& out, int32_t segmentStart, int32_t table, bool isAC) const;
    // Codes the blocks that body hands to its coder, between resetting and
    // flushing the bit writer.
    template <class Body>
    void CodeScanData(OutputStream& out, Body&& body) const;
    void WriteSingleScan(OutputStream& out, int32_t component, int32_t dcTable, int32_t acTable) const;
    void WriteInterleavedScan(OutputStream& out, const ScanLists& lists, int32_t first, int32_t last) const;

    int32_t Precision = 0;
    int32_t ImageHeight = 0;
    int32_t ImageWidth = 0;
    int32_t ComponentCount = 0;
    int32_t MaxHSampling = 0;
    int32_t MaxVSampling = 0;
    float WorkBlock[8][8] = {};
    std::array<QuantizationTable, 4> QuantTables{};
    std::array<HuffmanTable, 4> DCHuffmanTables{};
    std::array<HuffmanTable, 4> ACHuffmanTables{};
    std::vector<Component> Components;
    int32_t QualityValue = 0;
    std::u16string CommentText;
    SingleByteConverter ToSingleByte;
    EncoderPath ActivePath = FastestEncoderPath();
};

}  // namespace vardolin
