#include "autoframe/HitGrouping.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace vardolin::autoframe {
namespace {

bool Similar(const Hit& a, const Hit& b) {
    int tolerance = std::min(a.width, b.width) + std::min(a.height, b.height);  // ten times the allowed edge shift
    auto near = [&](int p, int q) { return 10 * std::abs(p - q) <= tolerance; };
    return near(a.left, b.left) && near(a.top, b.top) && near(a.left + a.width, b.left + b.width) &&
           near(a.top + a.height, b.top + b.height);
}

class Groups {
public:
    explicit Groups(size_t count) : parent_(count) { std::iota(parent_.begin(), parent_.end(), size_t{0}); }
    size_t Root(size_t i) {
        while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
        return i;
    }
    void Join(size_t a, size_t b) {
        a = Root(a), b = Root(b);
        if (a != b) parent_[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<size_t> parent_;
};

struct Totals {
    long long left = 0, top = 0, width = 0, height = 0;
    int count = 0;
};

long long RoundedMean(long long total, int count) { return (2 * total + count) / (2 * count); }

FaceBox Average(const Totals& t) {
    return {static_cast<int>(RoundedMean(t.left, t.count)), static_cast<int>(RoundedMean(t.top, t.count)),
            static_cast<int>(RoundedMean(t.width, t.count)), static_cast<int>(RoundedMean(t.height, t.count)), t.count};
}

// Whether a lies inside b, b widened by a fifth of its size on each side.
bool Inside(const FaceBox& a, const FaceBox& b) {
    int dx = b.width / 5, dy = b.height / 5;
    return a.left >= b.left - dx && a.top >= b.top - dy && a.left + a.width <= b.left + b.width + dx &&
           a.top + a.height <= b.top + b.height + dy;
}

}  // namespace

std::vector<FaceBox> GroupHits(std::span<const Hit> hits, int minNeighbours) {
    Groups groups(hits.size());
    for (size_t i = 0; i < hits.size(); ++i)
        for (size_t j = i + 1; j < hits.size(); ++j)
            if (Similar(hits[i], hits[j])) groups.Join(i, j);

    std::vector<Totals> totals(hits.size());
    for (size_t i = 0; i < hits.size(); ++i) {
        Totals& t = totals[groups.Root(i)];
        t.left += hits[i].left, t.top += hits[i].top, t.width += hits[i].width, t.height += hits[i].height;
        ++t.count;
    }
    std::vector<FaceBox> candidates;
    for (const Totals& t : totals)
        if (t.count > 0 && t.count >= std::max(minNeighbours, 1)) candidates.push_back(Average(t));

    std::vector<FaceBox> faces;
    for (size_t i = 0; i < candidates.size(); ++i) {
        bool covered = false;
        for (size_t j = 0; j < candidates.size() && !covered; ++j)
            covered = j != i && candidates[j].neighbours >= candidates[i].neighbours &&
                      candidates[j].Area() > candidates[i].Area() && Inside(candidates[i], candidates[j]);
        if (!covered) faces.push_back(candidates[i]);
    }
    std::sort(faces.begin(), faces.end(), [](const FaceBox& a, const FaceBox& b) {
        if (a.Area() != b.Area()) return a.Area() > b.Area();
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    return faces;
}

}  // namespace vardolin::autoframe
