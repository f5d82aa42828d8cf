// Continue-on-error, untrapped handler errors, and the camera buttons that
// depend on the camera control's answers.
#include "win/ComObject.h"
#include "win/ComponentError.h"
#include "win/ContinueOnError.h"
#include "roster/RosterTexts.h"
#include "win/UntrappedError.h"
#include "capture/tests/WindowTestSupport.h"
#include "tests/ThreadWindows.h"

#include <functional>
#include <map>

namespace vardolin::capture::test {
namespace {

TEST(ContinueOnError, AFailingStepIsSkippedAndAFailingTestCountsAsTrue) {
    std::vector<int> ran;
    RunOrSkip([&] {
        ran.push_back(1);
        throw ComponentError::TypeMismatch();
    });
    RunOrSkip([&] { ran.push_back(2); });
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));

    EXPECT_TRUE(TestOrAssumeTrue([]() -> bool { throw std::runtime_error("no answer"); }));
    EXPECT_TRUE(TestOrAssumeTrue([] { return true; }));
    EXPECT_FALSE(TestOrAssumeTrue([] { return false; }));
}

// A camera control whose members answer as a test says: a value, or a failure.
class FakeCamera final : public CameraControlWindow, public ComObject<FakeCamera, IDispatch> {
public:
    struct Answer {
        bool value;
        bool fails;
    };
    FakeCamera(HWND parent, const RECT& r, std::map<DISPID, Answer> answers, std::vector<DISPID>* calls)
        : window_(CreateWindowExW(0, L"STATIC", L"", WS_CHILD, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                  parent, nullptr, nullptr, nullptr)),
          answers_(std::move(answers)),
          calls_(calls) {}
    ~FakeCamera() override { DestroyWindow(window_); }

    HWND Window() const noexcept override { return window_; }
    Microsoft::WRL::ComPtr<IDispatch> Automation() override {
        if (failure_) failure_();
        return this;
    }
    // From now on, asking for the control's automation object raises this failure.
    void FailAutomation(std::function<void()> failure) { failure_ = std::move(failure); }

    // Owned by the window: the references handed out all come back.
    void* Interface(REFIID iid) noexcept {
        return iid == IID_IUnknown || iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        calls_->push_back(id);
        auto it = answers_.find(id);
        if (it == answers_.end()) return S_OK;
        if (it->second.fails) return E_FAIL;
        result->vt = VT_BOOL;
        result->boolVal = it->second.value ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }

private:
    HWND window_;
    std::map<DISPID, Answer> answers_;
    std::vector<DISPID>* calls_;
    std::function<void()> failure_;
};

class CameraButtonsTest : public GetPICTest {
protected:
    ~CameraButtonsTest() override { Window().Unload(); }
    void LoadWith(bool formatFails, bool format, bool source) {
        std::map<DISPID, FakeCamera::Answer> answers{
            {camera_dispid::kFormatDialogAvailable, {format, formatFails}},
            {camera_dispid::kSourceDialogAvailable, {source, false}},
        };
        environment_.UseCamera([answers, this](HWND parent, const RECT& r, int) {
            auto camera = std::make_unique<FakeCamera>(parent, r, answers, &calls_);
            camera_ = camera.get();
            return camera;
        });
        ShowWithHost();
    }
    bool Enabled(ControlId id) { return IsWindowEnabled(Control(id)); }

    std::vector<DISPID> calls_;
    FakeCamera* camera_ = nullptr;
};

TEST_F(CameraButtonsTest, AFailingQueryEnablesItsButton) {
    LoadWith(/*formatFails=*/true, false, /*source=*/true);
    EXPECT_TRUE(Enabled(ControlId::CmdFormatDlg));
    EXPECT_TRUE(Enabled(ControlId::CmdSourceDlg));
    EXPECT_TRUE(Enabled(ControlId::CmdSaveDIB));
    EXPECT_FALSE(IsWindowVisible(Control(ControlId::Picture1)));
    EXPECT_EQ(calls_,
              (std::vector<DISPID>{camera_dispid::kFormatDialogAvailable, camera_dispid::kSourceDialogAvailable}));
}

