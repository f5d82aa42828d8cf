// The camera's property pages as clients show them: the format page in the
// system's property frame (which applies on OK through PSN_APPLY), the
// picture page through IPropertyPage::Apply as other frames call it.
#include "democam/tests/CaptureGraph.h"
#include "democam/DemoScene.h"
#include "win/Win32Handles.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <olectl.h>
#include <uuids.h>

#include <string>

namespace vardolin::democam::camtest {
namespace {

using namespace std::chrono_literals;

CLSID FirstPageOf(IUnknown* object) {
    ComPtr<ISpecifyPropertyPages> specify;
    CAUUID pages{};
    CLSID page = GUID_NULL;
    if (SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&specify))) && SUCCEEDED(specify->GetPages(&pages))) {
        UniqueCoTaskMem<GUID> held(pages.pElems);
        if (held && pages.cElems > 0) page = held.get()[0];
    }
    return page;
}

struct ChildSearch {
    const wchar_t* windowClass;
    int skip;
    HWND found;
};

BOOL CALLBACK CheckChild(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (_wcsicmp(name, search->windowClass) != 0 || search->skip-- > 0) return TRUE;
    search->found = window;
    return FALSE;
}

// The skip+1-th descendant of that window class, in creation order.
HWND FindChild(HWND parent, const wchar_t* windowClass, int skip = 0) {
    ChildSearch search{windowClass, skip, nullptr};
    EnumChildWindows(parent, CheckChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring SelectedText(HWND list) {
    LRESULT item = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (item == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, item, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

// What the timer saw and did inside the modal property frame.
struct FrameVisit {
    std::wstring title;
    std::wstring selectedAtStart;
    LRESULT formats = 0;
    bool pressedOk = false;
};
FrameVisit* CurrentVisit = nullptr;

// The property frame: this thread's visible window holding the format list.
BOOL CALLBACK CheckFrame(HWND window, LPARAM found) {
    if (!IsWindowVisible(window) || !FindChild(window, L"ListBox")) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK ChooseYuy2AndPressOk(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND frame = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), CheckFrame, reinterpret_cast<LPARAM>(&frame));
    if (!frame) return;
    KillTimer(nullptr, timer);
    FrameVisit& visit = *CurrentVisit;
    visit.title.resize(128);
    visit.title.resize(static_cast<size_t>(GetWindowTextW(frame, visit.title.data(), 128)));
    HWND list = FindChild(frame, L"ListBox");
    visit.selectedAtStart = SelectedText(list);
    visit.formats = SendMessageW(list, LB_GETCOUNT, 0, 0);
    LRESULT item =
        SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"320 x 240 YUY2"));
    SendMessageW(list, LB_SETCURSEL, item, 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    visit.pressedOk = true;
    PostMessageW(frame, PSM_PRESSBUTTON, PSBTN_OK, 0);
}

// OK in the frame sets the chosen format; the next graph connects with it.
TEST(DemoCameraPages, FormatPageInThePropertyFrameSetsTheFormatForTheNextGraph) {
    ComScope com;
    ComPtr<IBaseFilter> camera = OpenVideoInputDevice(kFirstCamera);
    ComPtr<IPin> pin = CapturePin(camera.Get());
    ASSERT_TRUE(pin);
    CLSID page = FirstPageOf(pin.Get());
    IUnknown* objects[] = {pin.Get()};
    FrameVisit visit;
    CurrentVisit = &visit;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ChooseYuy2AndPressOk);
    HRESULT hr = OleCreatePropertyFrame(nullptr, 0, 0, L"Camera", 1, objects, 1, &page, 0, 0, nullptr);
    KillTimer(nullptr, timer);
    CurrentVisit = nullptr;
    ASSERT_HRESULT_SUCCEEDED(hr);
    ASSERT_TRUE(visit.pressedOk);
    EXPECT_NE(visit.title.find(L"Camera"), std::wstring::npos);
    EXPECT_EQ(visit.selectedAtStart, L"640 x 480 RGB24");
    EXPECT_EQ(visit.formats, 8);

    CaptureGraph graph(camera, MEDIASUBTYPE_YUY2);
    ASSERT_HRESULT_SUCCEEDED(graph.Built());
    BITMAPINFOHEADER header = graph.ConnectedHeader();
    EXPECT_EQ(header.biCompression, MAKEFOURCC('Y', 'U', 'Y', '2'));
    EXPECT_EQ(std::pair(header.biWidth, header.biHeight), std::pair(320L, 240L));
    ASSERT_HRESULT_SUCCEEDED(graph.Run());
    std::optional<Frame> frame = graph.NextFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->bytes.size(), 320u * 240 * 2);
}

// The trackbars and the photograph box start at the camera's values; Apply
// writes them, once.
TEST(DemoCameraPages, PicturePageAppliesBrightnessContrastAndScene) {
    ComScope com;
    ComPtr<IBaseFilter> camera = OpenVideoInputDevice(kFirstCamera);
    ComPtr<IAMVideoProcAmp> amp;
    ASSERT_HRESULT_SUCCEEDED(camera.As(&amp));
    ComPtr<IPropertyPage> page;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(FirstPageOf(camera.Get()), nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&page)));
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(host);
    IUnknown* objects[] = {camera.Get()};
    RECT area{0, 0, 400, 300};
    ASSERT_HRESULT_SUCCEEDED(page->SetObjects(1, objects));
    ASSERT_HRESULT_SUCCEEDED(page->Activate(host, &area, TRUE));

    HWND brightness = FindChild(host, TRACKBAR_CLASSW, 0), contrast = FindChild(host, TRACKBAR_CLASSW, 1);
    HWND photograph = FindChild(host, L"Button");
    ASSERT_TRUE(brightness && contrast && photograph);
    EXPECT_EQ(SendMessageW(photograph, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(brightness, TBM_GETRANGEMIN, 0, 0), -100);
    EXPECT_EQ(SendMessageW(brightness, TBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(SendMessageW(contrast, TBM_GETPOS, 0, 0), 100);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);

    SendMessageW(brightness, TBM_SETPOS, TRUE, -35);
    SendMessageW(contrast, TBM_SETPOS, TRUE, 140);
    SendMessageW(GetParent(brightness), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(contrast));
    SendMessageW(photograph, BM_CLICK, 0, 0);
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    ASSERT_HRESULT_SUCCEEDED(page->Apply());
    long value = 0, flags = 0;
    amp->Get(VideoProcAmp_Brightness, &value, &flags);
    EXPECT_EQ(value, -35);
    amp->Get(VideoProcAmp_Contrast, &value, &flags);
    EXPECT_EQ(value, 140);
    amp->Get(kSceneProperty, &value, &flags);
    EXPECT_EQ(value, static_cast<long>(Scene::Photograph));
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);

    // A frame that also sends PSN_APPLY finds the page clean: nothing more is written.
    amp->Set(VideoProcAmp_Brightness, 10, VideoProcAmp_Flags_Manual);
    PSHNOTIFY notify{{host, 0, static_cast<UINT>(PSN_APPLY)}, 0};
    SendMessageW(host, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
    amp->Get(VideoProcAmp_Brightness, &value, &flags);
    EXPECT_EQ(value, 10);

    page->Deactivate();
    page->SetObjects(0, nullptr);
    DestroyWindow(host);
}

}  // namespace
}  // namespace vardolin::democam::camtest
