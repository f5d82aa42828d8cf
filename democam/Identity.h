// The classes this DLL serves: two cameras (the same filter under two names,
// so tests and users can have a second device) and their property pages.
#pragma once

#include <windows.h>

#include <span>

namespace vardolin::democam {

extern const CLSID kCameraClsid;
extern const CLSID kSecondCameraClsid;
extern const CLSID kFormatPageClsid;
extern const CLSID kPicturePageClsid;

struct CameraIdentity {
    const CLSID& clsid;
    const wchar_t* friendlyName;
};

// The first camera is what plain regsvr32 registers; the second one is
// registered by DllInstall with the command line "second".
std::span<const CameraIdentity> Cameras() noexcept;
const CameraIdentity* CameraByClsid(REFCLSID clsid) noexcept;

}  // namespace vardolin::democam
