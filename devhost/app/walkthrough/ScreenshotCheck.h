// Checks a screenshot taken at the end of the walkthrough against the windows
// still on screen: the capture window is there, its roster shows names, some
// marked as done, the
// crop frame has been moved over the still, and the crop preview shows what
// lies under the frame, which is also what the last photo holds. With
// frameOnFace, the frame also sits where the face finder puts it for the face
// the still shows.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vardolin::devhost::walkthrough {

// Every finding that fails, in words; empty when the screenshot is right.
std::vector<std::wstring> CheckScreenshot(const std::filesystem::path& png, const std::filesystem::path& lastPhoto,
                                          bool frameOnFace);

}  // namespace vardolin::devhost::walkthrough
