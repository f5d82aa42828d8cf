#include "NoCamera.h"

#include "Win32Handles.h"

#include <atomic>
#include <cwchar>

namespace vardolin::capture {
namespace {

using Microsoft::WRL::ComPtr;

struct Member {
    const wchar_t* name;
    DISPID id;
};
constexpr Member kMembers[] = {
    {L"FormatDialogAvailable", camera_dispid::kFormatDialogAvailable},
    {L"SourceDialogAvailable", camera_dispid::kSourceDialogAvailable},
    {L"ShowFormatDialog", camera_dispid::kShowFormatDialog},
    {L"ShowSourceDialog", camera_dispid::kShowSourceDialog},
    {L"SaveFrameBitmap", camera_dispid::kSaveFrameBitmap},
};

class NoCameraAutomation final : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!names || !ids || count == 0) return E_INVALIDARG;
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        for (const Member& m : kMembers)
            if (_wcsicmp(names[0], m.name) == 0) {
                ids[0] = m.id;
                return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
            }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                     EXCEPINFO* info, UINT*) override {
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
        case camera_dispid::kShowSourceDialog:
            return S_OK;  // there is no dialog to show
        case camera_dispid::kSaveFrameBitmap:
            if (info) {
                *info = EXCEPINFO{};
                info->scode = E_FAIL;
                info->bstrDescription = SysAllocString(L"没有可用的摄像头");
            }
            return DISP_E_EXCEPTION;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    std::atomic<ULONG> references_{1};
};

class NoCameraWindow final : public CameraControlWindow {
public:
    NoCameraWindow(HWND parent, const RECT& bounds, int controlId)
        : window_(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_BLACKRECT,
                                  bounds.left, bounds.top, bounds.right - bounds.left,
                                  bounds.bottom - bounds.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), nullptr, nullptr)) {}

    HWND Window() const noexcept override { return window_.get(); }
    ComPtr<IDispatch> Automation() override { return CreateNoCameraAutomation(); }

private:
    UniqueWindow window_;
};

}  // namespace

ComPtr<IDispatch> CreateNoCameraAutomation() {
    ComPtr<IDispatch> automation;
    automation.Attach(new NoCameraAutomation());
    return automation;
}

std::unique_ptr<CameraControlWindow> CreateNoCamera(HWND parent, const RECT& bounds, int controlId) {
    return std::make_unique<NoCameraWindow>(parent, bounds, controlId);
}

}  // namespace vardolin::capture
