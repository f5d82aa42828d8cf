// A picture held in memory as a PictureSource: the portable way to feed the
// encoder (command-line tool, tests, benchmarks, fuzzing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "PictureSource.h"

namespace vardolin {

class MemoryPicture : public PictureSource {
public:
    // rgb: width x height pixels, top row first, 3 bytes (red, green, blue) each.
    MemoryPicture(int32_t width, int32_t height, std::vector<uint8_t> rgb);
    // Copies hold the same picture, without a canvas.
    MemoryPicture(const MemoryPicture& other);
    MemoryPicture& operator=(const MemoryPicture& other);
    MemoryPicture(MemoryPicture&&) = default;
    MemoryPicture& operator=(MemoryPicture&&) = default;

    // Largest canvas this source agrees to allocate, in bytes.
    void SetCanvasLimit(size_t bytes) { canvasLimit_ = bytes; }

    bool CreateCanvas(int32_t width, int32_t height) override;
    void Draw(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight,
              int32_t destTop, int32_t destWidth, int32_t destHeight) override;
    CanvasView Canvas() override { return view_; }
    void ReleaseCanvas() override;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    const std::vector<uint8_t>& Rgb() const { return rgb_; }

private:
    struct FreeMemory {
        void operator()(uint8_t* memory) const { std::free(memory); }
    };

    // The picture's row y, or null outside it (where it reads as black).
    const uint8_t* SourceRow(int64_t y) const;
    void CopyOneToOne(int32_t srcLeft, int32_t srcTop, int32_t destTop, int32_t w, int32_t h);
    void Stretch(int32_t srcLeft, int32_t srcTop, int32_t srcWidth, int32_t srcHeight,
                 int32_t destTop, int32_t destWidth, int32_t destHeight);
    void Halve(int32_t srcLeft, int32_t srcTop, int32_t destTop, int32_t w, int32_t h);

    int32_t width_;
    int32_t height_;
    std::vector<uint8_t> rgb_;
    // Zero pages straight from the system: no pass over the memory to clear it.
    std::unique_ptr<uint8_t, FreeMemory> canvas_;
    CanvasView view_;
    size_t canvasLimit_ = size_t{1} << 31;
};

}  // namespace vardolin
