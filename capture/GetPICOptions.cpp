// The capture window's persisted options: keep on top (Check1), direct delete
// (Check2) and the JPEG quality (HScroll1, shown in Label2).
#include "capture/ComponentState.h"
#include "win/ComponentError.h"
#include "win/ContinueOnError.h"
#include "capture/GetPIC.h"
#include "win/Settings.h"
#include "automation/Variant.h"

#include <cmath>

namespace vardolin::capture {
namespace {

// A stored "1" turns an option on; so does text that is empty or no number,
// because a failing comparison counts as equal.
bool StoredOptionIsOn(const wchar_t* key) {
    return TestOrAssumeTrue([&] { return TextToNumber(settings::Read(key)) == 1; });
}

void Store(const wchar_t* key, const wchar_t* value) {
    RunOrSkip([&] { settings::Write(key, value); });
}

// What assigning a number to the slider's 16-bit value does: rounds half to
// even and refuses what does not fit.
short ToSliderValue(double value) {
    if (!(value >= -32768.5 && value < 32767.5)) throw ComponentError::Overflow();
    double rounded = std::nearbyint(value);
    if (rounded < kQualityMin || rounded > kQualityMax) throw ComponentError::InvalidPropertyValue();
    return static_cast<short>(rounded);
}

}  // namespace

void GetPIC::SetTop() noexcept {
    RunOrSkip([&] {
        Load();
        SetWindowPos(Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    });
}

void GetPIC::Cancel_SetTop() noexcept {
    RunOrSkip([&] {
        Load();
        SetWindowPos(Window(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    });
}

bool GetPIC::IsChecked(ControlId checkBox) const noexcept {
    return SendMessageW(Control(checkBox), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void GetPIC::SetChecked(ControlId checkBox, bool checked) {
    if (IsChecked(checkBox) == checked) return;
    SendMessageW(Control(checkBox), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (checkBox == ControlId::Check1) Check1_Click();
    else if (checkBox == ControlId::Check2) Check2_Click();
}

int GetPIC::HScroll1Value() const noexcept { return GetScrollPos(Control(ControlId::HScroll1), SB_CTL); }

void GetPIC::SetHScroll1Value(double value) {
    short next = ToSliderValue(value);
    if (next == HScroll1Value()) return;
    SetScrollPos(Control(ControlId::HScroll1), SB_CTL, next, TRUE);
    HScroll1_Change();
}

void GetPIC::SetQualityLabel(const std::wstring& quality) {
    SetWindowTextW(Control(ControlId::Label2), (kQualityLabelPrefix + quality).c_str());
}

void GetPIC::ApplyKeepOnTop() noexcept {
    if (TestOrAssumeTrue([&] { return IsChecked(ControlId::Check1); })) {
        SetTop();
        Store(settings::kTopKey, L"1");
    } else {
        Cancel_SetTop();
        Store(settings::kTopKey, L"0");
    }
}

void GetPIC::ApplyDirectDelete() noexcept {
    if (TestOrAssumeTrue([&] { return IsChecked(ControlId::Check1); })) SetTop();
    else Cancel_SetTop();
    if (TestOrAssumeTrue([&] { return IsChecked(ControlId::Check2); })) Store(settings::kDirectDeleteKey, L"1");
    else Store(settings::kDirectDeleteKey, L"0");
}

void GetPIC::ApplyQuality() {
    int value = HScroll1Value();
    settings::Write(settings::kQualityKey, std::to_wstring(value));
    component_.jpegQuality.SetInteger(static_cast<short>(value));
    SetQualityLabel(std::to_wstring(value));
}

void GetPIC::RestoreTopmostOption() {
    if (StoredOptionIsOn(settings::kTopKey)) {
        SetTop();
        RunOrSkip([&] { SetChecked(ControlId::Check1, true); });
    } else {
        Cancel_SetTop();
    }
}

void GetPIC::RestoreDirectDeleteOption() {
    if (StoredOptionIsOn(settings::kDirectDeleteKey)) RunOrSkip([&] { SetChecked(ControlId::Check2, true); });
}

void GetPIC::RestoreQuality() {
    JpegQuality& quality = component_.jpegQuality;
    RunOrSkip([&] { quality.SetText(settings::Read(settings::kQualityKey)); });
    if (TestOrAssumeTrue([&] { return std::floor(quality.Number()) < kQualityMin; })) {
        Store(settings::kQualityKey, L"90");
        quality.SetInteger(90);
    }
    // Above 100 the slider refuses the value and stays where it is.
    RunOrSkip([&] { SetHScroll1Value(std::floor(quality.Number())); });
    RunOrSkip([&] { SetQualityLabel(quality.Text()); });
}

}  // namespace vardolin::capture
