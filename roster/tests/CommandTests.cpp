// The editing commands of the popup menu and the double-click removal.
#include "PhotoFiles.h"
#include "RosterCommands.h"
#include "RosterTestSupport.h"

#include <filesystem>
#include <fstream>

namespace vardolin::roster::test {
namespace {

using capture::MenuItem;
using Entries_ = std::vector<std::wstring>;

class CommandTest : public RosterTest {
protected:
    explicit CommandTest(Options options = {}) : RosterTest(options) { SetEntries({L"A", L"B", L"C", L"D"}); }

    void Run(MenuItem item) { Window().RunMenuCommand(item); }
    void DoubleClick(int entry) {
        Roster().Select(entry);
        SendMessageW(Window().Window(), WM_COMMAND, MAKEWPARAM(static_cast<int>(capture::ControlId::List1), LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(List()));
    }
};

class DirectDeleteTest : public CommandTest {
protected:
    DirectDeleteTest() : CommandTest({.keepOnTop = false, .directDelete = true}) {}
};

TEST_F(CommandTest, DelAsksAndTheWindowIsTopmostAfterEitherAnswer) {
    Roster().Select(1);
    answer_ = IDCANCEL;
    Run(MenuItem::Del);
    EXPECT_EQ(Entries(), (Entries_{L"A", L"B", L"C", L"D"}));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, L"是否移除   B");
    EXPECT_EQ(messages_[0].caption, L"请确认删除");
    EXPECT_EQ(messages_[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2));
    EXPECT_FALSE(messages_[0].topmostWhileShown);
    EXPECT_TRUE(IsTopmost()) << "on top after Cancel, although Check1 is off";

    Window().Cancel_SetTop();
    answer_ = IDOK;
    Run(MenuItem::Del);
    EXPECT_EQ(Entries(), (Entries_{L"A", L"C", L"D"}));
    EXPECT_EQ(Roster().Selection(), kNoSelection);
    EXPECT_TRUE(IsTopmost());
}

TEST_F(CommandTest, DoubleClickAsksWhenDirectDeleteIsOff) {
    answer_ = IDOK;
    DoubleClick(2);
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_EQ(Entries(), (Entries_{L"A", L"B", L"D"}));
}

TEST_F(DirectDeleteTest, DoubleClickRemovesAtOnceButDelStillAsks) {
    DoubleClick(2);
    EXPECT_TRUE(messages_.empty());
    EXPECT_FALSE(IsTopmost()) << "the topmost state is left alone";
    EXPECT_EQ(Entries(), (Entries_{L"A", L"B", L"D"}));

    Roster().Select(0);
    answer_ = IDCANCEL;
    Run(MenuItem::Del);
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_EQ(Entries(), (Entries_{L"A", L"B", L"D"}));
}

TEST_F(DirectDeleteTest, WithoutSelectionNothingHappens) {
    Roster().Select(kNoSelection);
    DoubleClick(kNoSelection);
    for (MenuItem item : {MenuItem::Del, MenuItem::totop, MenuItem::tolast}) Run(item);
    EXPECT_EQ(Entries(), (Entries_{L"A", L"B", L"C", L"D"}));
    EXPECT_TRUE(messages_.empty());
    EXPECT_FALSE(IsTopmost());
}

TEST_F(CommandTest, ClearAllEmptiesTheRoster) {
    Run(MenuItem::clearall);
    EXPECT_TRUE(Entries().empty());
    Run(MenuItem::clearall);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(CommandTest, ToTopAndToLastShiftTheEntriesBetween) {
    Roster().Select(2);
    Run(MenuItem::totop);
    EXPECT_EQ(Entries(), (Entries_{L"C", L"A", L"B", L"D"}));
    EXPECT_EQ(Roster().Selection(), 2) << "the selection stays on its position";

    SetEntries({L"A", L"B", L"C", L"D"});
    Roster().Select(1);
    Run(MenuItem::tolast);
    EXPECT_EQ(Entries(), (Entries_{L"A", L"C", L"D", L"B"}));

    Roster().Select(0);
    Run(MenuItem::totop);
    Roster().Select(3);
    Run(MenuItem::tolast);
    EXPECT_EQ(Entries(), (Entries_{L"A", L"C", L"D", L"B"}));
}

// Photo files made for the test in the Pic folder, removed again after it.
class ReplaceTest : public CommandTest {
protected:
    ~ReplaceTest() override {
        std::error_code ignored;
        for (const auto& path : made_) std::filesystem::remove(path, ignored);
    }
    void MakePhoto(const std::wstring& name) {
        std::filesystem::create_directories(capture::LibraryFolder() / L"Pic");
        std::filesystem::path path = capture::LibraryFolder() / L"Pic" / (name + L".jpg");
        std::ofstream(path) << "not really a photo";
        made_.push_back(path);
    }
    void MakeFolder(const std::wstring& name) {
        std::filesystem::path path = capture::LibraryFolder() / L"Pic" / (name + L".jpg");
        std::filesystem::create_directories(path);
        made_.push_back(path);
    }
    std::vector<std::filesystem::path> made_;
};

TEST_F(ReplaceTest, RemovesExactlyTheEntriesWhosePhotoExists) {
    MakePhoto(L"名单测试张三");
    MakePhoto(L"名单测试李四");
    MakePhoto(L"名单测试 王五");
    MakeFolder(L"名单测试目录");
    MakePhoto(L"名单测试上级");
    SetEntries({L"名单测试李四", L"名单测试王五", L"名单测试张三", L"名单测试 王五", L"名单测试目录",
                L"名单测试张三三", L"..\\Pic\\名单测试上级"});
    Roster().Select(1);
    Run(MenuItem::replace);
    EXPECT_EQ(Entries(), (Entries_{L"名单测试王五", L"名单测试目录", L"名单测试张三三", L"..\\Pic\\名单测试上级"}));
    EXPECT_EQ(Roster().Selection(), 0) << "the selection moves with its entry";
}

TEST_F(ReplaceTest, WildcardsInAnEntryMatchNothing) {
    MakePhoto(L"名单测试赵六");
    SetEntries({L"名单测试*", L"名单测试赵?", L"名单测试赵六"});
    Run(MenuItem::replace);
    EXPECT_EQ(Entries(), (Entries_{L"名单测试*", L"名单测试赵?"}));
}

}  // namespace
}  // namespace vardolin::roster::test
