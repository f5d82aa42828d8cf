// The face detector's time on a 320 x 240 still, the size of the capture
// window's photo.
#pragma once

#include <filesystem>

namespace vardolin::bench {

// Prints the detection time (best and median processor time of repeated
// runs) on the astronaut portrait from photoFolder shrunk to a 320 x 240
// still, and on a made-up photo-like picture without a face.
void ReportFaceDetection(const std::filesystem::path& photoFolder);

// Prints the time of the photo checks a new still gets (finding the face and
// measuring its region) on the astronaut portrait enlarged to 1280 x 720.
void ReportPhotoChecks(const std::filesystem::path& photoFolder);

}  // namespace vardolin::bench
