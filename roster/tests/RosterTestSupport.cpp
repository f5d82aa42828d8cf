#include "roster/tests/RosterTestSupport.h"

#include "roster/PhotoFiles.h"
#include "win/Settings.h"

#include <fstream>

namespace vardolin::roster::test {

RosterTest::RosterTest(bool directDelete, const char* workbookCsv)
    : host_(devhost::Workbook::FromCsv(workbookCsv)),
      environment_([this](HWND, const std::wstring& text, const std::wstring& caption, UINT type) {
          messages_.push_back({text, caption, type, IsTopmost()});
          return answer_;
      }) {
    RegDeleteTreeW(HKEY_CURRENT_USER, settings::kSectionPath);
    settings::Write(settings::kTopKey, L"0");
    settings::Write(settings::kDirectDeleteKey, directDelete ? L"1" : L"0");
    capture::CurrentComponentState().hostApplication = host_.Application();
    Window().Show();
}

RosterTest::~RosterTest() {
    Window().Unload();
    RegDeleteTreeW(HKEY_CURRENT_USER, settings::kSectionPath);
    std::error_code ignored;
    for (const auto& photo : photos_) std::filesystem::remove(photo, ignored);
}

void RosterTest::SetEntries(const Entries& entries) {
    RosterList roster = Roster();
    RedrawPause pause(roster);
    roster.Clear();
    SendMessageW(List(), LB_INITSTORAGE, entries.size(), entries.size() * 8 * sizeof(wchar_t));
    for (const std::wstring& entry : entries) roster.Append(entry);
}

bool RosterTest::IsTopmost() { return (GetWindowLongW(Window().Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void RosterTest::Mouse(UINT message, int entry, WPARAM keys) {
    RECT r{};
    ASSERT_TRUE(Roster().ItemRect(entry, r)) << "entry " << entry << " has no row";
    SendMessageW(List(), message, keys, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

void RosterTest::Drag(int from, int onto) {
    Mouse(WM_LBUTTONDOWN, from, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, onto, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, onto);
}

void RosterTest::AddPicking(std::optional<std::wstring> address) {
    host_.AnswerInputBox([this, address](const std::wstring&, const std::wstring&) {
        hiddenDuringBox_ = !IsWindowVisible(Window().Window());
        return address;
    });
    Window().RunMenuCommand(capture::MenuItem::Add);
}

void RosterTest::MakePhoto(const std::wstring& name, bool asFolder) {
    std::filesystem::path path = LibraryFolder() / L"Pic" / (name + L".jpg");
    std::filesystem::create_directories(asFolder ? path : path.parent_path());
    if (!asFolder) std::ofstream(path) << "photo";
    photos_.push_back(path);
}

}  // namespace vardolin::roster::test
