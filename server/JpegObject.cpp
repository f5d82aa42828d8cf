#include "server/JpegObject.h"

#include <cstdint>
#include <filesystem>
#include <string>

#include "win/AutomationError.h"
#include "win/GdiPictureSource.h"
#include "win/TextEncoding.h"
#include "win/Win32Handles.h"

namespace vardolin::server {
namespace {

enum : DISPID { kQuality = 1, kSetSamplingFrequencies = 2, kSampleHDC = 3, kComment = 4, kSaveFile = 5 };

// Callers hand device contexts over as 32-bit numbers; handles are
// sign-extended values, so this gives back the 64-bit handle too.
HDC HdcFromLong(LONG value) noexcept { return reinterpret_cast<HDC>(static_cast<intptr_t>(value)); }

std::u16string ToU16(BSTR text) {
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)) : std::u16string();
}

}  // namespace

JpegObject::JpegObject() { Encoder.SetSingleByteConverter(ToAnsiByte); }

STDMETHODIMP JpegObject::get_Quality(LONG* value) {
    if (!value) return E_POINTER;
    *value = Encoder.Quality();
    return S_OK;
}

STDMETHODIMP JpegObject::put_Quality(LONG value) {
    return Guarded(IID__ClsJPEG, [&] {
        Encoder.SetQuality(value);
        return S_OK;
    });
}

STDMETHODIMP JpegObject::SetSamplingFrequencies(LONG* H1, LONG* V1, LONG* H2, LONG* V2, LONG* H3, LONG* V3) {
    if (!H1 || !V1 || !H2 || !V2 || !H3 || !V3) return E_POINTER;
    return Guarded(IID__ClsJPEG, [&] {
        Encoder.SetSamplingFrequencies(*H1, *V1, *H2, *V2, *H3, *V3);
        return S_OK;
    });
}

STDMETHODIMP JpegObject::SampleHDC(LONG lHDC, LONG lWidth, LONG lHeight, LONG lSrcLeft, LONG lSrcTop, LONG* status) {
    if (!status) return E_POINTER;
    return Guarded(IID__ClsJPEG, [&] {
        GdiPictureSource source(HdcFromLong(lHDC));
        *status = Encoder.SampleHDC(source, lWidth, lHeight, lSrcLeft, lSrcTop);
        return S_OK;
    });
}

STDMETHODIMP JpegObject::get_Comment(BSTR* value) {
    if (!value) return E_POINTER;
    const std::u16string& text = Encoder.Comment();
    *value = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP JpegObject::put_Comment(BSTR value) {
    return Guarded(IID__ClsJPEG, [&] {
        Encoder.SetComment(ToU16(value));
        return S_OK;
    });
}

STDMETHODIMP JpegObject::SaveFile(BSTR* Filename, LONG* status) {
    if (!Filename || !status) return E_POINTER;
    return Guarded(IID__ClsJPEG, [&] {
        std::wstring name(*Filename ? *Filename : L"", *Filename ? SysStringLen(*Filename) : 0);
        // The file system would cut the name at an embedded NUL and write
        // another file than the one named.
        if (name.find(L'\0') != std::wstring::npos) throw ComponentError::PathFileAccess();
        *status = Encoder.SaveFile(std::filesystem::path(name));
        return S_OK;
    });
}

HRESULT JpegObject::InvokeMember(DISPID member, WORD flags, const DispatchArgs& args, VARIANT* result) {
    switch (member) {
    case kQuality: return InvokeQuality(flags, args, result);
    case kComment: return InvokeComment(flags, args, result);
    case kSetSamplingFrequencies:
        return flags & DISPATCH_METHOD ? InvokeSetSamplingFrequencies(args) : DISP_E_MEMBERNOTFOUND;
    case kSampleHDC: return IsGet(flags) ? InvokeSampleHDC(args, result) : DISP_E_MEMBERNOTFOUND;
    case kSaveFile: return IsGet(flags) ? InvokeSaveFile(args, result) : DISP_E_MEMBERNOTFOUND;
    default: return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT JpegObject::InvokeQuality(WORD flags, const DispatchArgs& args, VARIANT* result) {
    LONG value = 0;
    if (IsPut(flags)) {
        HRESULT hr = args.ExpectPut();
        if (SUCCEEDED(hr)) hr = args.GetLong(DispatchArgs::PutValue, value);
        return FAILED(hr) ? hr : put_Quality(value);
    }
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    HRESULT hr = args.ExpectCount(0, 0);
    if (SUCCEEDED(hr)) hr = get_Quality(&value);
    return FAILED(hr) ? hr : ReturnLong(result, value);
}

HRESULT JpegObject::InvokeSetSamplingFrequencies(const DispatchArgs& args) {
    LONG factors[6] = {};
    HRESULT hr = args.ExpectCount(6, 6);
    for (DISPID i = 0; i < 6 && SUCCEEDED(hr); ++i) hr = args.GetLong(i, factors[i]);
    if (FAILED(hr)) return hr;
    return SetSamplingFrequencies(&factors[0], &factors[1], &factors[2], &factors[3], &factors[4], &factors[5]);
}

HRESULT JpegObject::InvokeSampleHDC(const DispatchArgs& args, VARIANT* result) {
    LONG hdc = 0, width = 0, height = 0, left = 0, top = 0, status = 0;
    HRESULT hr = args.ExpectCount(3, 5);
    if (SUCCEEDED(hr)) hr = args.GetLong(0, hdc);
    if (SUCCEEDED(hr)) hr = args.GetLong(1, width);
    if (SUCCEEDED(hr)) hr = args.GetLong(2, height);
    if (SUCCEEDED(hr)) hr = args.GetOptionalLong(3, 0, left);
    if (SUCCEEDED(hr)) hr = args.GetOptionalLong(4, 0, top);
    if (SUCCEEDED(hr)) hr = SampleHDC(hdc, width, height, left, top, &status);
    return FAILED(hr) ? hr : ReturnLong(result, status);
}

HRESULT JpegObject::InvokeComment(WORD flags, const DispatchArgs& args, VARIANT* result) {
    if (IsPut(flags)) {
        vardolin::UniqueBstr value;
        HRESULT hr = args.ExpectPut();
        if (SUCCEEDED(hr)) hr = args.GetString(DispatchArgs::PutValue, value);
        return FAILED(hr) ? hr : put_Comment(value.get());
    }
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    BSTR value = nullptr;
    HRESULT hr = args.ExpectCount(0, 0);
    if (SUCCEEDED(hr)) hr = get_Comment(&value);
    return FAILED(hr) ? hr : ReturnString(result, value);
}

HRESULT JpegObject::InvokeSaveFile(const DispatchArgs& args, VARIANT* result) {
    vardolin::UniqueBstr name;
    LONG status = 0;
    HRESULT hr = args.ExpectCount(1, 1);
    if (SUCCEEDED(hr)) hr = args.GetString(0, name);
    if (FAILED(hr)) return hr;
    BSTR raw = name.get();
    hr = SaveFile(&raw, &status);
    return FAILED(hr) ? hr : ReturnLong(result, status);
}

}  // namespace vardolin::server
