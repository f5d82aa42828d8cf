// Drag reordering and the popup menu on the roster list, driven by the mouse
// messages the list receives from a user's hand.
#include "ListDrag.h"
#include "PhotoFiles.h"
#include "RosterTestSupport.h"

#include <filesystem>
#include <fstream>
#include <optional>

namespace vardolin::roster::test {
namespace {

using Entries_ = std::vector<std::wstring>;

class DragTest : public RosterTest {
protected:
    DragTest() { SetEntries({L"A", L"B", L"C", L"D"}); }

    // True when all four corners of the rectangle's outline are black on screen.
    bool OutlineDrawn(const RECT& r) {
        HDC dc = GetDC(List());
        bool black = GetPixel(dc, r.left, r.top) == RGB(0, 0, 0) && GetPixel(dc, r.right - 1, r.top) == RGB(0, 0, 0) &&
                     GetPixel(dc, r.left, r.bottom - 1) == RGB(0, 0, 0) &&
                     GetPixel(dc, r.right - 1, r.bottom - 1) == RGB(0, 0, 0);
        ReleaseDC(List(), dc);
        return black;
    }
    RECT RowOf(int entry) {
        RECT r{};
        Roster().ItemRect(entry, r);
        return r;
    }
    void Repaint() {
        InvalidateRect(List(), nullptr, TRUE);
        UpdateWindow(List());
    }
};

TEST_F(DragTest, DroppingAnEntryPutsItInFrontOfTheTarget) {
    Drag(3, 1);
    EXPECT_EQ(Entries(), (Entries_{L"A", L"D", L"B", L"C"}));
    EXPECT_EQ(Roster().Selection(), 1);

    SetEntries({L"A", L"B", L"C", L"D"});
    Drag(0, 2);
    EXPECT_EQ(Entries(), (Entries_{L"B", L"A", L"C", L"D"}));
    EXPECT_EQ(Roster().Selection(), 1);
}

TEST_F(DragTest, DroppingOnItselfOrOnTheNextEntryChangesNothing) {
    Drag(1, 2);
    EXPECT_EQ(Entries(), (Entries_{L"A", L"B", L"C", L"D"}));
    EXPECT_EQ(Roster().Selection(), 1);
    Drag(2, 2);
    EXPECT_EQ(Entries(), (Entries_{L"A", L"B", L"C", L"D"}));
}

TEST_F(DragTest, ADragStartedWithoutSelectionMovesNothing) {
    Roster().Select(kNoSelection);
    // The press itself selects nothing: the list is told by the test, not by a click.
    List1_MouseDown(Window(), {1, 0, 0, 0});
    Roster().Select(2);
    List1_MouseUp(Window(), {1, 0, 0, 0});
    EXPECT_EQ(Entries(), (Entries_{L"A", L"B", L"C", L"D"}));
}

TEST_F(DragTest, TheOutlineFollowsTheLeftButtonAlone) {
    Press(3);
    RECT dragged = RowOf(3);
    MoveOver(1, MK_LBUTTON | MK_RBUTTON);
    EXPECT_FALSE(OutlineDrawn(dragged)) << "both buttons held";
    MoveOver(1);
    EXPECT_TRUE(OutlineDrawn(dragged));
    Release(1);
    EXPECT_FALSE(OutlineDrawn(dragged)) << "the release repaints the list";
}

TEST_F(DragTest, AfterTheListScrolledTheOutlineIsDrawnAroundTheDraggedEntry) {
    std::vector<std::wstring> many;
    for (int i = 0; i < 40; ++i) many.push_back(L"名" + std::to_wstring(i));
    SetEntries(many);
    Roster().SetTopIndex(8);
    Press(10);
    RECT before = RowOf(10);
    Roster().SetTopIndex(9);
    Repaint();
    RECT after = RowOf(10);
    ASSERT_NE(before.top, after.top);

    MoveOver(12);
    EXPECT_FALSE(OutlineDrawn(after)) << "the move that notices the scroll draws nothing";
    EXPECT_FALSE(OutlineDrawn(before));
    MoveOver(12);
    EXPECT_TRUE(OutlineDrawn(after));
    Release(12);
    EXPECT_EQ(Roster().Text(11), L"名10");
}

TEST_F(DragTest, ThePointerShowsTheMoveArrowWhilePressed) {
    auto pointerOverList = [&] {
        SendMessageW(List(), WM_SETCURSOR, reinterpret_cast<WPARAM>(List()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    Press(1, WM_RBUTTONDOWN, MK_RBUTTON);
    EXPECT_EQ(pointerOverList(), LoadCursorW(nullptr, IDC_SIZEALL));
    List1_MouseUp(Window(), {4, 0, 0, 0});  // a middle release: no popup
    EXPECT_EQ(pointerOverList(), LoadCursorW(nullptr, IDC_ARROW));
}

// Drives the popup menu from inside its modal loop: records where it opened
// and chooses an item with the keyboard.
class PopupDriver {
public:
    explicit PopupDriver(int item) {
        current_ = this;
        item_ = item;
        timer_ = SetTimer(nullptr, 0, 30, &PopupDriver::Tick);
    }
    ~PopupDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    std::optional<RECT> opened;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (!current_ || !menu || current_->opened) return;
        RECT r{};
        GetWindowRect(menu, &r);
        current_->opened = r;
        for (int i = 0; i < current_->item_; ++i) PostKey(menu, VK_DOWN);
        PostKey(menu, VK_RETURN);
    }
    static void PostKey(HWND menu, WPARAM key) {
        PostMessageW(menu, WM_KEYDOWN, key, 0);
        PostMessageW(menu, WM_KEYUP, key, 0xC0000000);
    }
    static inline PopupDriver* current_ = nullptr;
    UINT_PTR timer_ = 0;
    int item_ = 0;
};

TEST_F(DragTest, ARightReleaseOpensTheMenuBeyondThePointerAndRunsTheCommand) {
    Roster().Select(2);
    PopupDriver driver(5);  // totop
    Press(0, WM_RBUTTONDOWN, MK_RBUTTON);
    RECT row = RowOf(0);
    Release(0, WM_RBUTTONUP);
    ASSERT_TRUE(driver.opened) << "no popup menu";
    // The pointer's twips plus (9600, 1400), in the capture window's client area.
    POINT expected{((row.left + row.right) / 2 * 15 + 9600) / 15, ((row.top + row.bottom) / 2 * 15 + 1400) / 15};
    ClientToScreen(Window().Window(), &expected);
    EXPECT_EQ(driver.opened->left, expected.x);
    EXPECT_EQ(driver.opened->top, expected.y);
    EXPECT_EQ(Entries(), (Entries_{L"C", L"A", L"B", L"D"}));
}

TEST_F(DragTest, APopupCommandThatShiftsTheSelectionMovesNothingAfterIt) {
    std::filesystem::path photo = capture::LibraryFolder() / L"Pic" / L"名单测试拖曳.jpg";
    std::filesystem::create_directories(photo.parent_path());
    std::ofstream(photo) << "photo";
    SetEntries({L"名单测试拖曳", L"A", L"B"});
    Roster().Select(2);
    {
        PopupDriver driver(4);  // replace
        Press(0, WM_RBUTTONDOWN, MK_RBUTTON);
        Release(0, WM_RBUTTONUP);
        EXPECT_TRUE(driver.opened);
    }
    std::filesystem::remove(photo);
    EXPECT_EQ(Entries(), (Entries_{L"A", L"B"}));
    EXPECT_EQ(Roster().Selection(), 1);
}

}  // namespace
}  // namespace vardolin::roster::test
