// The editing commands of the popup menu and the double-click removal.
#include "roster/PhotoFiles.h"
#include "roster/RosterCommands.h"
#include "roster/tests/RosterTestSupport.h"

#include <fstream>

namespace vardolin::roster::test {
namespace {

using capture::MenuItem;

class CommandTest : public RosterTest {
protected:
    explicit CommandTest(bool directDelete = false) : RosterTest(directDelete) { SetEntries({L"A", L"B", L"C", L"D"}); }

    void Run(MenuItem item) { Window().RunMenuCommand(item); }
    void DoubleClick(int entry) {
        Roster().Select(entry);
        SendMessageW(Window().Window(), WM_COMMAND, MAKEWPARAM(static_cast<int>(capture::ControlId::List1), LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(List()));
    }
};

class DirectDeleteTest : public CommandTest {
protected:
    DirectDeleteTest() : CommandTest(true) {}
};

TEST_F(CommandTest, RemovalIsConfirmedAndTheWindowIsTopmostAfterEitherAnswer) {
    Roster().Select(1);
    answer_ = IDCANCEL;
    Run(MenuItem::Del);
    EXPECT_EQ(Texts(), (Entries{L"A", L"B", L"C", L"D"}));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, L"是否移除   B");
    EXPECT_EQ(messages_[0].caption, L"请确认删除");
    EXPECT_EQ(messages_[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2));
    EXPECT_FALSE(messages_[0].topmostWhileShown);
    EXPECT_TRUE(IsTopmost()) << "on top after Cancel, although Check1 is off";

