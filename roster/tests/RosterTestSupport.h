// Shared pieces of the roster tests: the capture window shown with the
// stand-in host and the roster attached, message boxes answered by the test,
// photo files made for a test, and the mouse messages a user's hand sends.
#pragma once

#include "Component.h"
#include "GetPIC.h"
#include "Host.h"
#include "MessageBoxSeam.h"
#include "RosterList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vardolin::roster::test {

using Entries = std::vector<std::wstring>;

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

    capture::GetPIC& Window() { return capture::CurrentComponent().CaptureWindow(); }
    HWND List() { return Window().Control(capture::ControlId::List1); }
    RosterList Roster() { return RosterList(List()); }
    Entries Texts() { return Roster().Texts(); }
    void SetEntries(const Entries& entries);
    bool IsTopmost();

    // A mouse message at the centre of an entry's row.
    void Mouse(UINT message, int entry, WPARAM keys = 0);
    void Drag(int from, int onto);

    // "Pic\<name>.jpg" beside the test program: a file, or a folder. Removed
    // after the test.
    void MakePhoto(const std::wstring& name, bool asFolder = false);

    devhost::Host host_;
    std::vector<ShownMessage> messages_;
    int answer_ = IDOK;

private:
    capture::ScopedMessageBoxReplacement answerMessages_;
    std::vector<std::filesystem::path> photos_;
};

}  // namespace vardolin::roster::test
