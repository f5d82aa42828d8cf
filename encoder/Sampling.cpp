#include "encoder/Sampling.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "encoder/ColourTransform.h"
#include "encoder/RowDrawer.h"

namespace vardolin {

namespace {

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
void ExtendEdges(const CanvasView& canvas, int32_t areaTop, int32_t xi, int32_t yi, int32_t wp, int32_t hp) {
    for (int32_t y = areaTop; y < areaTop + yi; ++y) {
        uint8_t* row = canvas.Row(y);
        for (int32_t k = xi; k < wp; ++k) std::copy(row + 3 * (k - 1), row + 3 * k, row + 3 * k);
    }
    for (int32_t y = areaTop + yi; y < areaTop + hp; ++y) {
        const uint8_t* above = canvas.Row(y - 1);
        std::copy(above, above + 3 * static_cast<size_t>(wp), canvas.Row(y));
    }
}

// Components first..end - 1 share one sampled size xi x yi, padded to wp x hp.
struct Area {
    int32_t first, end;
    int32_t xi, yi;
    int32_t wp, hp;
};

// The picture's source rectangle and where its pixels go.
struct Sampler {
    EncoderState& state;
    BlockRowKernel kernel;
    int32_t left, top;

    // Gives the area's components their identifiers and empty stores.
    void Prepare(const Area& area) const {
        checked::Mul(area.wp, area.hp);  // the coefficient count must fit 32 bits
        for (int32_t i = area.first; i < area.end; ++i) {
            state.Components[i].Id = i + 1;
            state.Components[i].Coefficients.Start(area.wp / 8, area.hp / 8);
        }
    }

    // Draws the area into the bottom of the canvas and reads it there.
    void OnCanvas(PictureSource& source, const Area& area, int32_t canvasHeight) const {
        const int32_t areaTop = canvasHeight - area.hp;
        source.Draw(left, top, state.ImageWidth, state.ImageHeight, areaTop, area.xi, area.yi);
        const CanvasView canvas = source.Canvas();
        ExtendEdges(canvas, areaTop, area.xi, area.yi, area.wp, area.hp);
        Transform(area, [&](int32_t blockRow, const uint8_t** rows) {
            for (int r = 0; r < 8; ++r) rows[r] = canvas.Row(areaTop + 8 * blockRow + r);
        });
    }

    // Draws one band of 8 rows at a time into a strip, extends its edges
    // there and transforms it: the same pixels as drawing the whole area first.
    void ByRows(PixelRows& picture, const Area& area) const {
        const size_t stride = size_t(area.wp) * 3;
        std::vector<uint8_t> strip(8 * stride);
        RowDrawer drawer(picture, left, top, state.ImageWidth, state.ImageHeight, area.xi, area.yi);
        Transform(area, [&](int32_t blockRow, const uint8_t** rows) {
            for (int32_t r = 0; r < 8; ++r) {
                uint8_t* row = &strip[size_t(r) * stride];
                rows[r] = row;
                const int32_t y = 8 * blockRow + r;
                if (y >= area.yi) {
                    std::copy_n(row - stride, stride, row);  // the last sampled row again
                    continue;
                }
                drawer.DrawRow(y, row);
                for (int32_t k = area.xi; k < area.wp; ++k) std::copy_n(row + 3 * (area.xi - 1), 3, row + 3 * k);
            }
        });
    }

    void Transform(const Area& area, const BlockRowSource& rowsOf) const {
        TransformComponents(state, kernel, area.first, area.end, area.wp / 8, area.hp / 8, rowsOf);
    }
};

// The components from first on that share first's sampled size.
Area NextArea(const EncoderState& state, int32_t first) {
    auto sampledWidth = [&](int32_t i) {
        return SampledSize(state.ImageWidth, state.Components[i].H, state.MaxHSampling);
    };
    auto sampledHeight = [&](int32_t i) {
        return SampledSize(state.ImageHeight, state.Components[i].V, state.MaxVSampling);
    };
    Area area{first, first + 1, sampledWidth(first), sampledHeight(first), 0, 0};
    while (area.end < state.ComponentCount && sampledWidth(area.end) == area.xi && sampledHeight(area.end) == area.yi)
        ++area.end;
    area.wp = RoundUpTo8(area.xi);
    area.hp = RoundUpTo8(area.yi);
    return area;
}

}  // namespace

int32_t SamplePicture(EncoderState& state, BlockRowKernel kernel, PictureSource& source, int32_t lWidth,
                      int32_t lHeight, int32_t lSrcLeft, int32_t lSrcTop) {
    state.Precision = 8;
    state.ImageHeight = lHeight;
    state.ImageWidth = lWidth;
    // Until the new picture is complete, no old coefficients may remain to be
    // saved under the new dimensions; their memory goes too.
    for (Component& c : state.Components) c.Coefficients.Clear();

    int32_t canvasWidth = RoundUpTo8(lWidth);
    int32_t canvasHeight = RoundUpTo8(lHeight);
    int32_t stride = checked::Add(checked::Mul(3, canvasWidth), 3) & ~3;
    checked::Mul(stride, canvasHeight);  // the bitmap's image size must fit 32 bits
    if (canvasWidth <= 0 || canvasHeight <= 0) return 1;
    PixelRows* rows = source.Rows();
    if (rows ? !source.AcceptsCanvas(canvasWidth, canvasHeight) : !source.CreateCanvas(canvasWidth, canvasHeight))
        return 1;
    CanvasGuard release(source);

    const Sampler sampler{state, kernel, lSrcLeft, lSrcTop};
    try {
        // Components of equal sampled size share one drawing and are
        // converted and transformed together, each pixel read once.
        for (int32_t first = 0; first < state.ComponentCount;) {
            const Area area = NextArea(state, first);
            sampler.Prepare(area);
            if (rows) sampler.ByRows(*rows, area);
            else sampler.OnCanvas(source, area, canvasHeight);
            first = area.end;
        }
    } catch (...) {
        for (Component& c : state.Components) c.Coefficients.Clear();
        throw;
    }
    return 0;
}

}  // namespace vardolin
