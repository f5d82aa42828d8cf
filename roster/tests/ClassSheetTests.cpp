// The class sheet as its readers meet it: the page parsed back cell by cell
// and the list parsed as RFC 4180, against the roster and the photo folder.
#include "roster/tests/RosterTestSupport.h"

#include "capture/MenuThe.h"
#include "capture/photo/ClassSheetCommand.h"
#include "encoder/ClsJPEG.h"
#include "encoder/MemoryPicture.h"
#include "roster/PhotoFiles.h"
#include "win/TextEncoding.h"

#include <fstream>
#include <iterator>
#include <regex>

namespace vardolin::roster::test {
namespace {

namespace fs = std::filesystem;

std::string FileText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteJpeg(const fs::path& file, int width, int height) {
    ClsJPEG jpeg;
    MemoryPicture picture(width, height, std::vector<uint8_t>(size_t(width) * height * 3, 128));
    ASSERT_EQ(jpeg.SampleHDC(picture, width, height, 0, 0), 0);
    std::vector<uint8_t> bytes = jpeg.Encode();
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::string Unescaped(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, plain] : entities)
        for (size_t at; (at = text.find(entity)) != std::string::npos;) text.replace(at, strlen(entity), plain);
    return text;
}

std::string PercentDecoded(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// RFC 4180: records end in CRLF, quoted fields may hold commas, quotes
// (doubled) and line breaks.
std::vector<std::vector<std::string>> ParsedCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        std::string& field = records.back().back();
        if (quoted) {
            if (c != '"') field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"') field += '"', ++i;
            else quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            records.emplace_back(1);
            ++i;
        } else {
            EXPECT_NE(c, '\n') << "a line break outside quotes without CR";
            field += c;
        }
    }
    EXPECT_EQ(records.back(), std::vector<std::string>(1)) << "the last record ends in CRLF";
    records.pop_back();
    return records;
}

struct Cell {
    std::string name;
    std::string source;  // empty for the placeholder
};

struct Page {
    int rows = 0;
    std::vector<Cell> cells;  // the named ones, in order
};

std::vector<Page> ParsedPages(const std::string& html) {
    std::vector<Page> pages;
    const std::regex table(R"(<table class="page[^"]*">([\s\S]*?)</table>)");
    const std::regex row("<tr>");
    const std::regex cell(
        R"re(<td>(?:<img src="([^"]*)" alt="[^"]*">|<div class="missing"></div>)<div class="name">([^<]*)</div></td>)re");
    for (std::sregex_iterator t(html.begin(), html.end(), table), end; t != end; ++t) {
        std::string body = (*t)[1];
        Page page;
        page.rows = static_cast<int>(std::distance(std::sregex_iterator(body.begin(), body.end(), row), end));
        for (std::sregex_iterator c(body.begin(), body.end(), cell); c != end; ++c)
            page.cells.push_back({Unescaped((*c)[2]), Unescaped((*c)[1])});
        pages.push_back(page);
    }
    return pages;
}

using ClassSheetTest = RosterTest;

TEST_F(ClassSheetTest, TheSheetParsesBackInRosterOrderWithPhotosByRelativePathAndPlaceholders) {
    struct Person {
        std::wstring name;
        int width = 0, height = 0;  // no photo when 0
    };
    std::vector<Person> people = {
        {L"张三", 40, 48}, {L"李 四", 156, 188}, {L"A#1", 16, 24}, {L"50%", 8, 8},   {L"缺席"}, {L"张三", 40, 48},
        {L"a\\b/c:d"},     {L"他,\"她\""},       {L"Q?"},          {L"R&D", 24, 16}, {L"<b>"},
    };
    for (int i = 1; i <= 33; ++i) people.push_back({L"学生" + std::to_wstring(i)});  // a second page
    const fs::path folder = LibraryFolder() / L"Pic";
    fs::remove_all(folder);
    fs::create_directories(folder);
    Entries entries;
    for (const Person& person : people) {
        entries.push_back(person.name);
        if (person.width && !fs::exists(folder / (person.name + L".jpg")))
            WriteJpeg(folder / (person.name + L".jpg"), person.width, person.height);
    }
    SetEntries(entries);
    std::vector<std::wstring> opened;
    environment_->documentOpener = [&](const std::wstring& file) { return opened.push_back(file), true; };

    Window().RunMenuCommand(capture::MenuItem::ClassSheet);

    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(opened, std::vector<std::wstring>{DisplayPath(folder / capture::kClassSheetPageName)});
    std::string html = FileText(folder / capture::kClassSheetPageName);
    EXPECT_EQ(html.find(WideToUtf8(DisplayPath(folder))), std::string::npos) << "no absolute path";
    std::vector<Page> pages = ParsedPages(html);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].rows, 8);
    EXPECT_EQ(pages[0].cells.size(), 40u);
    EXPECT_EQ(pages[1].rows, 1);
    EXPECT_NE(html.find("page-break-after: always"), std::string::npos);
    EXPECT_NE(html.find("size: A4"), std::string::npos);

    std::string csv = FileText(folder / capture::kClassSheetListName);
    ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    std::vector<std::vector<std::string>> records = ParsedCsv(csv.substr(3));
    ASSERT_EQ(records.size(), people.size() + 1);
    EXPECT_EQ(records[0], (std::vector<std::string>{"姓名", "文件", "状态", "宽", "高", "字节", "时间"}));

    const std::regex isoLocalTime(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)");
    for (size_t i = 0; i < people.size(); ++i) {
        const Person& person = people[i];
        std::string name = WideToUtf8(person.name);
        SCOPED_TRACE(name);
        const Cell& cell = pages[i / 40].cells[i % 40];
        const std::vector<std::string>& record = records[i + 1];
        ASSERT_EQ(record.size(), 7u);
        EXPECT_EQ(cell.name, name);
        EXPECT_EQ(record[0], name);
        if (!person.width) {
            EXPECT_EQ(cell.source, "") << "a placeholder";
            EXPECT_EQ(record, (std::vector<std::string>{name, "", "缺少", "", "", "", ""}));
            continue;
        }
        std::string file = PercentDecoded(cell.source);
        EXPECT_EQ(file, name + ".jpg");
        EXPECT_EQ(cell.source.find_first_of(" #?:\\"), std::string::npos) << cell.source;
        EXPECT_TRUE(fs::exists(folder / Utf8ToWide(file)));
        fs::path photo = folder / Utf8ToWide(record[1]);
        EXPECT_EQ(record[1], name + ".jpg");
        EXPECT_EQ(record[2], "已拍");
        EXPECT_EQ(record[3], std::to_string(person.width));
        EXPECT_EQ(record[4], std::to_string(person.height));
        EXPECT_EQ(record[5], std::to_string(fs::file_size(photo)));
        EXPECT_TRUE(std::regex_match(record[6], isoLocalTime)) << record[6];
    }
    fs::remove_all(folder);
}

TEST_F(ClassSheetTest, AnEmptyRosterWritesNoSheetAndSaysWhatToDo) {
    const fs::path folder = LibraryFolder() / L"Pic";
    fs::remove_all(folder);
    Window().RunMenuCommand(capture::MenuItem::ClassSheet);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].caption, L"生成照片一览");
    EXPECT_FALSE(fs::exists(folder / capture::kClassSheetPageName));
}

}  // namespace
}  // namespace vardolin::roster::test
