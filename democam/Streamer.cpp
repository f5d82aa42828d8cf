#include "democam/Streamer.h"

#include "democam/DemoScene.h"
#include "democam/FrameWriter.h"
#include "democam/PhotoScene.h"
#include "democam/Switches.h"

#include <evcode.h>

#include <chrono>

namespace vardolin::democam {

using Microsoft::WRL::ComPtr;
using std::chrono::milliseconds;

// Draws the frames of one stream, reusing its picture buffer.
class FrameSource {
public:
    FrameSource(const VideoFormat& format, Stage stage) : format_(format), stage_(stage) {}

    void Draw(const Switches& switches, const CameraControls& controls) {
        milliseconds t = switches.frozenTime.value_or(TimeOfDay()) + SceneHurry(switches);
        if (switches.scene.value_or(static_cast<Scene>(controls.scene.load())) == Scene::Photograph)
            DrawPhotoScene(scene_, format_.width, format_.height, t);
        else DrawDemoScene(scene_, format_.width, format_.height, t);
        AdjustPicture(scene_, controls.brightness, controls.contrast);
        ApplyGain(scene_, switches.gain);
        BlurPicture(scene_, switches.blurSigma);
        if (stage_ == Stage::Inverted) InvertPicture(scene_);
    }
    bool Write(uint8_t* out, size_t capacity) const { return WriteFrame(scene_, format_, out, capacity); }

private:
    static milliseconds TimeOfDay() {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        return milliseconds(((now.wHour * 60LL + now.wMinute) * 60 + now.wSecond) * 1000 + now.wMilliseconds);
    }

    VideoFormat format_;
    Stage stage_;
    ScenePicture scene_;
};

HRESULT Streamer::Run(StreamSetup setup, REFERENCE_TIME streamStart) noexcept {
    streamStart_ = streamStart;
    if (!thread_.joinable()) {
        if (!stopEvent_) stopEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!stopEvent_) return HRESULT_FROM_WIN32(GetLastError());
        ResetEvent(stopEvent_.get());
        setup_ = std::move(setup);
        try {
            thread_ = std::thread([this] { StreamFrames(); });
        } catch (...) {
            setup_ = {};
            return E_OUTOFMEMORY;
        }
    }
    delivering_ = true;
    return S_OK;
}

void Streamer::Stop() noexcept {
    delivering_ = false;
    if (!thread_.joinable()) return;
    SetEvent(stopEvent_.get());
    if (setup_.allocator) setup_.allocator->Decommit();
    thread_.join();
    setup_ = {};
}

bool Streamer::WaitForStop(DWORD milliseconds) const noexcept {
    return WaitForSingleObject(stopEvent_.get(), milliseconds) == WAIT_OBJECT_0;
}

void Streamer::StreamFrames() noexcept {
    HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    try {
        FrameSource source(setup_.format, setup_.camera->stage);
        const auto interval = std::chrono::microseconds(setup_.format.frameInterval / 10);
        const auto started = std::chrono::steady_clock::now();
        auto due = started;
        long long frameNumber = 0;
        for (;;) {
            auto wait = std::chrono::duration_cast<milliseconds>(due - std::chrono::steady_clock::now());
            if (WaitForStop(static_cast<DWORD>(std::max<long long>(0, wait.count())))) break;
            due += interval;
            if (due < std::chrono::steady_clock::now()) due = std::chrono::steady_clock::now();  // no catching up
            if (!delivering_) continue;

            Switches switches = ReadSwitches(*setup_.camera);
            if (switches.unplugged) {
                AwaitReturnOfDevice();
                break;
            }
            if (switches.stalled) continue;
            // A slow camera: the first frame of a start comes late (counted
            // from the thread's start, which is each Run from stopped).
            if (frameNumber == 0 && std::chrono::steady_clock::now() - started < switches.firstFrameDelay) continue;
            source.Draw(switches, controls_);
            HRESULT hr = DeliverFrame(source, frameNumber++);
            // Downstream refused (stopping, flushing or failed): wait for our Stop.
            if (hr != S_OK) {
                WaitForStop(INFINITE);
                break;
            }
        }
    } catch (...) {
        WaitForStop(INFINITE);  // out of memory for a picture: stop delivering until stopped
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

// A removed device says so once and delivers nothing more in this run; when
// it comes back it says that too, and the client builds its graph again.
void Streamer::AwaitReturnOfDevice() noexcept {
    if (controls_.deviceLostReported.exchange(true)) {
        WaitForStop(INFINITE);
        return;
    }
    Notify(0);
    try {
        while (!WaitForStop(kReturnPollMs))
            if (!ReadSwitches(*setup_.camera).unplugged) {
                Notify(1);
                break;
            }
    } catch (...) {}
    WaitForStop(INFINITE);
}

void Streamer::Notify(LONG_PTR deviceAvailable) noexcept {
    if (setup_.events)
        setup_.events->Notify(EC_DEVICE_LOST, reinterpret_cast<LONG_PTR>(setup_.filter), deviceAvailable);
}

HRESULT Streamer::DeliverFrame(FrameSource& source, long long frameNumber) noexcept {
    ComPtr<IMediaSample> sample;
    HRESULT hr = setup_.allocator->GetBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(hr)) return hr;
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !source.Write(data, static_cast<size_t>(sample->GetSize())))
        return E_UNEXPECTED;
    sample->SetActualDataLength(static_cast<long>(setup_.format.ImageSize()));

    REFERENCE_TIME start = frameNumber * setup_.format.frameInterval;
    REFERENCE_TIME now = 0;
    if (setup_.clock && SUCCEEDED(setup_.clock->GetTime(&now))) start = now - streamStart_;
    REFERENCE_TIME end = start + setup_.format.frameInterval;
    sample->SetTime(&start, &end);
    LONGLONG mediaStart = frameNumber, mediaEnd = frameNumber + 1;
    sample->SetMediaTime(&mediaStart, &mediaEnd);
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(frameNumber == 0);
    return setup_.receiver->Receive(sample.Get());
}

}  // namespace vardolin::democam
