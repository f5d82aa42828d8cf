#include "photo/PhotoCapture.h"

#include "camera/CameraChoice.h"
#include "photo/CropFrame.h"
#include "photo/StoreCrop.h"
#include "photo/TakePhoto.h"

namespace vardolin::capture {

void AttachPhotoCapture(GetPICExtensions& slots) {
    slots.cmdSaveDIBClick = CmdSaveDIB_Click;
    slots.command1Click = Command1_Click;
    slots.picture1Mouse = RouteStillMouseToFrame;
    slots.picture1Key = L_KeyDown;
    InstallCameraControl(CreateChosenCameraControl);
}

}  // namespace vardolin::capture
