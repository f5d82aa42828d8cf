// Fakes on the component's environment for as long as a test fixture lives:
// message boxes go to the test's answer, web pages, folders and documents
// are opened nowhere, and the capture window gets a camera control that finds no camera;
// a test may put other fakes and cameras in. Everything is put back afterwards.
#pragma once

#include "capture/ComponentState.h"
#include "capture/NoCamera.h"

#include <utility>

namespace vardolin::test {

class FakeEnvironment {
public:
    explicit FakeEnvironment(vardolin::Environment::MessageBoxFunction messageBox)
        : environment_(capture::CurrentComponentState().environment),
          saved_(environment_),
          cameraControl_(capture::CurrentComponentState().cameraControl),
          savedCameraControl_(cameraControl_) {
        environment_.messageBox = std::move(messageBox);
        environment_.webPageOpener = [](const std::wstring&) {};
        environment_.folderOpener = [](const std::wstring&) { return true; };
        environment_.documentOpener = [](const std::wstring&) { return true; };
        cameraControl_ = capture::CreateNoCamera;
    }
    ~FakeEnvironment() {
        environment_ = saved_;
        cameraControl_ = savedCameraControl_;
    }
    FakeEnvironment(const FakeEnvironment&) = delete;
    FakeEnvironment& operator=(const FakeEnvironment&) = delete;

    vardolin::Environment* operator->() noexcept { return &environment_; }
    // The camera control the capture window makes when it next loads.
    void UseCamera(capture::CameraControlFactory factory) { cameraControl_ = std::move(factory); }

private:
    vardolin::Environment& environment_;
    vardolin::Environment saved_;
    capture::CameraControlFactory& cameraControl_;
    capture::CameraControlFactory savedCameraControl_;
};

}  // namespace vardolin::test
