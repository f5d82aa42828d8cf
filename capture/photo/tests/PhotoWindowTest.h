// The capture window with photo taking attached and a simulated camera whose
// clock the test sets, plus helpers that act as the user would.
#pragma once

#include "BitmapFile.h"
#include "Component.h"
#include "GetPIC.h"
#include "MessageBoxSeam.h"
#include "PhotoCompare.h"
#include "camera/SimulatedCamera.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace vardolin::capture::test {

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    UINT type;
};

class PhotoWindowTest : public ::testing::Test {
protected:
    PhotoWindowTest();
    ~PhotoWindowTest() override;

    GetPIC& Window() { return CurrentComponent().CaptureWindow(); }
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

    std::chrono::milliseconds cameraTime_{0};
    SimulatedCamera* camera_ = nullptr;  // the camera of the current load
    std::vector<ShownMessage> messages_;
    ScopedMessageBoxReplacement answerMessages_;
};

}  // namespace vardolin::capture::test
