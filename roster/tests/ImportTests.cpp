// The menu command Add against the stand-in host.
#include "automation/BusyHost.h"
#include "roster/RosterTexts.h"
#include "roster/tests/RosterTestSupport.h"

namespace vardolin::roster::test {
namespace {

using ImportTest = NamesWorkbookTest;

TEST_F(ImportTest, ReadsRowByRowKeepingSpacesAndSkippingBlankCells) {
    AddPicking(L"A1:B3");
    ASSERT_EQ(host_.InputBoxCalls().size(), 1u);
    EXPECT_EQ(host_.InputBoxCalls()[0].prompt,
              L"把选择名字将出现在待摄影列表，请务必选择正确\r\n跨表读取请先激活该工作表，再运行本命令");
    EXPECT_EQ(host_.InputBoxCalls()[0].title, L"选择待摄影人员名单");
    EXPECT_EQ(host_.InputBoxCalls()[0].type, 8);
    EXPECT_TRUE(hiddenDuringBox_);
    EXPECT_TRUE(IsWindowVisible(Window().Window()));
    EXPECT_EQ(Texts(), (Entries{L"张三", L"李四", L"1001", L" 王五 "}));

    // White space and invisible characters alone are blank too.
    AddPicking(L"A5:B6");
    EXPECT_EQ(Texts(), (Entries{L"张三", L"李四", L"1001", L" 王五 ", L"A"}));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(ImportTest, NamesThatDifferOnlyInCaseAreKeptAndTheUserIsTold) {
    SetEntries({L"a", L"张三"});
    AddPicking(L"A1:B1");
    EXPECT_TRUE(messages_.empty()) << "no new name has a twin";
    AddPicking(L"B5");
    EXPECT_EQ(Texts(), (Entries{L"a", L"张三", L"李四", L"A"}));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].text.find(L"“a”、“A”"), std::wstring::npos);
}

TEST_F(ImportTest, RemovesDuplicatesKeepingTheFirstOccurrenceInPlace) {
    SetEntries({L"赵六", L"王五", L"A", L"B", L"A", L"C", L"B"});
    Roster().Select(5);    // C
    AddPicking(L"A1:B4");  // 张三 李四 1001 " 王五 " (blank) (spaces) 李四 赵六
    EXPECT_EQ(Texts(), (Entries{L"赵六", L"王五", L"A", L"B", L"C", L"张三", L"李四", L"1001", L" 王五 "}));
    EXPECT_EQ(Roster().Selection(), 4) << "the selection moves with its entry";
}

TEST_F(ImportTest, CellsAreReadFromTheActiveSheetAtThePickedAddresses) {
    AddPicking(L"Other!A1:B1");
    EXPECT_EQ(Texts(), (Entries{L"张三", L"李四"}));
}

TEST_F(ImportTest, CancellingImportsNothingButStillRemovesDuplicates) {
    host_.Book().Select({0, {devhost::Area{{1, 1}, {2, 2}}}});  // cells selected in the host
    SetEntries({L"A", L"B", L"A", L"C", L"B"});
    AddPicking(std::nullopt);
    EXPECT_EQ(Texts(), (Entries{L"A", L"B", L"C"}));
    EXPECT_TRUE(IsWindowVisible(Window().Window()));
}

// A spreadsheet that refuses calls while a cell is being edited: the import
// waits for it, handling messages meanwhile, and gives up after a while.
class BusyHostTest : public ImportTest {
protected:
    BusyHostTest() { editingHost_ = &host_; }
    ~BusyHostTest() override { editingHost_ = nullptr; }

