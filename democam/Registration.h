// What regsvr32 writes and removes: the COM classes (cameras and property
// pages) and each camera's entry in the video input device category.
#pragma once

#include "democam/Identity.h"

#include <windows.h>

namespace vardolin::democam {

// The camera's class and category entry, and the property pages.
HRESULT RegisterCamera(const CameraIdentity& camera) noexcept;

// Removes the camera's keys, and the property pages once no camera is left.
// Keys that are already gone are no error.
HRESULT UnregisterCamera(const CameraIdentity& camera) noexcept;

}  // namespace vardolin::democam
