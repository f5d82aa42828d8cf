#include "capture/NoCamera.h"
#include "capture/camera/CameraTexts.h"
#include "win/ComAdopt.h"
#include "capture/CameraDispatch.h"

#include "win/Win32Handles.h"
#include "capture/camera/CameraProblem.h"

namespace vardolin::capture {
namespace {

using Microsoft::WRL::ComPtr;

class NoCameraAutomation final : public CameraDispatch {
public:
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO* info,
                                     UINT*) override {
        switch (id) {
        case camera_dispid::kFormatDialogAvailable:
        case camera_dispid::kSourceDialogAvailable:
            if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
            if (result) {
                VariantInit(result);
                result->vt = VT_BOOL;
                result->boolVal = VARIANT_FALSE;
            }
            return S_OK;
        case camera_dispid::kShowFormatDialog:
        case camera_dispid::kShowSourceDialog: return S_OK;  // there is no dialog to show
        case camera_dispid::kSaveFrameBitmap:
            if (info) {
                *info = EXCEPINFO{};
                info->scode = E_FAIL;
                info->bstrDescription = SysAllocString(kNoCameraAvailableText);
            }
            return DISP_E_EXCEPTION;
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }
};

class NoCameraWindow final : public CameraControlWindow {
public:
    NoCameraWindow(HWND parent, const RECT& bounds, int controlId)
        : window_(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_BLACKRECT,
                                  bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                  parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), nullptr, nullptr)) {
    }

    HWND Window() const noexcept override { return window_.get(); }
    ComPtr<IDispatch> Automation() override { return CreateNoCameraAutomation(); }
    std::wstring Problem() const override { return ProblemText(CameraProblem::NoCamera); }

private:
    UniqueWindow window_;
};

}  // namespace

ComPtr<IDispatch> CreateNoCameraAutomation() { return AdoptReference<IDispatch>(new NoCameraAutomation()); }

std::unique_ptr<CameraControlWindow> CreateNoCamera(HWND parent, const RECT& bounds, int controlId) {
    return std::make_unique<NoCameraWindow>(parent, bounds, controlId);
}

}  // namespace vardolin::capture
