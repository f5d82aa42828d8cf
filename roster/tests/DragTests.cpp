// Drag reordering and the popup menu on the roster list, driven by the mouse
// messages the list receives from a user's hand.
#include "roster/ListDrag.h"
#include "win/MouseEvent.h"
#include "roster/tests/RosterTestSupport.h"
#include "tests/ThreadWindows.h"

#include <optional>

namespace vardolin::roster::test {
namespace {

class DragTest : public RosterTest {
protected:
    DragTest() { SetEntries({L"A", L"B", L"C", L"D"}); }

    RECT RowOf(int entry) {
        RECT r{};
        Roster().ItemRect(entry, r);
        return r;
    }
    // True when all four corners of the row are black on screen.
    bool Outlined(const RECT& r) {
        HDC dc = GetDC(List());
        int black = 0;
        for (POINT p :
             {POINT{r.left, r.top}, {r.right - 1, r.top}, {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}})
            black += GetPixel(dc, p.x, p.y) == RGB(0, 0, 0);
        ReleaseDC(List(), dc);
        return black == 4;
    }
    HCURSOR PointerOverList() {
        SendMessageW(List(), WM_SETCURSOR, reinterpret_cast<WPARAM>(List()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    }
};

TEST_F(DragTest, DroppingAnEntryPutsItInFrontOfTheTargetAndSelectsIt) {
    Drag(3, 1);
    EXPECT_EQ(Texts(), (Entries{L"A", L"D", L"B", L"C"}));
    EXPECT_EQ(Roster().Selection(), 1);
    Drag(1, 3);
    EXPECT_EQ(Texts(), (Entries{L"A", L"B", L"D", L"C"}));
    EXPECT_EQ(Roster().Selection(), 2);
    // Onto the next entry or onto itself: it already stands there.
    Drag(0, 1);
    Drag(2, 2);
    EXPECT_EQ(Texts(), (Entries{L"A", L"B", L"D", L"C"}));
}

TEST_F(DragTest, ADragStartedWithoutSelectionMovesNothing) {
    ListDrag drag;
    Roster().Select(kNoSelection);
    drag.List1_MouseDown(Roster());
    Roster().Select(2);
    drag.List1_MouseUp(Roster(), {1, 0, 0, 0}, [](float, float) {});
    EXPECT_EQ(Texts(), (Entries{L"A", L"B", L"C", L"D"}));
}

TEST_F(DragTest, TheOutlineAndTheMovePointerLastWhileTheLeftButtonAloneIsHeld) {
    Mouse(WM_LBUTTONDOWN, 3, MK_LBUTTON);
    RECT dragged = RowOf(3);
    EXPECT_EQ(PointerOverList(), LoadCursorW(nullptr, IDC_SIZEALL));
    Mouse(WM_MOUSEMOVE, 1, MK_LBUTTON | MK_RBUTTON);
    EXPECT_FALSE(Outlined(dragged)) << "both buttons held";
    Mouse(WM_MOUSEMOVE, 1, MK_LBUTTON);
    EXPECT_TRUE(Outlined(dragged));
    Mouse(WM_LBUTTONUP, 1);
    EXPECT_FALSE(Outlined(dragged)) << "the release repaints the list";
    EXPECT_EQ(PointerOverList(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(DragTest, AfterTheListScrolledTheOutlineIsDrawnAroundTheDraggedEntry) {
    Entries many;
    for (int i = 0; i < 40; ++i) many.push_back(L"名" + std::to_wstring(i));
    SetEntries(many);
    Roster().SetTopIndex(8);
    Mouse(WM_LBUTTONDOWN, 10, MK_LBUTTON);
    RECT before = RowOf(10);
    Roster().SetTopIndex(9);
    UpdateWindow(List());
    RECT after = RowOf(10);

    Mouse(WM_MOUSEMOVE, 12, MK_LBUTTON);
    EXPECT_FALSE(Outlined(after)) << "the move that notices the scroll draws nothing";
    EXPECT_FALSE(Outlined(before));
    Mouse(WM_MOUSEMOVE, 12, MK_LBUTTON);
    EXPECT_TRUE(Outlined(after));
    Mouse(WM_LBUTTONUP, 12);
    EXPECT_EQ(Roster().Text(11), L"名10");
}

// Drives the popup menu from inside its modal loop: records where it opened
// and chooses the n-th item with the keyboard.
class PopupDriver {
public:
    explicit PopupDriver(int item) : item_(item), timer_(SetTimer(nullptr, 0, 30, &Tick)) { current_ = this; }
    ~PopupDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    std::optional<RECT> opened;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND menu = vardolin::test::FindThreadWindow(L"#32768");
        if (!current_ || !menu || current_->opened) return;
        RECT r{};
        GetWindowRect(menu, &r);
        current_->opened = r;
        for (int i = 0; i <= current_->item_; ++i) {
            WPARAM key = i < current_->item_ ? VK_DOWN : VK_RETURN;
            PostMessageW(menu, WM_KEYDOWN, key, 0);
            PostMessageW(menu, WM_KEYUP, key, 0xC0000000);
        }
    }
    static inline PopupDriver* current_ = nullptr;
    int item_;
    UINT_PTR timer_;
};

TEST_F(DragTest, ARightReleaseOpensTheMenuBeyondThePointerAndRunsTheCommand) {
    Roster().Select(2);
    PopupDriver driver(5);  // totop
    RECT row = RowOf(0);
    Mouse(WM_RBUTTONDOWN, 0, MK_RBUTTON);
    Mouse(WM_RBUTTONUP, 0);
    ASSERT_TRUE(driver.opened) << "no popup menu";
    // The pointer in twips plus (9600, 1400), in the capture window's client area.
    POINT expected{((row.left + row.right) / 2 * 15 + 9600) / 15, ((row.top + row.bottom) / 2 * 15 + 1400) / 15};
    ClientToScreen(Window().Window(), &expected);
    EXPECT_EQ(driver.opened->left, expected.x);
    EXPECT_EQ(driver.opened->top, expected.y);
    EXPECT_EQ(Texts(), (Entries{L"C", L"A", L"B", L"D"}));
}

TEST_F(DragTest, APopupCommandThatShiftsTheSelectionMovesNothingAfterIt) {
    MakePhoto(L"名单测试拖曳");
    SetEntries({L"名单测试拖曳", L"A", L"B"});
    Roster().Select(2);
    PopupDriver driver(4);  // replace
    Mouse(WM_RBUTTONDOWN, 0, MK_RBUTTON);
    Mouse(WM_RBUTTONUP, 0);
    ASSERT_TRUE(driver.opened) << "no popup menu";
    EXPECT_EQ(Texts(), (Entries{L"A", L"B"}));
    EXPECT_EQ(Roster().Selection(), 1);
}

// The one decoder every mouse handler reads: the button a press or release is
// about, the buttons held, the shift keys and a signed client point.
TEST(MouseEvent, DecodesButtonsHeldKeysAndSignedPoints) {
    struct Case {
        UINT message;
        WPARAM keys;
        MouseAction action;
        int button, held, shift;
    } cases[] = {
        {WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON, MouseAction::Move, 0, 5, 0},
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MouseAction::Down, 1, 1, 1},
        {WM_RBUTTONUP, MK_LBUTTON | MK_CONTROL, MouseAction::Up, 2, 1, 2},
        {WM_MBUTTONDOWN, MK_MBUTTON | MK_RBUTTON, MouseAction::Down, 4, 6, 0},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, MouseAction::Other, 0, 1, 0},
        {WM_MOUSEWHEEL, 0, MouseAction::Other, 0, 0, 0},
    };
    for (const Case& c : cases) {
        MouseEvent event = FromMessage(c.message, c.keys, MAKELPARAM(-3, 70));
        EXPECT_EQ(event.action, c.action) << c.message;
        EXPECT_EQ(event.button, c.button) << c.message;
        EXPECT_EQ(event.held, c.held) << c.message;
        EXPECT_EQ(event.shift, c.shift) << c.message;
        EXPECT_EQ(event.point.x, -3) << c.message;
        EXPECT_EQ(event.point.y, 70) << c.message;
    }
}

}  // namespace
}  // namespace vardolin::roster::test
