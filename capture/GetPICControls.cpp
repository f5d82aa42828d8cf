// The capture window's controls: created from the layout table in tab
// order, with their fonts and tooltips, and the crop preview's first picture.
#include "capture/ComponentState.h"
#include "autoframe/FramePlacement.h"
#include "win/ComponentError.h"
#include "capture/GetPICLoaded.h"
#include "win/ModuleInstance.h"

#include <commctrl.h>

namespace vardolin::capture {
namespace {

// The picture the crop preview shows until the first crop: a neutral
// head-and-shoulders outline of the crop frame's size.
UniqueBitmap CreatePlaceholderPicture() {
    const autoframe::Extent size = autoframe::kCropFrameSize;
    WindowDc screen(nullptr);
    UniqueBitmap picture(CreateCompatibleBitmap(screen.get(), size.width, size.height));
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    if (!picture || !dc) return picture;

    ScopedSelection bitmap(dc.get(), picture.get());
    RECT all{0, 0, size.width, size.height};
    UniqueBrush background(CreateSolidBrush(RGB(232, 236, 241)));
    FillRect(dc.get(), &all, background.get());

    UniqueBrush figure(CreateSolidBrush(RGB(178, 188, 201)));
    ScopedSelection brush(dc.get(), figure.get());
    ScopedSelection pen(dc.get(), GetStockObject(NULL_PEN));
    Ellipse(dc.get(), 46, 34, 111, 107);   // head
    Ellipse(dc.get(), 14, 118, 143, 250);  // shoulders, cut by the bottom edge
    return picture;
}

}  // namespace

UniqueFont CreateSongtiFont(int pixelHeight) {
    LOGFONTW font{};
    font.lfHeight = -pixelHeight;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    wcscpy_s(font.lfFaceName, L"宋体");
    return UniqueFont(CreateFontIndirectW(&font));
}

void GetPIC::CreateControl(const ControlSpec& layout) {
    HWND parent = loaded_->window;
    RECT r = ToPixels(layout.bounds);
    int id = static_cast<int>(layout.id);
    auto make = [&](DWORD exStyle, const wchar_t* cls, DWORD style, HFONT font) {
        HWND control = CreateWindowExW(exStyle, cls, layout.caption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                                       r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
        if (!control) ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()));
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    };
    HFONT ui = loaded_->controlFont.get();
    HWND control = nullptr;
    switch (layout.kind) {
    case ControlKind::Button: control = make(0, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, ui); break;
    case ControlKind::CheckBox: control = make(0, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, ui); break;
    case ControlKind::Label:
        control =
            make(0, L"STATIC", SS_LEFT | SS_NOPREFIX, layout.id == ControlId::Label2 ? loaded_->qualityFont.get() : ui);
        break;
    case ControlKind::ListBox:
        // Drawn by the window, so that a done entry carries its check.
        control =
            make(WS_EX_CLIENTEDGE, L"LISTBOX",
                 WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                 loaded_->listFont.get());
        SendMessageW(control, LB_SETITEMHEIGHT, 0, roster::RosterRowHeight(control, loaded_->listFont.get()));
        SetWindowSubclass(control, &GetPIC::ListSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
        loaded_->roster = roster::RosterList(control);
        break;
    case ControlKind::ScrollBar:
        control = make(0, L"SCROLLBAR", WS_TABSTOP | SBS_HORZ, ui);
        SetScrollRange(control, SB_CTL, kQualityMin, kQualityMax, FALSE);
        SetScrollPos(control, SB_CTL, kQualityMin, TRUE);
        break;
    case ControlKind::PictureBox: {
        bool still = layout.id == ControlId::Picture1;
        auto box = std::make_unique<PictureBox>(parent, id, r, PictureBox::Options{still, !still});
        control = box->Window();
        if (!control) ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError()));
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(ui), FALSE);
        if (still) {
            box->SetFrame(kCropFrameAtLoad);
            box->SetMouseHandler([this](const MouseEvent& mouse) { OnStillMouse(mouse); });
            box->SetKeyHandler([this](UINT key) { Picture1_KeyDown(key); });
            loaded_->picture1 = std::move(box);
        } else {
            box->SetPicture(CreatePlaceholderPicture());
            loaded_->picture2 = std::move(box);
        }
        break;
    }
    case ControlKind::Camera:
        loaded_->camera = CreateCameraControl(component_.cameraControl, parent, r, id);
        control = loaded_->camera ? loaded_->camera->Window() : nullptr;
        if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(ui), FALSE);
        break;
    }
    loaded_->controls[layout.id] = control;
}

void GetPIC::AddTooltips() {
    // No owner: under some window managers an owned popup keeps its owner from
    // becoming topmost.
    loaded_->tooltip.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                           WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, ModuleInstance(), nullptr));
    if (!loaded_->tooltip) return;  // tooltips are a convenience
    SendMessageW(loaded_->tooltip.get(), WM_SETFONT, reinterpret_cast<WPARAM>(loaded_->controlFont.get()), FALSE);
    SendMessageW(loaded_->tooltip.get(), TTM_SETMAXTIPWIDTH, 0, 360);  // the longer tips in lines
    for (const ControlSpec& layout : GetPICControls()) {
        if (!layout.tooltip) continue;
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = loaded_->window;
        tool.uId = reinterpret_cast<UINT_PTR>(Control(layout.id));
        tool.lpszText = const_cast<wchar_t*>(layout.tooltip);
        SendMessageW(loaded_->tooltip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

}  // namespace vardolin::capture
