#include "democam/Identity.h"

#include <cwchar>

namespace vardolin::democam {

// {DD32623A-3787-4EBD-B12B-36946BE61889}
const CLSID kCameraClsid = {0xdd32623a, 0x3787, 0x4ebd, {0xb1, 0x2b, 0x36, 0x94, 0x6b, 0xe6, 0x18, 0x89}};
// {D3B4BE71-380F-4CF9-A035-CA6C9D66BE19}
const CLSID kSecondCameraClsid = {0xd3b4be71, 0x380f, 0x4cf9, {0xa0, 0x35, 0xca, 0x6c, 0x9d, 0x66, 0xbe, 0x19}};
// {4C6E1F52-9B0D-4A37-8E25-0B7D3F61A9C4}
const CLSID kTwinCameraClsid = {0x4c6e1f52, 0x9b0d, 0x4a37, {0x8e, 0x25, 0x0b, 0x7d, 0x3f, 0x61, 0xa9, 0xc4}};
// {7510FF3C-31BF-43F3-984F-E5988FCFFE33}
const CLSID kFormatPageClsid = {0x7510ff3c, 0x31bf, 0x43f3, {0x98, 0x4f, 0xe5, 0x98, 0x8f, 0xcf, 0xfe, 0x33}};
// {51E000D1-5E9A-4BC5-A6F8-712425C65CBD}
const CLSID kPicturePageClsid = {0x51e000d1, 0x5e9a, 0x4bc5, {0xa6, 0xf8, 0x71, 0x24, 0x25, 0xc6, 0x5c, 0xbd}};

namespace {
// Device paths shaped like a USB camera's (vendor FFF0 is no real vendor)
// under the capture device interface class; the twin is the same model with
// another serial number.
const CameraIdentity kCameras[] = {
    {kCameraClsid, L"Vardolin Demo Camera", L"Vardolin Demo Camera",
     L"\\\\?\\usb#vid_fff0&pid_0d01&mi_00#7&1a2b3c01&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global", nullptr,
     Stage::Plain},
    {kSecondCameraClsid, L"Vardolin Demo Camera 2", L"Vardolin Demo Camera 2",
     L"\\\\?\\usb#vid_fff0&pid_0d02&mi_00#7&1a2b3c02&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global", L"second",
     Stage::Plain},
    // Its key sorts after the first camera's: the device enumerator lists it second.
    {kTwinCameraClsid, L"Vardolin Demo Camera", L"{4C6E1F52-9B0D-4A37-8E25-0B7D3F61A9C4}",
     L"\\\\?\\usb#vid_fff0&pid_0d01&mi_00#7&1a2b3c03&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global", L"twin",
     Stage::Inverted},
};
}  // namespace

std::span<const CameraIdentity> Cameras() noexcept { return kCameras; }

const CameraIdentity* CameraByClsid(REFCLSID clsid) noexcept {
    for (const CameraIdentity& camera : kCameras)
        if (IsEqualCLSID(camera.clsid, clsid)) return &camera;
    return nullptr;
}

const CameraIdentity* CameraByInstallName(const wchar_t* commandLine) noexcept {
    if (!commandLine) return nullptr;
    for (const CameraIdentity& camera : kCameras)
        if (camera.installName && _wcsicmp(camera.installName, commandLine) == 0) return &camera;
    return nullptr;
}

}  // namespace vardolin::democam
