// The menu command Add against the stand-in host.
#include "RosterImport.h"
#include "RosterTestSupport.h"

namespace vardolin::roster::test {
namespace {

class ImportTest : public RosterTest {
protected:
    ImportTest() : RosterTest(false, kNamesWorkbook) {}
};

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

    // Only spaces count as blank: a tab is kept as a name.
    AddPicking(L"A5:B5");
    EXPECT_EQ(Texts(), (Entries{L"张三", L"李四", L"1001", L" 王五 ", L"\t", L"A"}));
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

}  // namespace
}  // namespace vardolin::roster::test
