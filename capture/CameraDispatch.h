// What every camera control's automation object has in common: reference
// counting and the five member names with their dispatch ids. Each control
// adds its own Invoke.
#pragma once

#include "CameraControl.h"

#include <atomic>
#include <cwchar>

namespace vardolin::capture {

class CameraDispatch : public IDispatch {
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
        struct Member {
            const wchar_t* name;
            DISPID id;
        };
        static constexpr Member kMembers[] = {
            {L"FormatDialogAvailable", camera_dispid::kFormatDialogAvailable},
            {L"SourceDialogAvailable", camera_dispid::kSourceDialogAvailable},
            {L"ShowFormatDialog", camera_dispid::kShowFormatDialog},
            {L"ShowSourceDialog", camera_dispid::kShowSourceDialog},
            {L"SaveFrameBitmap", camera_dispid::kSaveFrameBitmap},
        };
        if (!names || !ids || count == 0) return E_INVALIDARG;
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        for (const Member& m : kMembers)
            if (_wcsicmp(names[0], m.name) == 0) {
                ids[0] = m.id;
                return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
            }
        return DISP_E_UNKNOWNNAME;
    }

protected:
    virtual ~CameraDispatch() = default;

private:
    std::atomic<ULONG> references_{1};
};

}  // namespace vardolin::capture
