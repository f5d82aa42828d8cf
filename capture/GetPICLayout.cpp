#include "GetPICLayout.h"

#include <algorithm>
#include <array>

namespace vardolin::capture {
namespace {

using enum ControlId;
using K = ControlKind;

constexpr std::array<ControlSpec, 14> kControls{{
    {CmdOK, K::Button, {6000, 3720, 1215, 375}, L"关于", nullptr},
    {CmdSaveDIB, K::Button, {3000, 3720, 1215, 375}, L"先拍照", nullptr},
    {CmdSourceDlg, K::Button, {1560, 3720, 1215, 375}, L"视频调节...", nullptr},
    {CmdFormatDlg, K::Button, {120, 3720, 1215, 375}, L"视频格式...", nullptr},
    {Picture1, K::PictureBox, {120, 120, 4680, 3360}, L"", nullptr},
    {Picture2, K::PictureBox, {4920, 120, 2340, 2827}, L"", nullptr},
    {ezVidCap1, K::Camera, {120, 120, 4680, 3360}, L"", nullptr},
    {Label1, K::Label, {4920, 3000, 2295, 735},
     L"    拍照后，移动左边小黑框以选定截取范围，然后点击裁剪，完成照片命名存储", nullptr},
    {List1, K::ListBox, {7440, 120, 2055, 2580}, L"", L"双击可删除选项,右击有编辑菜单,可拖曳列表项排序"},
    {Command1, K::Button, {4440, 3720, 1335, 375}, L"再裁剪", nullptr},
    {HScroll1, K::ScrollBar, {7440, 3240, 2055, 375}, L"", nullptr},
    {Label2, K::Label, {7440, 2800, 2055, 340}, L"图片质量:", nullptr},
    {Check1, K::CheckBox, {7440, 3720, 1095, 375}, L"顶端显示 ", L"激活本功能后,窗体将在最顶端显示"},
    {Check2, K::CheckBox, {8520, 3720, 1095, 375}, L"直接删除", L"激活本功能后,双击列表框将直接删除选项"},
}};

}  // namespace

std::span<const ControlSpec> GetPICControls() noexcept { return kControls; }

const ControlSpec& SpecOf(ControlId id) noexcept {
    return *std::find_if(kControls.begin(), kControls.end(), [id](const ControlSpec& c) { return c.id == id; });
}

}  // namespace vardolin::capture
