#include "photo/DetailCrop.h"

#include "camera/PreviewScaler.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vardolin::capture {
namespace {

constexpr int kDesignedWidth = 156, kDesignedHeight = 188;

// Start of each of the count spans dividing [first, first + length) as evenly
// as whole pixels allow; every span holds at least one pixel.
std::vector<int> Spans(int first, int length, int count) {
    std::vector<int> start(count + 1);
    for (int i = 0; i <= count; ++i) start[i] = first + static_cast<int>(int64_t{i} * length / count);
    for (int i = 0; i < count; ++i) start[i] = std::min(start[i], first + length - 1);
    return start;
}

// A still coordinate in the detail's pixels.
int InDetail(int stillCoordinate, int detailLength, int stillLength) {
    return static_cast<int>(int64_t{stillCoordinate} * detailLength / stillLength);
}

}  // namespace

int ScaleHeldBy(const BitmapPixels& detail, int wanted) {
    return std::max(1, std::min({wanted, detail.width / kPreviewWidth, detail.height / kPreviewHeight}));
}

std::optional<BitmapPixels> DetailedCrop(const BitmapPixels& detail, const RECT& crop, int scale) {
    if (scale < 1 || ScaleHeldBy(detail, scale) != scale) return std::nullopt;
    // The block under the frame, kept inside the picture.
    int left = std::clamp(InDetail(crop.left, detail.width, kPreviewWidth), 0, detail.width - 1);
    int top = std::clamp(InDetail(crop.top, detail.height, kPreviewHeight), 0, detail.height - 1);
    int right = std::clamp(InDetail(crop.right, detail.width, kPreviewWidth), left + 1, detail.width);
    int bottom = std::clamp(InDetail(crop.bottom, detail.height, kPreviewHeight), top + 1, detail.height);
    int width = kDesignedWidth * scale, height = kDesignedHeight * scale;
    std::vector<int> columns = Spans(left, right - left, width), rows = Spans(top, bottom - top, height);

    BitmapPixels photo;
    photo.Resize(width, height);
    std::vector<uint32_t> sums(static_cast<size_t>(width) * 3);
    for (int j = 0; j < height; ++j) {
        std::fill(sums.begin(), sums.end(), 0);
        int rowCount = std::max(1, rows[j + 1] - rows[j]);
        for (int y = rows[j]; y < rows[j] + rowCount; ++y) {
            const uint8_t* line = detail.Row(y);
            for (int i = 0; i < width; ++i) {
                const uint8_t* p = line + 3 * columns[i];
                uint32_t* sum = sums.data() + 3 * i;
                for (int c = std::max(1, columns[i + 1] - columns[i]); c > 0; --c, p += 3)
                    sum[0] += p[0], sum[1] += p[1], sum[2] += p[2];
            }
        }
        uint8_t* out = photo.Row(j);
        for (int i = 0; i < width; ++i) {
            uint32_t count = static_cast<uint32_t>(rowCount * std::max(1, columns[i + 1] - columns[i]));
            for (int c = 0; c < 3; ++c) out[3 * i + c] = static_cast<uint8_t>((sums[3 * i + c] + count / 2) / count);
        }
    }
    return photo;
}

}  // namespace vardolin::capture
