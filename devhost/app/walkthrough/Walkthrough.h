// The demo session, played on a running stand-in host through its windows:
// run the macro, import the roster through the range picker, then for three
// people take a photo, move the crop frame (all but the last, which keeps the
// frame where the new still put it) and store the crop; import the roster
// again, so the names photographed come back marked as done. Each step is
// checked as it happens (the roster's names, the picked address, the stored
// file, the roster moving up).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vardolin::devhost::walkthrough {

inline constexpr const wchar_t* kCaptureWindowClass = L"VardolinGetPIC";

struct Expectations {
    std::wstring pickedAddress;        // what the range picker shows, e.g. "$A$2:$A$14"
    std::vector<std::wstring> roster;  // the names the import yields, in order
};

// What importing the roster column (A, below its heading) of the workbook
// file gives: the non-blank cell texts, each once, in sheet order.
Expectations ExpectationsFor(const std::filesystem::path& workbookFile);

// The folder of the registered vardolin.dll: where its photos go.
std::filesystem::path RegisteredLibraryFolder();

struct Outcome {
    std::vector<std::wstring> roster;
    std::vector<std::filesystem::path> photos;
};

// Plays the session on the host that is already running; throws Failure.
Outcome PlayWalkthrough(const Expectations& expected, int photos);

// Chooses 生成照片一览 on the capture window's roster and waits for the
// sheet's page and list in the photo folder; returns their paths.
std::vector<std::filesystem::path> MakeClassSheet();

// Closes the host as its user would and waits until it is gone.
void CloseHost();

}  // namespace vardolin::devhost::walkthrough
