// The picture page of the camera: brightness and contrast trackbars and the
// photograph scene's check box, written through IAMVideoProcAmp when the
// page is applied.
#include "democam/PropertyPages.h"

#include "democam/DemoScene.h"
#include "democam/PropertyPage.h"

#include <commctrl.h>
#include <strmif.h>

namespace vardolin::democam {
namespace {

using Microsoft::WRL::ComPtr;

struct Control {
    long property;
    const wchar_t* label;
    WORD slider;
    WORD value;
};
constexpr Control kControls[] = {
    {VideoProcAmp_Brightness, L"Brightness:", 101, 102},
    {VideoProcAmp_Contrast, L"Contrast:", 103, 104},
};
constexpr WORD kPhotographBox = 105;

DialogTemplate PictureLayout() {
    DialogTemplate layout = DialogTemplate::Child(200, 88);
    short y = 10;
    for (const Control& control : kControls) {
        layout.AddControl(0xFFFF, L"STATIC", control.label, SS_LEFT, 7, y + 4, 40, 10);
        layout.AddControl(control.slider, TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS, 47, y, 116, 20);
        layout.AddControl(control.value, L"STATIC", L"", SS_RIGHT, 165, y + 4, 28, 10);
        y += 28;
    }
    layout.AddControl(kPhotographBox, L"BUTTON", L"Film a photograph instead of the drawn portrait",
                      WS_TABSTOP | BS_AUTOCHECKBOX, 7, y + 4, 186, 12);
    return layout;
}

void ShowValue(HWND dialog, const Control& control) {
    LRESULT value = SendDlgItemMessageW(dialog, control.slider, TBM_GETPOS, 0, 0);
    SetDlgItemInt(dialog, control.value, static_cast<UINT>(value), TRUE);
}

class PicturePage final : public PropertyPage {
public:
    PicturePage() : PropertyPage(L"Picture", PictureLayout()) {}

protected:
    void Attach(IUnknown* object) override {
        amp_.Reset();
        if (object) object->QueryInterface(IID_PPV_ARGS(&amp_));
    }
    bool Attached() const override { return amp_ != nullptr; }

    void Load(HWND dialog) override {
        for (const Control& control : kControls) {
            long min = 0, max = 0, step = 0, byDefault = 0, flags = 0, value = 0;
            if (FAILED(amp_->GetRange(control.property, &min, &max, &step, &byDefault, &flags)) ||
                FAILED(amp_->Get(control.property, &value, &flags)))
                continue;
            HWND slider = GetDlgItem(dialog, control.slider);
            SendMessageW(slider, TBM_SETRANGEMIN, FALSE, min);
            SendMessageW(slider, TBM_SETRANGEMAX, FALSE, max);
            SendMessageW(slider, TBM_SETPAGESIZE, 0, 10);
            SendMessageW(slider, TBM_SETTICFREQ, 50, 0);
            SendMessageW(slider, TBM_SETPOS, TRUE, value);
            ShowValue(dialog, control);
        }
        long scene = 0, flags = 0;
        if (SUCCEEDED(amp_->Get(kSceneProperty, &scene, &flags)))
            CheckDlgButton(dialog, kPhotographBox,
                           scene == static_cast<long>(Scene::Photograph) ? BST_CHECKED : BST_UNCHECKED);
    }

    bool OnControl(HWND dialog, UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_COMMAND) return LOWORD(wParam) == kPhotographBox && HIWORD(wParam) == BN_CLICKED;
        if (message != WM_HSCROLL) return false;
        for (const Control& control : kControls) ShowValue(dialog, control);
        return true;
    }

    HRESULT Save(HWND dialog) override {
        for (const Control& control : kControls) {
            long value = static_cast<long>(SendDlgItemMessageW(dialog, control.slider, TBM_GETPOS, 0, 0));
            if (HRESULT hr = amp_->Set(control.property, value, VideoProcAmp_Flags_Manual); FAILED(hr)) return hr;
        }
        Scene scene = IsDlgButtonChecked(dialog, kPhotographBox) == BST_CHECKED ? Scene::Photograph : Scene::Portrait;
        return amp_->Set(kSceneProperty, static_cast<long>(scene), VideoProcAmp_Flags_Manual);
    }

private:
    ComPtr<IAMVideoProcAmp> amp_;
};

}  // namespace

HRESULT CreatePicturePage(REFIID iid, void** out) noexcept { return vardolin::CreateAndQuery<PicturePage>(iid, out); }

}  // namespace vardolin::democam
