// The capture window with photo taking attached, photographing through the
// demo camera with its clock stopped where the test sets it, plus helpers
// that act as the user would.
#pragma once

#include "capture/BitmapFile.h"
#include "capture/ComponentState.h"
#include "capture/GetPIC.h"
#include "capture/camera/VideoSource.h"
#include "tests/FakeEnvironment.h"
#include "tests/PhotoCompare.h"
#include "tests/DemoCamera.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vardolin::capture::test {

// A camera that films one picture, which the test may change.
class PictureCamera final : public VideoSource {
public:
    explicit PictureCamera(std::shared_ptr<BitmapPixels> picture) : picture_(std::move(picture)) {}
    void Open(HWND, UINT) override {}
    uint64_t FrameNumber() const override { return ++frames_; }
    bool CurrentFrame(BitmapPixels& frame) override {
        frame = *picture_;
        return true;
    }
    CameraProblem Problem() const override { return CameraProblem::None; }
    bool FormatDialogAvailable() override { return false; }
    bool SourceDialogAvailable() override { return false; }
    void ShowFormatDialog(HWND) override {}
    void ShowSourceDialog(HWND) override {}

private:
    std::shared_ptr<BitmapPixels> picture_;
    mutable uint64_t frames_ = 0;  // every look finds a new frame: the test may change the picture
};

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    UINT type;
};

class PhotoWindowTest : public ::testing::Test {
protected:
    PhotoWindowTest();
    ~PhotoWindowTest() override;

    ComApartment com_;  // first, as the host's thread has it: the window and its camera live inside it

    GetPIC& Window() { return CurrentComponentState().CaptureWindow(); }
    HWND Control(ControlId id) { return Window().Control(id); }
    std::wstring Text(ControlId id);
    void Click(ControlId id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }

    void AddEntries(std::initializer_list<const wchar_t*> entries);
    std::vector<std::wstring> Entries();

    // Left-button drag on the still-photo box, in its inner pixels.
    void Drag(POINT from, POINT to);
    RECT Frame() { return *Window().Picture1()->Frame(); }
    // Takes a photo and releases the frame where it is.
    void TakePhotoAndCrop();

    BitmapPixels StillPixels() { return ReadBitmapPixels(Window().Picture1()->Picture()); }
    BitmapPixels PreviewPixels() { return CopyPixels(Window().Picture2()->ImageDc(), 156, 188); }

    static std::filesystem::path PicFolder();
    static void RemovePhotoFiles();
    // No PhotoFolder value of IT, the user or the machine: Pic beside the program.
    static void ClearPhotoFolderSettings();

    // Stops the camera's clock at t and waits until the camera delivers that picture.
    void SetCameraTime(std::chrono::milliseconds t);
    // Shows the window (loading it) and waits for the camera's first frame.
    void ShowWindowWithCamera();
    // Chooses the camera listed as name in the source dialog, which must list
    // two; false when the dialog did not open.
    bool ChooseOneOfTwoCameras(const std::wstring& name);

    CameraSwitches cameraSwitches_{L"time=0"};
    std::vector<ShownMessage> messages_;
    vardolin::test::FakeEnvironment environment_;
};

}  // namespace vardolin::capture::test
