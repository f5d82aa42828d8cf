#include "camera/CameraControlObject.h"

#include "CameraControl.h"
#include "SystemMessage.h"

#include <atomic>
#include <cwchar>
#include <new>
#include <string>

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
    if (result) {
        VariantInit(result);
        result->vt = VT_BOOL;
        result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return S_OK;
}

class CameraControlObject final : public IDispatch {
public:
    CameraControlObject(std::shared_ptr<VideoSource> source, HWND owner) : source_(std::move(source)), owner_(owner) {}

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
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT*) override {
        // Nothing may be thrown across the COM boundary.
        try {
            return InvokeMember(id, flags, params, result, info);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
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
        case camera_dispid::kSaveFrameBitmap:
            return isMethod ? SaveFrameBitmap(params, info) : DISP_E_MEMBERNOTFOUND;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

    HWND DialogOwner() const noexcept { return IsWindow(owner_) ? owner_ : nullptr; }

    HRESULT SaveFrameBitmap(DISPPARAMS* params, EXCEPINFO* info) {
        if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
        if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
        VARIANT path;
        VariantInit(&path);
        HRESULT hr = VariantCopyInd(&path, &params->rgvarg[0]);
        if (SUCCEEDED(hr)) hr = VariantChangeType(&path, &path, 0, VT_BSTR);
        std::wstring file = SUCCEEDED(hr) && path.bstrVal ? path.bstrVal : L"";
        VariantClear(&path);
        if (FAILED(hr)) return DISP_E_TYPEMISMATCH;

        BitmapPixels frame;
        if (!source_->CurrentFrame(frame)) return Raise(info, L"摄像头还没有送来画面");
        if (DWORD error = WriteBitmapFile(file, frame))
            return Raise(info, L"无法写入文件“" + file + L"”：" + SystemMessage(error));
        return S_OK;
    }

    std::shared_ptr<VideoSource> source_;
    HWND owner_;
    std::atomic<ULONG> references_{1};
};

}  // namespace

ComPtr<IDispatch> CreateCameraControlObject(std::shared_ptr<VideoSource> source, HWND dialogOwner) {
    ComPtr<IDispatch> object;
    object.Attach(new CameraControlObject(std::move(source), dialogOwner));
    return object;
}

}  // namespace vardolin::capture
