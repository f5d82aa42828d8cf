// Shared pieces of the roster tests: the capture window shown with the
// stand-in host and the roster attached, message boxes answered by the test,
// and the list driven with the mouse messages a user's hand would send.
#pragma once

#include "Component.h"
#include "GetPIC.h"
#include "Host.h"
#include "MessageBoxSeam.h"
#include "RosterList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vardolin::roster::test {

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    UINT type;
    bool topmostWhileShown;
};

struct Options {
    bool keepOnTop = false;     // Check1
    bool directDelete = false;  // Check2
};

class RosterTest : public ::testing::Test {
protected:
    explicit RosterTest(Options options = {}, const char* workbookCsv = "");
    ~RosterTest() override;

    capture::GetPIC& Window() { return capture::CurrentComponent().CaptureWindow(); }
    HWND List() { return Window().Control(capture::ControlId::List1); }
    RosterList Roster() { return RosterList(List()); }
    std::vector<std::wstring> Entries() { return Roster().Texts(); }
    void SetEntries(const std::vector<std::wstring>& entries);
    bool IsTopmost();

    // Mouse messages at the centre of an entry's row; `keys` as in wParam.
    void Press(int entry, UINT message = WM_LBUTTONDOWN, WPARAM keys = MK_LBUTTON);
    void MoveOver(int entry, WPARAM keys = MK_LBUTTON);
    void Release(int entry, UINT message = WM_LBUTTONUP);
    // Drags an entry with the left button onto another one.
    void Drag(int from, int onto);

    devhost::Host host_;
    std::vector<ShownMessage> messages_;
    int answer_ = IDOK;

private:
    LPARAM CentreOf(int entry);
    capture::ScopedMessageBoxReplacement answerMessages_;
};

}  // namespace vardolin::roster::test
