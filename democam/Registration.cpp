#include "democam/Registration.h"

#include "win/ComObject.h"
#include "democam/Handles.h"
#include "win/ModuleInstance.h"

#include <dshow.h>
#include <wrl/client.h>

#include <string>

namespace vardolin::democam {
namespace {

using Microsoft::WRL::ComPtr;

struct PageClass {
    const CLSID& clsid;
    const wchar_t* name;
};
const PageClass kPages[] = {
    {kFormatPageClsid, L"Vardolin Demo Camera Format Page"},
    {kPicturePageClsid, L"Vardolin Demo Camera Picture Page"},
};

std::wstring ClassKeyPath(REFCLSID clsid) {
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

LSTATUS SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LSTATUS CreateKey(const std::wstring& path, UniqueKey& key) {
    HKEY created = nullptr;
    LSTATUS status =
        RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr);
    key.reset(created);
    return status;
}

// HKCR\CLSID\{clsid} = name, with InprocServer32 = this DLL, ThreadingModel Both.
HRESULT RegisterClass(REFCLSID clsid, const wchar_t* name) {
    std::wstring path = ClassKeyPath(clsid), module = vardolin::ModulePath();
    if (module.empty()) return HRESULT_FROM_WIN32(GetLastError());
    UniqueKey classKey, serverKey;
    LSTATUS status = CreateKey(path, classKey);
    if (status == ERROR_SUCCESS) status = SetText(classKey.get(), nullptr, name);
    if (status == ERROR_SUCCESS) status = CreateKey(path + L"\\InprocServer32", serverKey);
    if (status == ERROR_SUCCESS) status = SetText(serverKey.get(), nullptr, module);
    if (status == ERROR_SUCCESS) status = SetText(serverKey.get(), L"ThreadingModel", L"Both");
    return HRESULT_FROM_WIN32(status);
}

HRESULT UnregisterClass(REFCLSID clsid) {
    LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKeyPath(clsid).c_str());
    return status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
}

bool ClassRegistered(REFCLSID clsid) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, ClassKeyPath(clsid).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// COM for the filter mapper, for the length of a registration call.
class ComScope {
public:
    ComScope() noexcept : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }

private:
    HRESULT hr_;
};

HRESULT FilterMapper(ComPtr<IFilterMapper2>& mapper) {
    return CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&mapper));
}

// The entry that device enumerators list: one output pin, video, capture.
HRESULT RegisterInCategory(const CameraIdentity& camera) {
    ComPtr<IFilterMapper2> mapper;
    if (HRESULT hr = FilterMapper(mapper); FAILED(hr)) return hr;
    REGPINTYPES type{&MEDIATYPE_Video, &MEDIASUBTYPE_NULL};
    REGFILTERPINS2 pin{};
    pin.dwFlags = REG_PINFLAG_B_OUTPUT;
    pin.cInstances = 1;
    pin.nMediaTypes = 1;
    pin.lpMediaType = &type;
    pin.clsPinCategory = &PIN_CATEGORY_CAPTURE;
    REGFILTER2 filter{};
    filter.dwVersion = 2;
    filter.dwMerit = MERIT_DO_NOT_USE;
    filter.cPins2 = 1;
    filter.rgPins2 = &pin;
    HRESULT hr = mapper->RegisterFilter(camera.clsid, camera.friendlyName, nullptr, &CLSID_VideoInputDeviceCategory,
                                        camera.instanceKey, &filter);
    if (FAILED(hr)) return hr;
    // The device path, as a USB camera's property bag has it: what tells
    // cameras of the same name apart.
    UniqueKey instance;
    std::wstring key = ClassKeyPath(CLSID_VideoInputDeviceCategory) + L"\\Instance\\" + camera.instanceKey;
    LSTATUS status = CreateKey(key, instance);
    if (status == ERROR_SUCCESS) status = SetText(instance.get(), L"DevicePath", camera.devicePath);
    return HRESULT_FROM_WIN32(status);
}

HRESULT UnregisterFromCategory(const CameraIdentity& camera) {
    ComPtr<IFilterMapper2> mapper;
    if (HRESULT hr = FilterMapper(mapper); FAILED(hr)) return hr;
    HRESULT hr = mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, camera.instanceKey, camera.clsid);
    return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? S_OK : hr;
}

}  // namespace

HRESULT RegisterCamera(const CameraIdentity& camera) noexcept {
    return vardolin::Guarded([&] {
        ComScope com;
        HRESULT hr = RegisterClass(camera.clsid, camera.friendlyName);
        for (const PageClass& page : kPages)
            if (SUCCEEDED(hr)) hr = RegisterClass(page.clsid, page.name);
        if (SUCCEEDED(hr)) hr = RegisterInCategory(camera);
        if (FAILED(hr)) UnregisterCamera(camera);  // leave nothing half written
        return hr;
    });
}

HRESULT UnregisterCamera(const CameraIdentity& camera) noexcept {
    return vardolin::Guarded([&] {
        ComScope com;
        HRESULT hr = UnregisterFromCategory(camera);
        HRESULT classHr = UnregisterClass(camera.clsid);
        if (SUCCEEDED(hr)) hr = classHr;
        bool cameraLeft = false;
        for (const CameraIdentity& other : Cameras()) cameraLeft = cameraLeft || ClassRegistered(other.clsid);
        if (!cameraLeft)
            for (const PageClass& page : kPages)
                if (HRESULT pageHr = UnregisterClass(page.clsid); SUCCEEDED(hr)) hr = pageHr;
        return hr;
    });
}

}  // namespace vardolin::democam
