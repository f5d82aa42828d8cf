#include "capture/tests/WindowTestSupport.h"

#include "capture/FormShow.h"
#include "win/Settings.h"

namespace vardolin::capture::test {

void SettingsSandbox::Clear() { RegDeleteTreeW(HKEY_CURRENT_USER, settings::kSectionPath); }

void SettingsSandbox::Put(const std::wstring& key, const std::wstring& value) { settings::Write(key, value); }

std::optional<std::wstring> SettingsSandbox::Get(const std::wstring& key) {
    wchar_t value[256] = {};
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, settings::kSectionPath, key.c_str(), RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

void PumpMessages(std::chrono::milliseconds duration) {
    auto end = std::chrono::steady_clock::now() + duration;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (std::chrono::steady_clock::now() < end);
}

GetPICTest::GetPICTest()
    : host_(devhost::Workbook::FromCsv("Name\n张三\n李四\n")),
      environment_([this](HWND, const std::wstring& text, const std::wstring& caption, UINT type) {
          messages_.push_back({text, caption, type});
          return IDOK;
      }) {}

GetPICTest::~GetPICTest() { Window().Unload(); }

void GetPICTest::ShowWithHost() {
    FormShow(host_.Application().Get(), host_.ActiveWorkbook().Get(), host_.ActiveSheet().Get());
}

std::wstring GetPICTest::Text(HWND window) {
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    return text;
}

RECT GetPICTest::ClientRectOf(ControlId id) {
    RECT r{};
    GetWindowRect(Control(id), &r);
    MapWindowPoints(nullptr, Window().Window(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace vardolin::capture::test
