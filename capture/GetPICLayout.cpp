#include "capture/GetPICLayout.h"

#include <array>

namespace vardolin::capture {
namespace {

using enum ControlId;
using K = ControlKind;

constexpr std::array<ControlSpec, 14> kControls{{
    {CmdOK, K::Button, {6000, 3720, 1215, 375}, kCmdOKCaption, nullptr},
    {CmdSaveDIB, K::Button, {3000, 3720, 1215, 375}, kTakePhotoCaption, kCmdSaveDIBTooltip},
    {CmdSourceDlg, K::Button, {1560, 3720, 1215, 375}, kCmdSourceDlgCaption, nullptr},
    {CmdFormatDlg, K::Button, {120, 3720, 1215, 375}, kCmdFormatDlgCaption, nullptr},
    {Picture1, K::PictureBox, {120, 120, 4680, 3360}, L"", nullptr},
    {Picture2, K::PictureBox, {4920, 120, 2340, 2827}, L"", nullptr},
    {ezVidCap1, K::Camera, {120, 120, 4680, 3360}, L"", nullptr},
    {Label1, K::Label, {4920, 3000, 2295, 735}, kLabel1Caption, nullptr},
    {List1, K::ListBox, {7440, 120, 2055, 2580}, L"", kList1Tooltip},
    {Command1, K::Button, {4440, 3720, 1335, 375}, kCommand1Caption, kCommand1Tooltip},
    {HScroll1, K::ScrollBar, {7440, 3240, 2055, 375}, L"", nullptr},
    {Label2, K::Label, {7440, 2800, 2055, 340}, kLabel2Caption, nullptr},
    {Check1, K::CheckBox, {7440, 3720, 1095, 375}, kCheck1Caption, kCheck1Tooltip},
    {Check2, K::CheckBox, {8520, 3720, 1095, 375}, kCheck2Caption, kCheck2Tooltip},
}};

}  // namespace

std::span<const ControlSpec> GetPICControls() noexcept { return kControls; }

}  // namespace vardolin::capture