    Window().Cancel_SetTop();
    answer_ = IDOK;
    DoubleClick(2);
    EXPECT_EQ(messages_.size(), 2u);
    EXPECT_EQ(Texts(), (Entries{L"A", L"B", L"D"}));
    EXPECT_EQ(Roster().Selection(), kNoSelection);
    EXPECT_TRUE(IsTopmost());
}

TEST_F(DirectDeleteTest, DoubleClickRemovesAtOnceButDelStillAsks) {
    DoubleClick(2);
    EXPECT_TRUE(messages_.empty());
    EXPECT_FALSE(IsTopmost()) << "the topmost state is left alone";
    EXPECT_EQ(Texts(), (Entries{L"A", L"B", L"D"}));

    Roster().Select(0);
    answer_ = IDCANCEL;
    Run(MenuItem::Del);
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_EQ(Texts(), (Entries{L"A", L"B", L"D"}));
}

TEST_F(DirectDeleteTest, WithoutSelectionNothingHappens) {
    DoubleClick(kNoSelection);
    for (MenuItem item : {MenuItem::Del, MenuItem::totop, MenuItem::tolast}) Run(item);
    EXPECT_EQ(Texts(), (Entries{L"A", L"B", L"C", L"D"}));
    EXPECT_TRUE(messages_.empty());
    EXPECT_FALSE(IsTopmost());
}

TEST_F(CommandTest, ToTopAndToLastShiftTheEntriesBetween) {
    Roster().Select(2);
    Run(MenuItem::totop);
    EXPECT_EQ(Texts(), (Entries{L"C", L"A", L"B", L"D"}));
    EXPECT_EQ(Roster().Selection(), 2) << "the selection stays on its position";

    SetEntries({L"A", L"B", L"C", L"D"});
    Roster().Select(1);
    Run(MenuItem::tolast);
    EXPECT_EQ(Texts(), (Entries{L"A", L"C", L"D", L"B"}));

    Roster().Select(0);
    Run(MenuItem::totop);
    Roster().Select(3);
    Run(MenuItem::tolast);
    EXPECT_EQ(Texts(), (Entries{L"A", L"C", L"D", L"B"}));
}

TEST_F(CommandTest, ReplaceRemovesExactlyTheEntriesWhosePhotoFileExists) {
    for (const wchar_t* name :
         {L"名单测试张三", L"名单测试 王五", L"名单测试赵六", L"名单测试上级", L" 名单测试戊 ", L"名单测试Anna"})
        MakePhoto(name);
    MakePhoto(L"名单测试目录", true);
    SetEntries({L"名单测试王五", L"名单测试张三", L"名单测试 王五", L"名单测试目录", L"名单测试张三三",
                L"..\\Pic\\名单测试上级", L"名单测试*", L"名单测试赵?", L" 名单测试戊 ", L"名单测试戊", L"名单测试ANNA",
                L"名单测试Anna"});
    Roster().Select(3);
    Run(MenuItem::replace);
    // Folders, names that lead elsewhere, wildcards and a name in another case
    // find no photo; spaces around a name are part of its file name.
    EXPECT_EQ(Texts(), (Entries{L"名单测试王五", L"名单测试目录", L"名单测试张三三", L"..\\Pic\\名单测试上级",
                                L"名单测试*", L"名单测试赵?", L"名单测试戊", L"名单测试ANNA"}));
    EXPECT_EQ(Roster().Selection(), 1) << "the selection moves with its entry";
}

TEST_F(CommandTest, OpenPhotoFolderCreatesPicAndOpensItOrSaysWhereItIs) {
    const std::filesystem::path pic = LibraryFolder() / L"Pic";
    std::vector<std::wstring> opened;
    bool opens = true;
    DWORD openedOn = 0;
    environment_->folderOpener = [&](const std::wstring& folder) {
        opened.push_back(folder);
        openedOn = GetCurrentThreadId();
        return opens;
    };
    struct Case {
        const char* name;
        bool fileInTheWay;
        bool opens;
        bool toldWhere;
    };
    const Case cases[] = {
        {"missing: created and opened", false, true, false},
        {"there already: opened", false, true, false},
        {"no file manager: told where it is", false, false, true},
        {"a file in its place: told", true, true, true},
    };
    std::error_code ignored;
    std::filesystem::remove(pic, ignored);  // only when empty
    ASSERT_FALSE(std::filesystem::exists(pic)) << "photos of another test are left in Pic";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        opened.clear();
        messages_.clear();
        opens = c.opens;
        if (c.fileInTheWay) {
            std::filesystem::remove(pic);
            std::ofstream(pic) << "not a folder";
        }
        Run(MenuItem::OpenPhotoFolder);
        EXPECT_EQ(opened.size(), c.fileInTheWay ? 0u : 1u);
        if (!c.fileInTheWay) {
            EXPECT_TRUE(std::filesystem::is_directory(pic));
            EXPECT_EQ(opened.at(0), DisplayPath(pic));
            EXPECT_NE(openedOn, GetCurrentThreadId()) << "a slow share never holds up the window";
        }
        ASSERT_EQ(messages_.size(), c.toldWhere ? 1u : 0u);
        if (c.toldWhere) {
            EXPECT_NE(messages_[0].text.find(DisplayPath(pic)), std::wstring::npos);
        }
    }
    std::filesystem::remove(pic);
    EXPECT_EQ(Texts(), (Entries{L"A", L"B", L"C", L"D"})) << "the roster is left alone";
}

// Which entries name a photo: exactly those for which Windows can hold
// "<entry>.jpg" in the photo folder. Storing and the replace command both ask.
TEST(PhotoName, IsAnyNameWindowsCanHoldWithTheExtension) {
    const std::wstring longest(251, L'名');  // with ".jpg", 255 characters
    const std::pair<std::wstring, bool> cases[] = {
        {L" 戊 ", true},
        {L"  A ", true},
        {L"A.", true},
        {L"a..b", true},
        {L"1001", true},
        {longest, true},
        {L" CON", true},
        {L"COM0", false},
        {L"COM10", true},
        {L"CONSOLE", true},
        {L"NULL.x", true},
        {L"", false},
        {L"   ", false},
        {L".", false},
        {L"..", false},
        {longest + L"x", false},
        {L"a/b", false},
        {L"a\\b", false},
        {L"..\\x", false},
        {L"a:b", false},
        {L"x?", false},
        {L"x*", false},
        {L"<a>", false},
        {L"a|b", false},
        {L"\"a\"", false},
        {L"\t", false},
        {L"a\nb", false},
        {std::wstring(1, L'\0'), false},
        {L"CON", false},
        {L"con ", false},
        {L"Nul.txt", false},
        {L"aux  .x", false},
        {L"PRN.", false},
        {L"COM1", false},
        {L"lpt9", false},
        {L"COM\u00B9", false},
        {L"LPT\u00B3", false},
        {L"CONIN$", false},
        {L"conout$", false},
        {L"lpt0.x", false},
        {L"\u3000", false},
        {L"A\xD800", false},
        {L"\xDC00"
         L"A",
         false},
        {L"\xD83D\xDE00", true},
    };
    for (const auto& [entry, usable] : cases)
        EXPECT_EQ(IsUsablePhotoName(entry), usable) << testing::PrintToString(entry);
}

}  // namespace
}  // namespace vardolin::roster::test