    // The user ends the cell edit: runs only if messages are handled.
    static void CALLBACK EndEdit(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        editingHost_->RefuseCalls(0);
    }
    static inline devhost::Host* editingHost_ = nullptr;
};

TEST_F(BusyHostTest, RefusedCallsAreMadeAgainUntilTheHostAccepts) {
    for (HRESULT refusal :
         {devhost::kRefusedInProcess, devhost::kRefusedOutOfProcess, devhost::kRetryLaterOutOfProcess}) {
        SCOPED_TRACE(refusal);
        SetEntries({});
        host_.RefuseCalls(3, refusal);
        AddPicking(L"A1:A2");
        EXPECT_EQ(Texts(), (Entries{L"张三", L"1001"}));
    }
    // Refusing until the user ends the edit, which the window hears of only
    // while messages are handled.
    host_.RefuseCalls(devhost::kRefuseAlways);
    SetTimer(nullptr, 0, 300, EndEdit);
    AddPicking(L"B1:B2");
    EXPECT_EQ(Texts(), (Entries{L"张三", L"1001", L"李四", L" 王五 "}));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(BusyHostTest, AHostThatStaysBusyIsToldOfOnceAndTheRosterStaysAsItWas) {
    const std::pair<const char*, std::function<void()>> whenBusy[] = {
        {"from the start", [&] { host_.RefuseCalls(devhost::kRefuseAlways); }},
        {"once the range is picked",
         [&] {
             host_.AnswerInputBox([&](const std::wstring&, const std::wstring&) {
                 host_.RefuseCalls(devhost::kRefuseAlways);
                 return std::optional<std::wstring>(L"A1:B3");
             });
         }},
    };
    for (const auto& [when, makeBusy] : whenBusy) {
        SCOPED_TRACE(when);
        SetEntries({L"甲", L"乙"});
        messages_.clear();
        host_.RefuseCalls(0);
        host_.AnswerInputBox(nullptr);
        makeBusy();
        DWORD started = GetTickCount();
        Window().RunMenuCommand(capture::MenuItem::Add);
        DWORD waited = GetTickCount() - started;

        EXPECT_GE(waited, vardolin::kBusyHostPatienceMs - 100);
        EXPECT_LT(waited, vardolin::kBusyHostPatienceMs + 3000);
        EXPECT_EQ(Texts(), (Entries{L"甲", L"乙"}));
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].text, kHostBusyText);
        EXPECT_FALSE(messages_[0].topmostWhileShown);
        EXPECT_TRUE(IsWindowVisible(Window().Window()));
    }
}

// Forty names in column A, something in B1: the used range is A1:B40.
std::string FortyNames() {
    std::string csv = "#sheet Names\n名0,x\n";
    for (int i = 1; i < 40; ++i) csv += "名" + std::to_string(i) + "\n";
    return csv;
}

class WholeColumnTest : public RosterTest {
protected:
    WholeColumnTest() : RosterTest(false, csv_.c_str()) {}
    static inline const std::string csv_ = FortyNames();
};

TEST_F(WholeColumnTest, OnlyTheUsedCellsOfWholeColumnsRowsAndSheetsAreRead) {
    Entries forty, wholeSheet{L"名0", L"x"};
    for (int i = 0; i < 40; ++i) forty.push_back(L"名" + std::to_wstring(i));
    wholeSheet.insert(wholeSheet.end(), forty.begin() + 1, forty.end());
    const std::pair<const wchar_t*, Entries> picks[] = {
        {L"A:A", forty},
        {L"$A:$B", wholeSheet},
        {L"1:1048576", wholeSheet},  // the whole sheet, row by row
        {L"2:3", (Entries{L"名1", L"名2"})},
        {L"C:XFD", {}},  // beside the used range: nothing
    };
    for (const auto& [address, names] : picks) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(address)));
        SetEntries({});
        size_t before = host_.Calls();
        AddPicking(address);
        EXPECT_EQ(Texts(), names);
        EXPECT_LE(host_.Calls() - before, 300u);
        EXPECT_TRUE(messages_.empty());
    }
}

// A list filtered by class: rows 3 and 5 (class 2) are hidden.
class FilteredListTest : public RosterTest {
protected:
    FilteredListTest() : RosterTest(false, "#sheet Class\nName,Class\n甲,1\n乙,2\n丙,1\n丁,2\n#hidden 3 5\n") {}
};

TEST_F(FilteredListTest, OnlyTheCellsTheFilterShowsAreRead) {
    std::wstring manyAreas = L"A2";
    while (manyAreas.size() <= 255) manyAreas += L",A2";
    const std::pair<std::wstring, Entries> picks[] = {
        {L"A2:A5", (Entries{L"甲", L"丙"})},
        {L"A:B", (Entries{L"Name", L"Class", L"甲", L"1", L"丙"})},  // the second 1 is a duplicate
        {L"A4", (Entries{L"丙"})},  // one cell: the host's SpecialCells widens it to the sheet
        {L"A3", {}},                // one hidden cell
        {L"A3,A5", {}},             // every cell hidden: the host finds none
    };
    for (const auto& [address, names] : picks) {
        SCOPED_TRACE(testing::PrintToString(address));
        SetEntries({});
        AddPicking(address);
        EXPECT_EQ(Texts(), names);
        EXPECT_TRUE(messages_.empty());
    }

    // An address the host cannot find on the active sheet (too long for its
    // Range) imports nothing, not the selection, and says so.
    SetEntries({});
    host_.Book().Select({0, {devhost::Area{{1, 1}, {5, 2}}}});
    AddPicking(manyAreas);
    EXPECT_EQ(Texts(), Entries{});
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, kRangeNotFoundText);
    EXPECT_TRUE(IsWindowVisible(Window().Window()));
}

}  // namespace
}  // namespace vardolin::roster::test
