// The classes this DLL serves: three cameras (the same filter under three
// classes, so tests and users can have more than one device) and their
// property pages.
#pragma once

#include <windows.h>

#include <span>

namespace vardolin::democam {

extern const CLSID kCameraClsid;
extern const CLSID kSecondCameraClsid;
extern const CLSID kTwinCameraClsid;
extern const CLSID kFormatPageClsid;
extern const CLSID kPicturePageClsid;

// How a camera's picture differs from the scene it films.
enum class Stage { Plain, Inverted };

struct CameraIdentity {
    const CLSID& clsid;
    const wchar_t* friendlyName;
    const wchar_t* instanceKey;  // its key in the category, the moniker's name
    const wchar_t* devicePath;   // the DevicePath of its property bag, unique
    const wchar_t* installName;  // DllInstall's command line; null: DllRegisterServer
    Stage stage;
};

// The first camera is what plain regsvr32 registers; the second ("Vardolin
// Demo Camera 2") and the twin (the first camera's friendly name, its own
// device path, its picture inverted) are registered by DllInstall with the
// command lines "second" and "twin".
std::span<const CameraIdentity> Cameras() noexcept;
const CameraIdentity* CameraByClsid(REFCLSID clsid) noexcept;
const CameraIdentity* CameraByInstallName(const wchar_t* commandLine) noexcept;

}  // namespace vardolin::democam
