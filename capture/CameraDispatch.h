// What every camera control's automation object has in common: the five
// member names with their dispatch ids. Each control adds its own Invoke.
#pragma once

#include "capture/CameraControl.h"
#include "automation/NameDispatch.h"

namespace vardolin::capture {

class CameraDispatch : public NameDispatch {
protected:
    std::span<const Member> Members() const override {
        static constexpr Member kMembers[] = {
            {L"FormatDialogAvailable", camera_dispid::kFormatDialogAvailable},
            {L"SourceDialogAvailable", camera_dispid::kSourceDialogAvailable},
            {L"ShowFormatDialog", camera_dispid::kShowFormatDialog},
            {L"ShowSourceDialog", camera_dispid::kShowSourceDialog},
            {L"SaveFrameBitmap", camera_dispid::kSaveFrameBitmap},
        };
        return kMembers;
    }
};

}  // namespace vardolin::capture
