#include "RosterTestSupport.h"

#include "GetPICExtensions.h"
#include "Roster.h"
#include "Settings.h"

namespace vardolin::roster::test {

RosterTest::RosterTest(Options options, const char* workbookCsv)
    : host_(devhost::Workbook::FromCsv(workbookCsv)),
      answerMessages_([this](HWND, const std::wstring& text, const std::wstring& caption, UINT type) {
          messages_.push_back({text, caption, type, IsTopmost()});
          return answer_;
      }) {
    RegDeleteTreeW(HKEY_CURRENT_USER, capture::settings::kSectionPath);
    capture::settings::Write(capture::settings::kTopKey, options.keepOnTop ? L"1" : L"0");
    capture::settings::Write(capture::settings::kDirectDeleteKey, options.directDelete ? L"1" : L"0");
    Attach(capture::Extensions());
    capture::CurrentComponent().hostApplication = host_.Application();
    Window().Show();
}

RosterTest::~RosterTest() {
    Window().Unload();
    RegDeleteTreeW(HKEY_CURRENT_USER, capture::settings::kSectionPath);
}

void RosterTest::SetEntries(const std::vector<std::wstring>& entries) {
    RosterList roster = Roster();
    RedrawPause pause(roster);
    roster.Clear();
    for (const std::wstring& entry : entries) roster.Append(entry);
}

bool RosterTest::IsTopmost() {
    return (GetWindowLongW(Window().Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

LPARAM RosterTest::CentreOf(int entry) {
    RECT r{};
    EXPECT_TRUE(Roster().ItemRect(entry, r)) << "entry " << entry << " has no row";
    return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void RosterTest::Press(int entry, UINT message, WPARAM keys) { SendMessageW(List(), message, keys, CentreOf(entry)); }

void RosterTest::MoveOver(int entry, WPARAM keys) { SendMessageW(List(), WM_MOUSEMOVE, keys, CentreOf(entry)); }

void RosterTest::Release(int entry, UINT message) { SendMessageW(List(), message, 0, CentreOf(entry)); }

void RosterTest::Drag(int from, int onto) {
    Press(from);
    MoveOver(onto);
    Release(onto);
}

}  // namespace vardolin::roster::test
