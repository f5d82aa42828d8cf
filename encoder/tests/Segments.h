// Test support: the marker segments of a JPEG file.
#pragma once

#include <cstdint>
#include <vector>

namespace vardolin::test {

struct Segment {
    uint8_t marker = 0;
    size_t offset = 0;             // of the 0xFF
    std::vector<uint8_t> payload;  // after the length field
    int length = 0;                // the length field, 0 for SOI and EOI
};

// Splits a file into its segments; entropy-coded data after SOS is skipped.
inline std::vector<Segment> Segments(const std::vector<uint8_t>& file) {
    std::vector<Segment> segments;
    size_t at = 0;
    while (at + 1 < file.size()) {
        if (file[at] != 0xFF) return segments;  // malformed
        Segment s;
        s.marker = file[at + 1];
        s.offset = at;
        at += 2;
        if (s.marker != 0xD8 && s.marker != 0xD9) {
            s.length = file[at] << 8 | file[at + 1];
            s.payload.assign(file.begin() + at + 2, file.begin() + at + s.length);
            at += s.length;
        }
        segments.push_back(s);
        if (s.marker == 0xDA) {
            while (at + 1 < file.size() && !(file[at] == 0xFF && file[at + 1] != 0x00)) ++at;
        }
    }
    return segments;
}

inline std::vector<uint8_t> Markers(const std::vector<Segment>& segments) {
    std::vector<uint8_t> markers;
    for (const Segment& s : segments) markers.push_back(s.marker);
    return markers;
}

}  // namespace vardolin::test
