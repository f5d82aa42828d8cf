#include "capture/camera/CameraControlObject.h"
#include "capture/camera/CameraTexts.h"
#include "win/ComAdopt.h"
#include "capture/CameraDispatch.h"

#include "automation/Variant.h"
#include "win/AutomationError.h"
#include "capture/CameraControl.h"
#include "win/ComponentError.h"

#include <string>

namespace vardolin::capture {
namespace {

using Microsoft::WRL::ComPtr;

HRESULT Raise(EXCEPINFO* info, const std::wstring& description) {
    if (info) {
        *info = EXCEPINFO{};
        info->scode = E_FAIL;
        info->bstrSource = SysAllocString(L"VideoCapture");
        info->bstrDescription = SysAllocString(description.c_str());
    }
    return DISP_E_EXCEPTION;
}

HRESULT ReturnBool(VARIANT* result, bool value) {
    if (result) *result = Variant::Boolean(value).release();
    return S_OK;
}

class CameraControlObject final : public CameraDispatch {
public:
    CameraControlObject(std::shared_ptr<VideoSource> source, HWND owner) : source_(std::move(source)), owner_(owner) {}

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT*) override {
        // Nothing may be thrown across the COM boundary.
        return Guarded([&] { return InvokeMember(id, flags, params, result, info); });
    }

private:
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) {
        bool isGet = flags & DISPATCH_PROPERTYGET;
        bool isMethod = flags & DISPATCH_METHOD;
        switch (id) {
        case camera_dispid::kFormatDialogAvailable:
            return isGet ? ReturnBool(result, source_->FormatDialogAvailable()) : DISP_E_MEMBERNOTFOUND;
        case camera_dispid::kSourceDialogAvailable:
            return isGet ? ReturnBool(result, source_->SourceDialogAvailable()) : DISP_E_MEMBERNOTFOUND;
        case camera_dispid::kShowFormatDialog:
            if (!isMethod) return DISP_E_MEMBERNOTFOUND;
            source_->ShowFormatDialog(DialogOwner());
            return S_OK;
        case camera_dispid::kShowSourceDialog:
            if (!isMethod) return DISP_E_MEMBERNOTFOUND;
            source_->ShowSourceDialog(DialogOwner());
            return S_OK;
        case camera_dispid::kSaveFrameBitmap: return isMethod ? SaveFrameBitmap(params, info) : DISP_E_MEMBERNOTFOUND;
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }

    HWND DialogOwner() const noexcept { return IsWindow(owner_) ? owner_ : nullptr; }

    HRESULT SaveFrameBitmap(DISPPARAMS* params, EXCEPINFO* info) {
        if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
        if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
        Variant path;
        HRESULT hr = VariantCopyInd(path.put(), &params->rgvarg[0]);
        if (SUCCEEDED(hr)) hr = VariantChangeType(&path.get(), &path.get(), 0, VT_BSTR);
        if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
        std::wstring file = path.get().bstrVal ? path.get().bstrVal : L"";

        BitmapPixels frame;
        if (!source_->TakeStill(frame)) {
            CameraProblem problem = source_->Problem();
            return Raise(info, problem == CameraProblem::None ? kNoFrameYetText : ProblemText(problem));
        }
        if (DWORD error = WriteBitmapFile(file, frame))
            return Raise(info, kCannotWriteFileBefore + file + kCannotWriteFileAfter + SystemMessage(error));
        return S_OK;
    }

    std::shared_ptr<VideoSource> source_;
    HWND owner_;
};

}  // namespace

ComPtr<IDispatch> CreateCameraControlObject(std::shared_ptr<VideoSource> source, HWND dialogOwner) {
    return AdoptReference<IDispatch>(new CameraControlObject(std::move(source), dialogOwner));
}

}  // namespace vardolin::capture
