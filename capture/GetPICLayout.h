// The capture window's controls: where each one sits (twips of the client
// area, 15 twips to the pixel), its caption, tooltip and tab order.
#pragma once

#include "autoframe/FramePlacement.h"
#include "capture/GetPICTexts.h"
#include "win/Twips.h"

#include <windows.h>

#include <span>

namespace vardolin::capture {

// The window's client area, held whatever the user does and whatever the
// system's frame around it.
inline constexpr int kClientWidthTwips = 9585;
inline constexpr int kClientHeightTwips = 4275;

enum class ControlId : int {
    CmdOK = 1001,
    CmdSaveDIB,
    CmdSourceDlg,
    CmdFormatDlg,
    Picture1,
    Picture2,
    ezVidCap1,
    Label1,
    List1,
    Command1,
    HScroll1,
    Label2,
    Check1,
    Check2,
};

enum class ControlKind { Button, CheckBox, Label, ListBox, ScrollBar, PictureBox, Camera };

struct ControlSpec {
    ControlId id;
    ControlKind kind;
    TwipsRect bounds;
    const wchar_t* caption;
    const wchar_t* tooltip;  // null: none
};

// Every control in tab order (the order in which they are created, which is
// also their stacking order: Picture1 lies over the camera preview).
std::span<const ControlSpec> GetPICControls() noexcept;

// The crop frame `L` inside Picture1, in Picture1's pixels.
inline constexpr RECT kCropFrameAtLoad{120, 24, 120 + autoframe::kCropFrameSize.width,
                                       24 + autoframe::kCropFrameSize.height};

// Slider range and steps.
inline constexpr int kQualityMin = 50;
inline constexpr int kQualityMax = 100;
inline constexpr int kQualityStep = 10;

}  // namespace vardolin::capture
