// SampleHDC: takes the picture once per distinct component size, into the
// platform's off-screen canvas or, for a source with rows, band by band into
// a strip; converts each component to level-shifted Y, Cb or Cr, transforms
// and quantizes it block row by block row into its coefficient store.
#include <algorithm>
#include <cmath>

#include "BlockTransform.h"
#include "ClsJPEG.h"
#include "RowDrawer.h"

namespace vardolin {

namespace {

struct ColourRow {
    float r, g, b;
    double offset;
};

// Y, Cb, Cr; the factors are 32-bit floats on purpose: their float values
// are part of the output.
constexpr ColourRow kColourRows[3] = {
    {0.299f, 0.587f, 0.114f, -128.0},
    {-0.16874f, -0.33126f, 0.5f, 0.0},
    {0.5f, -0.41869f, -0.08131f, 0.0},
};

// ceil(size * factor / maxFactor), taken in double precision.
int32_t SampledSize(int32_t size, int32_t factor, int32_t maxFactor) {
    double scaled = static_cast<double>(size) * factor;
    return checked::RoundToInt32(-std::floor(-scaled / maxFactor));
}

int32_t RoundUpTo8(int32_t value) { return checked::Add(value, 7) & ~7; }

// Releases the source's canvas on every way out of SampleHDC.
class CanvasGuard {
public:
    explicit CanvasGuard(PictureSource& source) : source_(source) {}
    ~CanvasGuard() { source_.ReleaseCanvas(); }
    CanvasGuard(const CanvasGuard&) = delete;
    CanvasGuard& operator=(const CanvasGuard&) = delete;

private:
    PictureSource& source_;
};

// Repeats the last sampled column, then the last sampled row, up to the
// padded size of the area whose top is canvas row areaTop.
void ExtendEdges(const CanvasView& canvas, int32_t areaTop, int32_t xi, int32_t yi, int32_t wp,
                 int32_t hp) {
    for (int32_t y = areaTop; y < areaTop + yi; ++y) {
        uint8_t* row = canvas.Row(y);
        for (int32_t k = xi; k < wp; ++k) std::copy(row + 3 * (k - 1), row + 3 * k, row + 3 * k);
    }
    for (int32_t y = areaTop + yi; y < areaTop + hp; ++y) {
        const uint8_t* above = canvas.Row(y - 1);
        std::copy(above, above + 3 * static_cast<size_t>(wp), canvas.Row(y));
    }
}

}  // namespace

int32_t ClsJPEG::SampleHDC(PictureSource& source, int32_t lWidth, int32_t lHeight,
                           int32_t lSrcLeft, int32_t lSrcTop) {
    Precision = 8;
    ImageHeight = lHeight;
    ImageWidth = lWidth;
    // Until the new picture is complete, no old coefficients may remain to be
    // saved under the new dimensions; their memory goes too.
    for (Component& c : Components) c.Coefficients.Clear();

    int32_t canvasWidth = RoundUpTo8(lWidth);
    int32_t canvasHeight = RoundUpTo8(lHeight);
    int32_t stride = checked::Add(checked::Mul(3, canvasWidth), 3) & ~3;
    checked::Mul(stride, canvasHeight);  // the bitmap's image size must fit 32 bits
    if (canvasWidth <= 0 || canvasHeight <= 0) return 1;
    PixelRows* rows = source.Rows();
    if (rows ? !source.AcceptsCanvas(canvasWidth, canvasHeight) : !source.CreateCanvas(canvasWidth, canvasHeight))
        return 1;
    CanvasGuard release(source);

    try {
        // Components of equal sampled size share one drawing and are
        // converted and transformed together, each pixel read once.
        for (int32_t first = 0; first < ComponentCount;) {
            const int32_t xi = SampledSize(ImageWidth, Components[first].H, MaxHSampling);
            const int32_t yi = SampledSize(ImageHeight, Components[first].V, MaxVSampling);
            int32_t end = first + 1;
            while (end < ComponentCount && SampledSize(ImageWidth, Components[end].H, MaxHSampling) == xi &&
                   SampledSize(ImageHeight, Components[end].V, MaxVSampling) == yi)
                ++end;
            PrepareComponents(first, end, RoundUpTo8(xi), RoundUpTo8(yi));
            if (rows)
                SampleByRows(*rows, first, end, xi, yi, lSrcLeft, lSrcTop);
            else
                SampleOnCanvas(source, first, end, xi, yi, lSrcLeft, lSrcTop, canvasHeight);
            first = end;
        }
    } catch (...) {
        for (Component& c : Components) c.Coefficients.Clear();
        throw;
    }
    return 0;
}

// Gives components first..end - 1 their identifiers and empty stores for a
// padded area of wp x hp pixels.
void ClsJPEG::PrepareComponents(int32_t first, int32_t end, int32_t wp, int32_t hp) {
    checked::Mul(wp, hp);  // the coefficient count must fit 32 bits
    for (int32_t i = first; i < end; ++i) {
        Components[i].Id = i + 1;
        Components[i].Coefficients.Start(wp / 8, hp / 8);
    }
}

void ClsJPEG::SampleOnCanvas(PictureSource& source, int32_t first, int32_t end, int32_t xi, int32_t yi,
                             int32_t lSrcLeft, int32_t lSrcTop, int32_t canvasHeight) {
    const int32_t wp = RoundUpTo8(xi);
    const int32_t hp = RoundUpTo8(yi);
    const int32_t areaTop = canvasHeight - hp;
    source.Draw(lSrcLeft, lSrcTop, ImageWidth, ImageHeight, areaTop, xi, yi);
    const CanvasView canvas = source.Canvas();
    ExtendEdges(canvas, areaTop, xi, yi, wp, hp);
    ConvertAndTransform(first, end, wp / 8, hp / 8, [&](int32_t blockRow, const uint8_t** rows) {
        for (int r = 0; r < 8; ++r) rows[r] = canvas.Row(areaTop + 8 * blockRow + r);
    });
}

// Draws one band of 8 rows at a time into a strip, extends its edges there
// and transforms it: the same pixels as drawing the whole area first.
void ClsJPEG::SampleByRows(PixelRows& picture, int32_t first, int32_t end, int32_t xi, int32_t yi,
                           int32_t lSrcLeft, int32_t lSrcTop) {
    const int32_t wp = RoundUpTo8(xi);
    const int32_t hp = RoundUpTo8(yi);
    const size_t stride = size_t(wp) * 3;
    std::vector<uint8_t> strip(8 * stride);
    RowDrawer drawer(picture, lSrcLeft, lSrcTop, ImageWidth, ImageHeight, xi, yi);
    ConvertAndTransform(first, end, wp / 8, hp / 8, [&](int32_t blockRow, const uint8_t** rows) {
        for (int32_t r = 0; r < 8; ++r) {
            uint8_t* row = &strip[size_t(r) * stride];
            rows[r] = row;
            const int32_t y = 8 * blockRow + r;
            if (y >= yi) {
                std::copy_n(row - stride, stride, row);  // the last sampled row again
                continue;
            }
            drawer.DrawRow(y, row);
            for (int32_t k = xi; k < wp; ++k) std::copy_n(row + 3 * (xi - 1), 3, row + 3 * k);
        }
    });
}

void ClsJPEG::ConvertAndTransform(int32_t first, int32_t end, int32_t blocksPerRow, int32_t blockRows,
                                  const BlockRowSource& rowsOf) {
    struct Prepared {
        ColourFactors factors;
        alignas(64) double scaleByColumn[64];
    };
    Prepared prepared[3];
    BlockRowJob job{{}, blocksPerRow, end - first, {}};
    for (int32_t i = first; i < end; ++i) {
        Prepared& p = prepared[i - first];
        const ColourRow& colour = kColourRows[i];
        p.factors = {colour.r, colour.g, colour.b, colour.offset};
        const std::array<float, 64>& scale = QuantTables[Components[i].QuantTableIndex].Scale;
        for (int v = 0; v < 8; ++v)
            for (int u = 0; u < 8; ++u) p.scaleByColumn[u * 8 + v] = scale[ZigZag[v][u]];
        job.components[i - first].colour = &p.factors;
        job.components[i - first].scaleByColumn = p.scaleByColumn;
    }
    const BlockRowKernel kernel = KernelFor(ActivePath);
    // One block row of each component at a time, handed to its store.
    std::vector<int16_t> transformed(static_cast<size_t>(blocksPerRow) * 64 * size_t(end - first));
    for (int32_t i = first; i < end; ++i)
        job.components[i - first].out = &transformed[static_cast<size_t>(blocksPerRow) * 64 * size_t(i - first)];
    for (int32_t blockRow = 0; blockRow < blockRows; ++blockRow) {
        rowsOf(blockRow, job.rows);
        if (!kernel(job)) throw JpegError::Overflow();
        for (int32_t i = first; i < end; ++i) Components[i].Coefficients.AppendBlockRow(job.components[i - first].out);
    }
}

void ClsJPEG::QuantizeBlock(std::vector<int16_t>& coefficients, int32_t& position,
                            const std::array<float, 64>& scale) const {
    if (position < 0 || static_cast<size_t>(position) + 64 > coefficients.size())
        throw JpegError::OutOfRange();
    for (int v = 0; v < 8; ++v) {
        for (int u = 0; u < 8; ++u) {
            int32_t z = ZigZag[v][u];
            double value =
                std::nearbyint(static_cast<double>(WorkBlock[v][u]) * static_cast<double>(scale[z]));
            if (value < -32768.0 || value > 32767.0) throw JpegError::Overflow();
            coefficients[position + z] = static_cast<int16_t>(value);
        }
    }
    position += 64;
}

}  // namespace vardolin
