// Shared pieces of the roster tests: the capture window shown with the
// stand-in host and the roster attached, message boxes answered by the test,
// photo files made for a test, and the mouse messages a user's hand sends.
#pragma once

#include "capture/ComponentState.h"
#include "capture/GetPIC.h"
#include "devhost/Host.h"
#include "tests/FakeEnvironment.h"
#include "roster/RosterList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vardolin::roster::test {

using Entries = std::vector<std::wstring>;

// Names to pick: numbers, spaces around a name, blank cells (empty, spaces,
// the ideographic space, a no-break and a zero-width space), a repeated
// name, a tab, and a second sheet.
inline constexpr const char* kNamesWorkbook =
    "#sheet Names\n"
    "张三,李四\n"
    "1001,\" 王五 \"\n"
    ",   \n"
    "李四,赵六\n"
    "\"\t\",A\n"
    "\u3000,\u00A0\u200B\n"
    "#sheet Other\n"
    "x,y\n";

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    UINT type;
    bool topmostWhileShown;
};

class RosterTest : public ::testing::Test {
protected:
    // Check1 (keep on top) is off; Check2 (direct delete) as given.
    explicit RosterTest(bool directDelete = false, const char* workbookCsv = "");
    ~RosterTest() override;

    capture::GetPIC& Window() { return capture::CurrentComponentState().CaptureWindow(); }
    HWND List() { return Window().Control(capture::ControlId::List1); }
    RosterList Roster() { return RosterList(List()); }
    Entries Texts() { return Roster().Texts(); }
    void SetEntries(const Entries& entries);
    bool IsTopmost();

    // A mouse message at the centre of an entry's row.
    void Mouse(UINT message, int entry, WPARAM keys = 0);
    void Drag(int from, int onto);

    // Runs Add with the user picking `address`, or cancelling for nullopt.
    void AddPicking(std::optional<std::wstring> address);

    // "Pic\<name>.jpg" beside the test program: a file, or a folder. Removed
    // after the test.
    void MakePhoto(const std::wstring& name, bool asFolder = false);

    devhost::Host host_;
    std::vector<ShownMessage> messages_;
    int answer_ = IDOK;
    bool hiddenDuringBox_ = false;

    vardolin::test::FakeEnvironment environment_;

private:
    std::vector<std::filesystem::path> photos_;
};

// The window over the names workbook, for the tests that pick names from it.
class NamesWorkbookTest : public RosterTest {
protected:
    NamesWorkbookTest() : RosterTest(false, kNamesWorkbook) {}
};

}  // namespace vardolin::roster::test