TEST_F(CameraButtonsTest, OneMissingDialogKeepsThePhotoButtonOffAndThePreviewCovered) {
    LoadWith(false, /*format=*/true, /*source=*/false);
    EXPECT_TRUE(Enabled(ControlId::CmdFormatDlg));
    EXPECT_FALSE(Enabled(ControlId::CmdSourceDlg));
    EXPECT_FALSE(Enabled(ControlId::CmdSaveDIB));
    EXPECT_TRUE(IsWindowVisible(Control(ControlId::Picture1)));
}

TEST_F(CameraButtonsTest, TheDialogButtonsCallTheCameraDialogs) {
    LoadWith(false, true, true);
    calls_.clear();
    SendMessageW(Control(ControlId::CmdFormatDlg), BM_CLICK, 0, 0);
    SendMessageW(Control(ControlId::CmdSourceDlg), BM_CLICK, 0, 0);
    EXPECT_EQ(calls_, (std::vector<DISPID>{camera_dispid::kShowFormatDialog, camera_dispid::kShowSourceDialog}));
}

// The camera's dialog buttons are event handlers that raise what the camera
// control raises.
using UntrappedErrorTest = CameraButtonsTest;

TEST_F(UntrappedErrorTest, AnErrorInAnEventHandlerIsShownWithNumberAndDescription) {
    LoadWith(false, true, true);
    camera_->FailAutomation([] { throw ComponentError(380, "Invalid property value"); });

    SendMessageW(Control(ControlId::CmdFormatDlg), BM_CLICK, 0, 0);

    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, L"运行时错误 '380':\r\n\r\nInvalid property value");
    EXPECT_EQ(messages_[0].caption, kProductTitle);
    EXPECT_TRUE(messages_[0].type & MB_ICONERROR);
    EXPECT_TRUE(Window().IsLoaded());
}

TEST_F(UntrappedErrorTest, AnUnknownFailureIsStillReported) {
    LoadWith(false, true, true);
    camera_->FailAutomation([] { throw 42; });
    SendMessageW(Control(ControlId::CmdSourceDlg), BM_CLICK, 0, 0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].text.find(L"440"), std::wstring::npos);
}

void CALLBACK PickSecondMenuItem(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menu = vardolin::test::FindThreadWindow(L"#32768");
    if (!menu) return;
    KillTimer(nullptr, timer);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
        PostMessageW(menu, WM_KEYDOWN, key, 0);
        PostMessageW(menu, WM_KEYUP, key, 0);
    }
}

TEST_F(GetPICTest, TheMenuRunsTheChosenCommandBeforeItReturns) {
    std::vector<MenuItem> chosen;
    ShowWithHost();
    // The second item removes the selected entry once the user confirmed it.
    SendMessageW(Control(ControlId::List1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"张三"));
    SendMessageW(Control(ControlId::List1), LB_SETCURSEL, 0, 0);
    // Drive the menu's own loop: two steps down and Enter picks the second item.
    SetTimer(nullptr, 0, 50, PickSecondMenuItem);

    Window().PopupMenuThe(7440 + 9600, 120 + 1400);
    for (const ShownMessage& message : messages_)
        if (message.caption == roster::kConfirmRemovalTitle) chosen.push_back(MenuItem::Del);

    EXPECT_EQ(chosen, (std::vector<MenuItem>{MenuItem::Del}));
}

TEST(MenuThe, HoldsTheSixCommandsInOrderThenThePhotoFolderItemsAndTheClassSheet) {
    UniqueMenu menu = CreateMenuThe();
    ASSERT_EQ(GetMenuItemCount(menu.get()), 9);
    const wchar_t* captions[] = {L"添加待摄像列表",   L"移除所选项目",      L"清空列表",
                                 L"剔除己存在图像项", L"移到最前面",        L"移到最后面",
                                 L"打开照片文件夹",   L"更改照片文件夹...", L"生成照片一览"};
    for (int i = 0; i < 9; ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu.get(), i, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, captions[i]);
        EXPECT_EQ(GetMenuState(menu.get(), i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED), 0u);
        EXPECT_EQ(MenuItemOf(GetMenuItemID(menu.get(), i)), MenuTheItems()[i].item);
    }
}

}  // namespace
}  // namespace vardolin::capture::test
