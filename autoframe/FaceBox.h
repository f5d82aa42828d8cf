// Boxes in picture pixels: the windows the cascade accepted, and the faces
// made of them.
#pragma once

namespace vardolin::autoframe {

// A window that passed every stage of the cascade.
struct Hit {
    int left, top, width, height;
};

// A face: the average of a group of overlapping hits, and how many there were.
struct FaceBox {
    int left = 0, top = 0, width = 0, height = 0;
    int neighbours = 0;

    long long Area() const noexcept { return static_cast<long long>(width) * height; }
    bool operator==(const FaceBox&) const = default;
};

}  // namespace vardolin::autoframe
