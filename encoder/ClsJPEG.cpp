// The encoder's surface: the settings, and each call handed to its stage.
#include "encoder/ClsJPEG.h"

#include <algorithm>

#include "encoder/FileOutput.h"
#include "encoder/FileWriter.h"
#include "encoder/Kernels.h"
#include "encoder/Quantization.h"
#include "encoder/Sampling.h"

namespace vardolin {

ClsJPEG::ClsJPEG() : ToSingleByte(Latin1), Kernels(KernelsFor(FastestEncoderPath())) {
    SetSamplingFrequencies(2, 2, 1, 1, 1, 1);
    SetQuality(75);
}

void ClsJPEG::SetQuality(int32_t quality) {
    if (quality < 1 || quality > 100) return;
    QualityValue = quality;
    BuildQuantTables(quality, State.QuantTables);
}

void ClsJPEG::SetSamplingFrequencies(int32_t H1, int32_t V1, int32_t H2, int32_t V2, int32_t H3, int32_t V3) {
    auto valid = [](int32_t f) { return f >= 1 && f <= 4; };
    bool colour = H2 != 0 || V2 != 0 || H3 != 0 || V3 != 0;
    bool accepted = valid(H1) && valid(V1) && (!colour || (valid(H2) && valid(H3) && valid(V2) && valid(V3)));
    if (!accepted) throw ComponentError(error_number::kInvalidValue, messages::kInvalidSampling);

    std::vector<Component>& components = State.Components;
    components.assign(colour ? 3 : 1, Component{});
    if (colour) {
        components[0].H = H1, components[0].V = V1, components[0].QuantTableIndex = 0;
        components[1].H = H2, components[1].V = V2, components[1].QuantTableIndex = 1;
        components[2].H = H3, components[2].V = V3, components[2].QuantTableIndex = 1;
    } else {
        components[0].H = 1, components[0].V = 1, components[0].QuantTableIndex = 0;
    }
    State.ComponentCount = static_cast<int32_t>(components.size());
    State.MaxHSampling = 0;
    State.MaxVSampling = 0;
    for (const Component& c : components) {
        State.MaxHSampling = std::max(State.MaxHSampling, c.H);
        State.MaxVSampling = std::max(State.MaxVSampling, c.V);
    }
}

void ClsJPEG::SetComment(const std::u16string& text) {
    if (text.size() > 65535) throw ComponentError(error_number::kInvalidValue, messages::kInvalidCommentLength);
    CommentText = text;
}

int32_t ClsJPEG::SampleHDC(PictureSource& source, int32_t lWidth, int32_t lHeight, int32_t lSrcLeft, int32_t lSrcTop) {
    return SamplePicture(State, Kernels->transformBlockRow, source, lWidth, lHeight, lSrcLeft, lSrcTop);
}

std::vector<uint8_t> ClsJPEG::Encode() { return WriteJpegFile(State, *Kernels, CommentText, ToSingleByte); }

int32_t ClsJPEG::SaveFile(const std::filesystem::path& filename) {
    if (filename.empty()) return 1;
    if (FileExists(filename)) return 2;
    std::vector<uint8_t> bytes = Encode();
    return WriteNewFile(filename, bytes) ? 0 : 2;
}

bool ClsJPEG::SetEncoderPath(EncoderPath path) {
    const EncoderKernels* kernels = KernelsFor(path);
    if (!kernels) return false;
    Kernels = kernels;
    return true;
}

EncoderPath ClsJPEG::Path() const { return Kernels->path; }

}  // namespace vardolin
