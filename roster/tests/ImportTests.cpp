// The menu command Add against the stand-in host.
#include "RosterImport.h"
#include "RosterTestSupport.h"

#include <optional>

namespace vardolin::roster::test {
namespace {

using capture::MenuItem;

constexpr const char* kWorkbook =
    "#sheet Names\n"
    "张三,李四\n"
    "1001,\" 王五 \"\n"
    ",   \n"
    "李四,赵六\n"
    "\"\t\",\"A\"\n"
    "#sheet Other\n"
    "x,y\n"
    "#active Names\n";

class ImportTest : public RosterTest {
protected:
    ImportTest() : RosterTest({}, kWorkbook) {}

    // Runs Add with the user picking `address`, or cancelling for nullopt.
    void AddPicking(std::optional<std::wstring> address) {
        host_.AnswerInputBox([this, address](const std::wstring&, const std::wstring&) {
            visibleDuringBox_ = IsWindowVisible(Window().Window()) != FALSE;
            return address;
        });
        Window().RunMenuCommand(MenuItem::Add);
    }

    bool visibleDuringBox_ = true;
};

TEST_F(ImportTest, AsksTheHostForCellsWhileTheWindowIsHidden) {
    AddPicking(L"A1");
    ASSERT_EQ(host_.InputBoxCalls().size(), 1u);
    const devhost::InputBoxCall& call = host_.InputBoxCalls()[0];
    EXPECT_EQ(call.prompt, L"把选择名字将出现在待摄影列表，请务必选择正确\r\n跨表读取请先激活该工作表，再运行本命令");
    EXPECT_EQ(call.title, L"选择待摄影人员名单");
    EXPECT_EQ(call.type, 8);
    EXPECT_FALSE(visibleDuringBox_);
    EXPECT_TRUE(IsWindowVisible(Window().Window()));
}

TEST_F(ImportTest, ReadsRowByRowKeepingSpacesAndSkippingBlankCells) {
    AddPicking(L"A1:B3");
    // Numbers arrive as their digits, spaces around a name stay, blank cells go.
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"张三", L"李四", L"1001", L" 王五 "}));
    // Only spaces are trimmed for the blank test: a tab is a name.
    AddPicking(L"A5:B5");
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"张三", L"李四", L"1001", L" 王五 ", L"\t", L"A"}));
}

TEST_F(ImportTest, RemovesDuplicatesKeepingTheFirstOccurrenceInPlace) {
    SetEntries({L"赵六", L"王五", L"A", L"B", L"A", L"C", L"B"});
    Roster().Select(5);  // C
    AddPicking(L"A1:B4");  // 张三 李四 1001 " 王五 " 李四 赵六
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"赵六", L"王五", L"A", L"B", L"C", L"张三", L"李四", L"1001",
                                                    L" 王五 "}));
    EXPECT_EQ(Roster().Selection(), 4) << "the selection moves with its entry";
}

TEST_F(ImportTest, CellsAreReadFromTheActiveSheetAtThePickedAddresses) {
    AddPicking(L"Other!A1:B1");
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"张三", L"李四"}));
}

TEST_F(ImportTest, CancellingImportsNothingButStillRemovesDuplicates) {
    host_.Book().Select({0, {devhost::Area{{1, 1}, {2, 2}}}});  // cells selected in the host
    SetEntries({L"A", L"B", L"A", L"C", L"B"});
    AddPicking(std::nullopt);
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"A", L"B", L"C"}));
    EXPECT_TRUE(IsWindowVisible(Window().Window()));
}

TEST_F(ImportTest, WithoutAHostNothingIsImportedAndTheWindowComesBack) {
    capture::CurrentComponent().hostApplication.Reset();
    SetEntries({L"A", L"A"});
    Window().RunMenuCommand(MenuItem::Add);
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"A"}));
    EXPECT_TRUE(IsWindowVisible(Window().Window()));
}

TEST_F(ImportTest, AFullRosterTakesNoMoreAndTheUserIsTold) {
    std::vector<std::wstring> entries;
    for (int i = 0; i < kMaxEntries - 2; ++i) entries.push_back(L"n" + std::to_wstring(i));
    SetEntries(entries);
    AddPicking(L"A1:B3");  // four names, room for two
    ASSERT_EQ(Roster().Count(), kMaxEntries);
    EXPECT_EQ(Roster().Text(kMaxEntries - 2), L"张三");
    EXPECT_EQ(Roster().Text(kMaxEntries - 1), L"李四");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, kRosterFullText);
    EXPECT_FALSE(messages_[0].topmostWhileShown);
    EXPECT_TRUE(IsTopmost());

    // Names already on the roster take no room and bring no message.
    messages_.clear();
    AddPicking(L"A1:B1");
    EXPECT_EQ(Roster().Count(), kMaxEntries);
    EXPECT_TRUE(messages_.empty());
}

TEST(TrimSpaces, RemovesOnlySpacesAtBothEnds) {
    EXPECT_EQ(TrimSpaces(L"  a b  "), L"a b");
    EXPECT_EQ(TrimSpaces(L"   "), L"");
    EXPECT_EQ(TrimSpaces(L"\ta\n"), L"\ta\n");
    EXPECT_EQ(TrimSpaces(L"\x3000名\x3000"), L"\x3000名\x3000");
}

}  // namespace
}  // namespace vardolin::roster::test
