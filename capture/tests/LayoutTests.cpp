// The capture window's controls as the user sees them.
#include "capture/tests/WindowTestSupport.h"

#include <commctrl.h>

namespace vardolin::capture::test {
namespace {

class LayoutTest : public GetPICTest {
protected:
    void SetUp() override { ShowWithHost(); }
};

void ExpectRect(const RECT& r, int left, int top, int width, int height) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

TEST_F(LayoutTest, ControlsSitAtTheirPixelRectangles) {
    ExpectRect(ClientRectOf(ControlId::Picture1), 8, 8, 312, 224);
    ExpectRect(ClientRectOf(ControlId::ezVidCap1), 8, 8, 312, 224);
    ExpectRect(ClientRectOf(ControlId::Picture2), 328, 8, 156, 188);
    ExpectRect(ClientRectOf(ControlId::List1), 496, 8, 137, 172);
    ExpectRect(ClientRectOf(ControlId::Label2), 496, 187, 137, 23);
    ExpectRect(ClientRectOf(ControlId::Check2), 568, 248, 73, 25);
    ExpectRect(ClientRectOf(ControlId::Command1), 296, 248, 89, 25);
    ExpectRect(ClientRectOf(ControlId::CmdOK), 400, 248, 81, 25);
    RECT frame = *Window().Picture1()->Frame();
    ExpectRect(frame, 120, 24, 156, 188);
}

TEST_F(LayoutTest, EveryControlLiesInsideTheClientArea) {
    RECT client{};
    GetClientRect(Window().Window(), &client);
    client.right += 2;  // the design lets Check2 run 2 pixels past the edge, beyond its text
    for (const ControlSpec& control : GetPICControls()) {
        RECT r = ClientRectOf(control.id);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
            << "control " << static_cast<int>(control.id) << " ends at " << r.right << "," << r.bottom
            << " in a client area of " << client.right << " x " << client.bottom;
    }
}

TEST_F(LayoutTest, CaptionsAreTheDesignTexts) {
    EXPECT_EQ(Text(Control(ControlId::CmdFormatDlg)), L"视频格式...");
    EXPECT_EQ(Text(Control(ControlId::CmdSourceDlg)), L"视频调节...");
    EXPECT_EQ(Text(Control(ControlId::CmdSaveDIB)), L"先拍照");
    EXPECT_EQ(Text(Control(ControlId::Command1)), L"再裁剪");
    EXPECT_EQ(Text(Control(ControlId::CmdOK)), L"关于");
    EXPECT_EQ(Text(Control(ControlId::Check1)), L"顶端显示 ");
    EXPECT_EQ(Text(Control(ControlId::Check2)), L"直接删除");
    EXPECT_EQ(Text(Control(ControlId::Label1)),
              L"    拍照后，移动左边小黑框以选定截取范围，然后点击裁剪，完成照片命名存储");
    EXPECT_EQ(Text(Control(ControlId::Label2)), L"图片质量：90");
}

TEST_F(LayoutTest, ListUsesSongtiWithChineseGlyphs) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Control(ControlId::List1), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW logical{};
    GetObjectW(font, sizeof logical, &logical);
    EXPECT_STREQ(logical.lfFaceName, L"宋体");
    EXPECT_EQ(logical.lfCharSet, GB2312_CHARSET);

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    WORD glyphs[2] = {};
    GetGlyphIndicesW(dc, L"中文", 2, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_STREQ(face, L"宋体");
    EXPECT_EQ(metrics.tmCharSet, GB2312_CHARSET);
    EXPECT_NE(glyphs[0], 0xFFFF);
    EXPECT_NE(glyphs[1], 0xFFFF);
}

TEST_F(LayoutTest, LabelsDrawInTheirTextColours) {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(Window().Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(Control(ControlId::Label1)));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 128));
    SendMessageW(Window().Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(Control(ControlId::Label2)));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 192));
    DeleteDC(dc);
}

TEST_F(LayoutTest, TabOrderFollowsTheDesign) {
    std::vector<ControlId> stacking;
    for (HWND child = GetWindow(Window().Window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        stacking.push_back(static_cast<ControlId>(GetDlgCtrlID(child)));
    std::vector<ControlId> design;
    for (const ControlSpec& control : GetPICControls()) design.push_back(control.id);
    EXPECT_EQ(stacking, design);

    // Without a camera the three camera buttons are disabled and skipped.
    std::vector<ControlId> tabbing;
    HWND at = Control(ControlId::CmdOK);
    for (int i = 0; i < 6; ++i) {
        at = GetNextDlgTabItem(Window().Window(), at, FALSE);
        tabbing.push_back(static_cast<ControlId>(GetDlgCtrlID(at)));
    }
    using enum ControlId;
    EXPECT_EQ(tabbing, (std::vector<ControlId>{List1, Command1, HScroll1, Check1, Check2, CmdOK}));
}

TEST_F(LayoutTest, TabMovesTheFocusInsideTheHostsMessageLoop) {
    SetFocus(Control(ControlId::CmdOK));
    ASSERT_EQ(GetFocus(), Control(ControlId::CmdOK));

    PostMessageW(Control(ControlId::CmdOK), WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(Control(ControlId::CmdOK), WM_KEYUP, VK_TAB, 0);
    PumpMessages();  // a plain loop, as the host's: no IsDialogMessage of its own

    EXPECT_EQ(GetFocus(), Control(ControlId::List1));
}

BOOL CALLBACK FindTooltip(HWND window, LPARAM found) {
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

TEST_F(LayoutTest, TooltipsNameWhatTheControlsDo) {
    HWND tooltip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(&tooltip));
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(GetWindow(tooltip, GW_OWNER), nullptr);

    auto textOf = [&](ControlId id) {
        wchar_t text[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = Window().Window();
        tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
        tool.lpszText = text;
        SendMessageW(tooltip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        return std::wstring(text);
    };
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 5);
    EXPECT_EQ(textOf(ControlId::List1), L"双击可删除选项,右击有编辑菜单,可拖曳列表项排序");
    EXPECT_EQ(textOf(ControlId::Check1), L"激活本功能后,窗体将在最顶端显示");
    EXPECT_EQ(textOf(ControlId::Check2), L"激活本功能后,双击列表框将直接删除选项");
    // The photo buttons tell their keys.
    EXPECT_NE(textOf(ControlId::CmdSaveDIB).find(L"空格键"), std::wstring::npos);
    for (const wchar_t* key : {L"回车键", L"方向键", L"Shift+方向键"})
        EXPECT_NE(textOf(ControlId::Command1).find(key), std::wstring::npos) << key;
}

TEST_F(LayoutTest, WithoutCameraThePhotoButtonsStayOffAndTheEmptyStillCoversThePreview) {
    EXPECT_FALSE(IsWindowEnabled(Control(ControlId::CmdFormatDlg)));
    EXPECT_FALSE(IsWindowEnabled(Control(ControlId::CmdSourceDlg)));
    EXPECT_FALSE(IsWindowEnabled(Control(ControlId::CmdSaveDIB)));
    EXPECT_TRUE(IsWindowEnabled(Control(ControlId::Command1)));
    EXPECT_TRUE(IsWindowEnabled(Control(ControlId::CmdOK)));
    EXPECT_TRUE(IsWindowVisible(Control(ControlId::Picture1)));

    BITMAP placeholder{};
    ASSERT_TRUE(GetObjectW(Window().Picture2()->Picture(), sizeof placeholder, &placeholder));
    EXPECT_EQ(placeholder.bmWidth, 156);
    EXPECT_EQ(placeholder.bmHeight, 188);
}

}  // namespace
}  // namespace vardolin::capture::test
