// Shared pieces of the capture window tests: a clean settings section, a
// stand-in host, answered message boxes and message pumping.
#pragma once

#include "capture/ComponentState.h"
#include "capture/GetPIC.h"
#include "devhost/Host.h"
#include "tests/FakeEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vardolin::capture::test {

// The persisted options, emptied before and after each test.
class SettingsSandbox {
public:
    SettingsSandbox() { Clear(); }
    ~SettingsSandbox() { Clear(); }
    static void Clear();
    static void Put(const std::wstring& key, const std::wstring& value);
    static std::optional<std::wstring> Get(const std::wstring& key);
};

void PumpMessages(std::chrono::milliseconds duration = std::chrono::milliseconds(20));

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    UINT type;
};

class GetPICTest : public ::testing::Test {
protected:
    GetPICTest();
    ~GetPICTest() override;

    GetPIC& Window() { return CurrentComponentState().CaptureWindow(); }
    HWND Control(ControlId id) { return Window().Control(id); }
    void ShowWithHost();
    bool IsTopmost() { return (GetWindowLongW(Window().Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
    bool IsChecked(ControlId id) { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::wstring Text(HWND window);
    RECT ClientRectOf(ControlId id);  // in the capture window's client pixels

    SettingsSandbox settings_;
    devhost::Host host_;
    std::vector<ShownMessage> messages_;
    vardolin::test::FakeEnvironment environment_;
};

}  // namespace vardolin::capture::test
