#include "capture/photo/tests/PhotoWindowTest.h"

#include "roster/PhotoFiles.h"
#include "win/Settings.h"
#include "capture/CameraControl.h"
#include "tests/DialogAnswer.h"
#include "capture/camera/CameraChooser.h"
#include "capture/camera/CameraTexts.h"
#include "capture/photo/TakePhoto.h"

namespace vardolin::capture::test {
namespace {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

PhotoWindowTest::PhotoWindowTest()
    : environment_([this](HWND, const std::wstring& text, const std::wstring& caption, UINT type) {
          messages_.push_back({text, caption, type});
          return IDOK;
      }) {
    RegDeleteTreeW(HKEY_CURRENT_USER, settings::kSectionPath);
    ClearPhotoFolderSettings();
    RemovePhotoFiles();
    environment_.UseCamera(CreateChosenCameraControl);
    ShowWindowWithCamera();
}

void PhotoWindowTest::ShowWindowWithCamera() {
    Window().Show();
    Pump();
    CameraControlWindow* camera = Window().Camera();
    // The camera opens in the background; one that cannot is left as it is.
    if (!camera || !PumpUntil([&] { return camera->Problem().empty(); }, std::chrono::seconds(5))) return;
    std::filesystem::path probe = std::filesystem::temp_directory_path() / L"photo-test-probe.bmp";
    PumpUntil([&] {
        try {
            CameraAutomation(camera->Automation()).SaveFrameBitmap(probe.wstring());
            return true;
        } catch (...) {
            return false;  // no frame yet
        }
    });
    std::error_code ignored;
    std::filesystem::remove(probe, ignored);
    // The window follows the camera's news in its own time.
    PumpUntil([&] { return IsWindowEnabled(Control(ControlId::CmdSaveDIB)) != FALSE; }, std::chrono::seconds(2));
}

void PhotoWindowTest::SetCameraTime(std::chrono::milliseconds t) {
    cameraSwitches_.Set(L"time=" + std::to_wstring(t.count()));
    PumpFor(std::chrono::milliseconds(400));  // a few frames at the camera's pace
}

PhotoWindowTest::~PhotoWindowTest() {
    Window().Unload();
    RemovePhotoFiles();
    RegDeleteTreeW(HKEY_CURRENT_USER, settings::kSectionPath);
    ClearPhotoFolderSettings();
}

void PhotoWindowTest::ClearPhotoFolderSettings() {
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPolicyKey, kPhotoFolderValue);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kPhotoFolderValue);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSettingsKey, kPhotoFolderValue);
}

std::wstring PhotoWindowTest::Text(ControlId id) {
    HWND control = Control(id);
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
    return text;
}

void PhotoWindowTest::AddEntries(std::initializer_list<const wchar_t*> entries) {
    for (const wchar_t* entry : entries)
        SendMessageW(Control(ControlId::List1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
}

std::vector<std::wstring> PhotoWindowTest::Entries() {
    HWND list = Control(ControlId::List1);
    std::vector<std::wstring> entries;
    for (LRESULT i = 0, n = SendMessageW(list, LB_GETCOUNT, 0, 0); i < n; ++i) {
        std::wstring text(SendMessageW(list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
        text.resize(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data())));
        entries.push_back(text);
    }
    return entries;
}

void PhotoWindowTest::Drag(POINT from, POINT to) {
    HWND box = Control(ControlId::Picture1);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageW(box, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Pump();
}

void PhotoWindowTest::TakePhotoAndCrop() {
    Click(ControlId::CmdSaveDIB);
    RECT frame = Frame();
    POINT centre{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    Drag(centre, centre);
}

std::filesystem::path PhotoWindowTest::PicFolder() { return roster::LibraryFolder() / L"Pic"; }

void PhotoWindowTest::RemovePhotoFiles() {
    std::error_code ignored;
    if (std::filesystem::is_directory(PicFolder(), ignored))
        for (const auto& file : std::filesystem::directory_iterator(PicFolder(), ignored))
            SetFileAttributesW(file.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(PicFolder(), ignored);
    std::filesystem::remove(TemporaryPhotoPath(), ignored);
}

bool PhotoWindowTest::ChooseOneOfTwoCameras(const std::wstring& name) {
    DialogAnswer answer(kSourceDialogTitle, [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, chooser_control::kCameraList);
        EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 2);
        SelectExactly(list, name, true);
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    Click(ControlId::CmdSourceDlg);
    return answer.Answered();
}

}  // namespace vardolin::capture::test
