// The persisted options: restore at load, write on change, topmost.
#include "win/ComponentError.h"
#include "capture/tests/WindowTestSupport.h"

#include <cctype>

namespace vardolin::capture::test {
namespace {

using OptionsTest = GetPICTest;

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

TEST_F(OptionsTest, FirstRunTurnsBothOptionsOnAndStoresTheDefaults) {
    ShowWithHost();

    EXPECT_TRUE(IsTopmost());
    EXPECT_TRUE(IsChecked(ControlId::Check1));
    EXPECT_TRUE(IsChecked(ControlId::Check2));
    EXPECT_EQ(Window().HScroll1Value(), 90);
    EXPECT_EQ(Text(Control(ControlId::Label2)), L"图片质量：90");
    EXPECT_EQ(SettingsSandbox::Get(L"Top"), L"1");
    EXPECT_EQ(SettingsSandbox::Get(L"Del"), L"1");
    EXPECT_EQ(SettingsSandbox::Get(L"intQ"), L"90");
}

TEST_F(OptionsTest, StoredOptionsOffAreRestoredOff) {
    SettingsSandbox::Put(L"Top", L"0");
    SettingsSandbox::Put(L"Del", L"0");
    SettingsSandbox::Put(L"intQ", L"70");

    ShowWithHost();

    EXPECT_FALSE(IsTopmost());
    EXPECT_FALSE(IsChecked(ControlId::Check1));
    EXPECT_FALSE(IsChecked(ControlId::Check2));
    EXPECT_EQ(Window().HScroll1Value(), 70);
    EXPECT_EQ(Text(Control(ControlId::Label2)), L"图片质量：70");
    EXPECT_EQ(SettingsSandbox::Get(L"Top"), L"0");
    EXPECT_EQ(SettingsSandbox::Get(L"Del"), L"0");
}

TEST_F(OptionsTest, TextThatIsNoNumberTurnsAnOptionOn) {
    SettingsSandbox::Put(L"Top", L"yes");
    SettingsSandbox::Put(L"Del", L"2");

    ShowWithHost();

    EXPECT_TRUE(IsTopmost());
    EXPECT_EQ(SettingsSandbox::Get(L"Top"), L"1");
    EXPECT_FALSE(IsChecked(ControlId::Check2));
    EXPECT_EQ(SettingsSandbox::Get(L"Del"), L"2");
}

struct QualityCase {
    const wchar_t* stored;  // null: absent
    int slider;
    const wchar_t* storedAfter;
    const wchar_t* label;
};

void PrintTo(const QualityCase& c, std::ostream* out) {
    *out << "intQ " << (c.stored ? ::testing::PrintToString(std::wstring(c.stored)) : "absent");
}

std::string QualityCaseName(const ::testing::TestParamInfo<QualityCase>& info) {
    if (!info.param.stored) return "absent";
    std::wstring stored = info.param.stored;
    if (stored.empty()) return "empty";
    std::string name = "stored_";
    for (wchar_t c : stored) name += std::isalnum(c) ? static_cast<char>(c) : '_';
    return name;
}

class QualityRestoreTest : public GetPICTest, public ::testing::WithParamInterface<QualityCase> {};

TEST_P(QualityRestoreTest, RestoresTheSliderLabelAndStore) {
    const QualityCase& c = GetParam();
    if (c.stored) SettingsSandbox::Put(L"intQ", c.stored);

    ShowWithHost();

    EXPECT_EQ(Window().HScroll1Value(), c.slider);
    EXPECT_EQ(SettingsSandbox::Get(L"intQ"), c.storedAfter);
    EXPECT_EQ(Text(Control(ControlId::Label2)), std::wstring(L"图片质量：") + c.label);
    EXPECT_EQ(CurrentComponentState().jpegQuality.Text(), c.label);
}

INSTANTIATE_TEST_SUITE_P(
    StoredValues, QualityRestoreTest,
    ::testing::Values(QualityCase{nullptr, 90, L"90", L"90"},    // first run
                      QualityCase{L"", 90, L"90", L"90"},        // empty
                      QualityCase{L"abc", 90, L"90", L"90"},     // no number
                      QualityCase{L"49", 90, L"90", L"90"},      // below the slider
                      QualityCase{L"50", 50, L"50", L"50"},      // the slider's own value: no change runs
                      QualityCase{L"75.6", 75, L"75", L"75"},    // integer part, written back
                      QualityCase{L"120", 50, L"120", L"120"}),  // refused by the slider, shown as stored
    QualityCaseName);

TEST_F(OptionsTest, Check1TogglesTopmostAndStoresIt) {
    ShowWithHost();

    Click(Control(ControlId::Check1));
    EXPECT_FALSE(IsTopmost());
    EXPECT_EQ(SettingsSandbox::Get(L"Top"), L"0");

    Click(Control(ControlId::Check1));
    EXPECT_TRUE(IsTopmost());
    EXPECT_EQ(SettingsSandbox::Get(L"Top"), L"1");
}

TEST_F(OptionsTest, Check2ReappliesCheck1AndStoresItsOwnState) {
    ShowWithHost();
    ASSERT_TRUE(IsChecked(ControlId::Check1));

    Click(Control(ControlId::Check2));
    EXPECT_EQ(SettingsSandbox::Get(L"Del"), L"0");
    EXPECT_TRUE(IsTopmost());

    Click(Control(ControlId::Check1));  // off the top
    Window().SetTop();                  // on top behind Check1's back
    Click(Control(ControlId::Check2));
    EXPECT_EQ(SettingsSandbox::Get(L"Del"), L"1");
    EXPECT_FALSE(IsTopmost());
}

TEST_F(OptionsTest, SetCheckedByCodeRunsTheClickHandlingOnlyOnAChange) {
    ShowWithHost();
    SettingsSandbox::Clear();

    Window().SetChecked(ControlId::Check1, true);  // already checked
    EXPECT_EQ(SettingsSandbox::Get(L"Top"), std::nullopt);

    Window().SetChecked(ControlId::Check1, false);
    EXPECT_EQ(SettingsSandbox::Get(L"Top"), L"0");
    EXPECT_FALSE(IsTopmost());
}

TEST_F(OptionsTest, SliderMovesInStepsOfTenWithinItsRangeAndStoresEachChange) {
    ShowWithHost();
    HWND window = Window().Window();
    HWND slider = Control(ControlId::HScroll1);
    auto scroll = [&](WORD request) {
        SendMessageW(window, WM_HSCROLL, MAKEWPARAM(request, 0), reinterpret_cast<LPARAM>(slider));
    };

    scroll(SB_LINERIGHT);
    EXPECT_EQ(Window().HScroll1Value(), 100);
    EXPECT_EQ(SettingsSandbox::Get(L"intQ"), L"100");
    EXPECT_EQ(Text(Control(ControlId::Label2)), L"图片质量：100");

    SettingsSandbox::Clear();
    scroll(SB_LINERIGHT);  // at the maximum: nothing changes, nothing is written
    EXPECT_EQ(SettingsSandbox::Get(L"intQ"), std::nullopt);

    scroll(SB_PAGELEFT);
    scroll(SB_LEFT);
    EXPECT_EQ(Window().HScroll1Value(), 50);
    EXPECT_EQ(SettingsSandbox::Get(L"intQ"), L"50");
    EXPECT_EQ(CurrentComponentState().jpegQuality.Text(), L"50");
    EXPECT_FALSE(CurrentComponentState().jpegQuality.IsText());
}

TEST_F(OptionsTest, SliderRefusesValuesOutsideItsRange) {
    ShowWithHost();
    EXPECT_THROW(Window().SetHScroll1Value(101), ComponentError);
    EXPECT_THROW(Window().SetHScroll1Value(1e10), ComponentError);
    EXPECT_EQ(Window().HScroll1Value(), 90);
}

TEST_F(OptionsTest, SetTopOnAnUnloadedWindowLoadsItWithoutShowingIt) {
    SettingsSandbox::Put(L"Top", L"0");

    Window().SetTop();

    ASSERT_TRUE(Window().IsLoaded());
    EXPECT_FALSE(IsWindowVisible(Window().Window()));
    EXPECT_TRUE(IsTopmost());

    Window().Cancel_SetTop();
    EXPECT_FALSE(IsTopmost());
}

}  // namespace
}  // namespace vardolin::capture::test
