// The stand-in host's workbook: CSV loading and cell addresses.
#include "devhost/CellAddress.h"
#include "devhost/Workbook.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vardolin::devhost {
namespace {

TEST(WorkbookCsv, ReadsNumbersTextsAndEmptyCellsExactly) {
    Workbook book = Workbook::FromCsv(
        "\xEF\xBB\xBF"
        "1001,\" 王五 \",,\"a,\"\"b\"\"\"\r\n-2.5,1e3x, x\n");
    ASSERT_EQ(book.sheets.size(), 1u);
    const Worksheet& sheet = book.sheets[0];
    EXPECT_EQ(sheet.name, L"Sheet1");
    EXPECT_EQ(sheet.At({1, 1}), CellValue(1001.0));
    EXPECT_EQ(sheet.At({1, 2}), CellValue(std::wstring(L" 王五 ")));
    EXPECT_EQ(sheet.At({1, 3}), CellValue());
    EXPECT_EQ(sheet.At({1, 4}), CellValue(std::wstring(L"a,\"b\"")));
    EXPECT_EQ(sheet.At({2, 1}), CellValue(-2.5));
    EXPECT_EQ(sheet.At({2, 2}), CellValue(std::wstring(L"1e3x")));
    EXPECT_EQ(sheet.At({2, 3}), CellValue(std::wstring(L" x")));
}

TEST(WorkbookCsv, SeveralSheetsWithOneActive) {
    Workbook book = Workbook::FromCsv("#sheet 名单\nA\n#sheet Other\nB\nC\n#active other\n");
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[0].name, L"名单");
    EXPECT_EQ(book.ActiveSheet(), 1u);
    EXPECT_EQ(book.sheets[1].At({2, 1}), CellValue(std::wstring(L"C")));
    EXPECT_EQ(book.Selection().sheet, 1u);
    EXPECT_THROW(book.Activate(L"missing"), std::out_of_range);
}

TEST(WorkbookCsv, LoadsAFileNamedAfterItsWorkbook) {
    std::filesystem::path file = std::filesystem::temp_directory_path() / L"roster-test.csv";
    std::ofstream(file, std::ios::binary) << "张三\n";
    Workbook book = Workbook::LoadCsv(file);
    std::filesystem::remove(file);
    EXPECT_EQ(book.name, L"roster-test");
    EXPECT_EQ(book.sheets[0].At({1, 1}), CellValue(std::wstring(L"张三")));
}

TEST(CellAddress, ParsesAndFormatsTheHostsNotation) {
    auto parsed = ParseAddress(L"'My Sheet'!$b$3:A1, D4");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->sheet, L"My Sheet");
    EXPECT_EQ(FormatAddress(parsed->areas), L"$A$1:$B$3,$D$4");
    EXPECT_EQ(FormatAddress({Area{{1, 27}, {1, 27}}}), L"$AA$1");
    EXPECT_EQ(ColumnName(16384), L"XFD");
    for (const wchar_t* bad : {L"", L"A0", L"1A", L"A1:", L"XFE1", L"A1048577", L"A1,,B2", L"A", L"3", L"A0:B0", L"A:1",
                               L"A1:C", L"0:2", L"A:XFE", L"1:1048577"})
        EXPECT_FALSE(ParseAddress(bad)) << bad;
}

TEST(CellAddress, WholeColumnsRowsAndTheWholeSheetReadAsTheHostWritesThem) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"a:a", L"$A:$A"},         {L"$C:$B", L"$B:$C"},           {L"2:2", L"$2:$2"},         {L"$5:$3", L"$3:$5"},
        {L"A:XFD", L"$1:$1048576"}, {L"1:1048576", L"$1:$1048576"}, {L"A1:A1048576", L"$A:$A"},
    };
    for (const auto& [address, formatted] : cases) {
        auto parsed = ParseAddress(address);
        ASSERT_TRUE(parsed) << address;
        EXPECT_EQ(FormatAddress(parsed->areas), formatted) << address;
    }
    EXPECT_EQ(ParseAddress(L"B:B")->areas, (std::vector<Area>{{{1, 2}, {kSheetRows, 2}}}));
}

TEST(Worksheet, TheUsedAreaHoldsEveryCellThatIsNotEmpty) {
    Workbook book = Workbook::FromCsv(",,\n,,x\n,y\n");
    EXPECT_EQ(book.sheets[0].UsedArea(), (Area{{2, 2}, {3, 3}}));
    EXPECT_EQ(Workbook::FromCsv("").sheets[0].UsedArea(), (Area{{1, 1}, {1, 1}}));
}

}  // namespace
}  // namespace vardolin::devhost
