#include "capture/camera/CameraFormats.h"

#include <uuids.h>

namespace vardolin::capture {
namespace {

const CameraFormat kCameraFormats[] = {
    {MEDIASUBTYPE_RGB24, L"RGB24", 24, PixelFormat::Rgb24, 0},
    {MEDIASUBTYPE_YUY2, nullptr, 16, PixelFormat::Yuy2, 1},
    {MEDIASUBTYPE_NV12, nullptr, 12, PixelFormat::Nv12, 2},
    {MEDIASUBTYPE_RGB32, L"RGB32", 32, PixelFormat::Rgb32, 3},
    {MEDIASUBTYPE_RGB565, L"RGB565", 16, PixelFormat::Rgb565, 4},
    {MEDIASUBTYPE_RGB555, L"RGB555", 16, PixelFormat::Rgb555, 5},
};

}  // namespace

std::span<const CameraFormat> CameraFormats() noexcept { return kCameraFormats; }

const CameraFormat* CameraFormatOf(const GUID& subtype) noexcept {
    for (const CameraFormat& format : kCameraFormats)
        if (IsEqualGUID(format.subtype, subtype)) return &format;
    return nullptr;
}

const CameraFormat& CameraFormatOf(PixelFormat converter) noexcept {
    for (const CameraFormat& format : kCameraFormats)
        if (format.converter == converter) return format;
    return kCameraFormats[0];  // every conversion has its row
}

std::optional<PixelFormat> PixelFormatOf(const GUID& subtype) noexcept {
    const CameraFormat* format = CameraFormatOf(subtype);
    return format ? std::optional(format->converter) : std::nullopt;
}

int PreferenceOf(const GUID& subtype) noexcept {
    const CameraFormat* format = CameraFormatOf(subtype);
    return format ? format->preference : kOtherPreference;
}

}  // namespace vardolin::capture
