// The format page of the camera's pin: one list of the offered formats. The
// chosen one is set through IAMStreamConfig and used from the next
// connection on, so a client stops its graph before showing the page and
// builds it again afterwards.
#include "democam/PropertyPages.h"

#include "democam/MediaType.h"
#include "democam/PropertyPage.h"
#include "democam/VideoFormat.h"
#include "win/Win32Handles.h"

#include <strmif.h>

namespace vardolin::democam {
namespace {

using Microsoft::WRL::ComPtr;

constexpr WORD kFormatList = 101;

DialogTemplate FormatLayout() {
    DialogTemplate layout = DialogTemplate::Child(200, 120);
    layout.AddControl(0xFFFF, L"STATIC", L"Output format:", SS_LEFT, 7, 7, 186, 10);
    layout.AddControl(kFormatList, L"LISTBOX", L"", WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 7, 19, 186, 94);
    return layout;
}

// A media type handed out by the pin, freed on every path.
class ReceivedMediaType {
public:
    ReceivedMediaType() noexcept = default;
    ReceivedMediaType(const ReceivedMediaType&) = delete;
    ReceivedMediaType& operator=(const ReceivedMediaType&) = delete;
    ~ReceivedMediaType() {
        UniqueCoTaskMem<AM_MEDIA_TYPE> held(type_);
        if (held) FreeMediaTypeFields(*type_);
    }
    AM_MEDIA_TYPE** Receive() noexcept { return &type_; }
    AM_MEDIA_TYPE* get() const noexcept { return type_; }

private:
    AM_MEDIA_TYPE* type_ = nullptr;
};

std::optional<VideoFormat> FormatOf(const AM_MEDIA_TYPE* type) {
    static constexpr PixelFormat kAll[] = {PixelFormat::Rgb24, PixelFormat::Yuy2, PixelFormat::Nv12};
    if (!type) return std::nullopt;
    for (FormatBlock block : {FormatBlock::VideoInfo, FormatBlock::VideoInfo2})
        if (auto format = MatchMediaType(*type, OfferedFormats(kAll, block))) return format;
    return std::nullopt;
}

class FormatPage final : public PropertyPage {
public:
    FormatPage() : PropertyPage(L"Video Format", FormatLayout()) {}

protected:
    void Attach(IUnknown* object) override {
        config_.Reset();
        if (object) object->QueryInterface(IID_PPV_ARGS(&config_));
    }
    bool Attached() const override { return config_ != nullptr; }

    void Load(HWND dialog) override {
        HWND list = GetDlgItem(dialog, kFormatList);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        ReceivedMediaType current;
        config_->GetFormat(current.Receive());
        std::optional<VideoFormat> currentFormat = FormatOf(current.get());
        int count = 0, size = 0;
        if (FAILED(config_->GetNumberOfCapabilities(&count, &size)) || size != sizeof(VIDEO_STREAM_CONFIG_CAPS)) return;
        for (int index = 0; index < count; ++index) {
            ReceivedMediaType type;
            VIDEO_STREAM_CONFIG_CAPS caps{};
            if (config_->GetStreamCaps(index, type.Receive(), reinterpret_cast<BYTE*>(&caps)) != S_OK) continue;
            std::optional<VideoFormat> format = FormatOf(type.get());
            if (!format) continue;
            LRESULT item = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(format->Describe().c_str()));
            SendMessageW(list, LB_SETITEMDATA, item, index);
            if (currentFormat && currentFormat->SameImage(*format)) SendMessageW(list, LB_SETCURSEL, item, 0);
        }
    }

    bool OnControl(HWND, UINT message, WPARAM wParam, LPARAM) override {
        return message == WM_COMMAND && LOWORD(wParam) == kFormatList && HIWORD(wParam) == LBN_SELCHANGE;
    }

    HRESULT Save(HWND dialog) override {
        LRESULT item = SendDlgItemMessageW(dialog, kFormatList, LB_GETCURSEL, 0, 0);
        if (item == LB_ERR) return S_OK;
        int index = static_cast<int>(SendDlgItemMessageW(dialog, kFormatList, LB_GETITEMDATA, item, 0));
        ReceivedMediaType type;
        VIDEO_STREAM_CONFIG_CAPS caps{};
        HRESULT hr = config_->GetStreamCaps(index, type.Receive(), reinterpret_cast<BYTE*>(&caps));
        if (hr != S_OK) return FAILED(hr) ? hr : E_UNEXPECTED;
        return config_->SetFormat(type.get());
    }

private:
    ComPtr<IAMStreamConfig> config_;
};

}  // namespace

HRESULT CreateFormatPage(REFIID iid, void** out) noexcept { return vardolin::CreateAndQuery<FormatPage>(iid, out); }

}  // namespace vardolin::democam
