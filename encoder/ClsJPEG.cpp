// Construction and the settings: quality, sampling factors, comment.
#include "ClsJPEG.h"

#include <algorithm>
#include <cmath>

#include "ZigZagOrder.h"

namespace vardolin {

namespace {

std::array<std::array<int32_t, 8>, 8> MakeZigZag() {
    std::array<std::array<int32_t, 8>, 8> zigzag{};
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u) zigzag[v][u] = kZigZag.at[v][u];
    return zigzag;
}

// Comment characters map to the byte of the same value unless the platform
// supplies its own code page.
int Latin1(char16_t c) { return c <= 0xFF ? static_cast<int>(c) : -1; }

}  // namespace

const std::array<int16_t, 64> ClsJPEG::BaseLumaTable = {
    16, 11, 12, 14, 12, 10, 16, 14, 13, 14, 18, 17, 16, 19, 24, 40,
    26, 24, 22, 22, 24, 49, 35, 37, 29, 40, 58, 51, 61, 60, 57, 51,
    56, 55, 64, 72, 92, 78, 64, 68, 87, 69, 55, 56, 80, 109, 81, 87,
    95, 98, 103, 104, 103, 62, 77, 113, 121, 112, 100, 120, 92, 101, 103, 99};

const std::array<int16_t, 64> ClsJPEG::BaseChromaTable = {
    17, 18, 18, 24, 21, 24, 47, 26, 26, 47, 99, 66, 56, 66, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

const std::array<double, 8> ClsJPEG::AanScale = {
    0.353553390593273, 0.25489778955208,  0.270598050073098, 0.300672443467523,
    0.353553390593273, 0.449988111568207, 0.653281482438186, 1.28145772387074};

const std::array<std::array<int32_t, 8>, 8> ClsJPEG::ZigZag = MakeZigZag();

int32_t checked::RoundToInt32(double value) {
    double rounded = std::nearbyint(value);  // the default mode rounds halves to even
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw JpegError::Overflow();
    return static_cast<int32_t>(rounded);
}

ClsJPEG::ClsJPEG() : ToSingleByte(Latin1) {
    SetSamplingFrequencies(2, 2, 1, 1, 1, 1);
    SetQuality(75);
}

void ClsJPEG::SetQuality(int32_t quality) {
    if (quality < 1 || quality > 100) return;
    QualityValue = quality;
    int32_t scale = quality >= 50 ? 200 - 2 * quality : checked::RoundToInt32(5000.0 / quality);
    auto fill = [scale](const std::array<int16_t, 64>& base, QuantizationTable& table) {
        for (int z = 0; z < 64; ++z) {
            int32_t t = checked::Add(checked::Mul(base[z], scale), 50);
            int32_t q = checked::RoundToInt32(t / 100.0);
            table.Qk[z] = static_cast<int16_t>(std::clamp(q, 1, 255));
        }
    };
    fill(BaseLumaTable, QuantTables[0]);
    fill(BaseChromaTable, QuantTables[1]);
    ScaleQuantizationTable(0);
    ScaleQuantizationTable(1);
}

void ClsJPEG::ScaleQuantizationTable(int32_t tableIndex) {
    if (tableIndex < 0 || tableIndex > 3) throw JpegError::OutOfRange();
    QuantizationTable& table = QuantTables[tableIndex];
    for (int u = 0; u < 8; ++u) {
        for (int v = 0; v < 8; ++v) {
            int32_t z = ZigZag[v][u];
            if (table.Qk[z] < 1 || table.Qk[z] > 255)
                throw JpegError(ErrorNumber::InvalidValue, messages::kBadQuantTable);
            table.Scale[z] = static_cast<float>(AanScale[u] * AanScale[v] / table.Qk[z]);
        }
    }
}

void ClsJPEG::SetSamplingFrequencies(int32_t H1, int32_t V1, int32_t H2, int32_t V2, int32_t H3,
                                     int32_t V3) {
    auto valid = [](int32_t f) { return f >= 1 && f <= 4; };
    bool colour = H2 != 0 || V2 != 0 || H3 != 0 || V3 != 0;
    bool accepted = valid(H1) && valid(V1) &&
                    (!colour || (valid(H2) && valid(H3) && valid(V2) && valid(V3)));
    if (!accepted) throw JpegError(ErrorNumber::InvalidValue, messages::kInvalidSampling);

    Components.assign(colour ? 3 : 1, Component{});
    if (colour) {
        Components[0].H = H1, Components[0].V = V1, Components[0].QuantTableIndex = 0;
        Components[1].H = H2, Components[1].V = V2, Components[1].QuantTableIndex = 1;
        Components[2].H = H3, Components[2].V = V3, Components[2].QuantTableIndex = 1;
    } else {
        Components[0].H = 1, Components[0].V = 1, Components[0].QuantTableIndex = 0;
    }
    ComponentCount = static_cast<int32_t>(Components.size());
    MaxHSampling = 0;
    MaxVSampling = 0;
    for (const Component& c : Components) {
        MaxHSampling = std::max(MaxHSampling, c.H);
        MaxVSampling = std::max(MaxVSampling, c.V);
    }
}

bool ClsJPEG::SetEncoderPath(EncoderPath path) {
    for (EncoderPath available : AvailableEncoderPaths()) {
        if (available == path) {
            ActivePath = path;
            return true;
        }
    }
    return false;
}

void ClsJPEG::SetComment(const std::u16string& text) {
    if (text.size() > 65535)
        throw JpegError(ErrorNumber::InvalidValue, messages::kInvalidCommentLength);
    CommentText = text;
}

}  // namespace vardolin
