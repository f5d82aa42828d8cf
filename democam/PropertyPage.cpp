#include "democam/PropertyPage.h"

#include "win/ModuleInstance.h"

#include <commctrl.h>

#include <cstring>

namespace vardolin::democam {
namespace {

constexpr UINT_PTR kSubclassId = 0x44454D4F;

SIZE PixelsOf(short width, short height) {
    LONG units = GetDialogBaseUnits();
    return {MulDiv(width, LOWORD(units), 4), MulDiv(height, HIWORD(units), 8)};
}

}  // namespace

PropertyPage::~PropertyPage() { DestroyPage(); }

void* PropertyPage::Interface(REFIID iid) noexcept {
    return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyPage) ? static_cast<IPropertyPage*>(this)
                                                                               : nullptr;
}

STDMETHODIMP PropertyPage::SetPageSite(IPropertyPageSite* site) {
    site_ = site;
    return S_OK;
}

STDMETHODIMP PropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) {
    if (!rect) return E_POINTER;
    if (dialog_) return E_UNEXPECTED;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    dialog_ = CreateDialogIndirectParamW(vardolin::ModuleInstance(), layout_.Get(), parent, DialogProc,
                                         reinterpret_cast<LPARAM>(this));
    if (!dialog_) return HRESULT_FROM_WIN32(GetLastError());
    MoveWindow(dialog_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, FALSE);
    if (parent && SetWindowSubclass(parent, ParentProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        parent_ = parent;
    return S_OK;
}

void PropertyPage::DestroyPage() noexcept {
    if (parent_) RemoveWindowSubclass(parent_, ParentProc, kSubclassId);
    parent_ = nullptr;
    if (dialog_) DestroyWindow(dialog_);
    dialog_ = nullptr;
}

STDMETHODIMP PropertyPage::Deactivate() {
    DestroyPage();
    return S_OK;
}

STDMETHODIMP PropertyPage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info) return E_POINTER;
    size_t bytes = (title_.size() + 1) * sizeof(wchar_t);
    auto* title = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!title) return E_OUTOFMEMORY;
    std::memcpy(title, title_.c_str(), bytes);
    *info = PROPPAGEINFO{};
    info->cb = sizeof *info;
    info->pszTitle = title;
    info->size = PixelsOf(layout_.Width(), layout_.Height());
    return S_OK;
}

STDMETHODIMP PropertyPage::SetObjects(ULONG count, IUnknown** objects) {
    if (count && !objects) return E_POINTER;
    return vardolin::Guarded([&] {
        Attach(count ? objects[0] : nullptr);
        if (count && !Attached()) return E_NOINTERFACE;
        dirty_ = false;
        if (dialog_) Load(dialog_);
        return S_OK;
    });
}

STDMETHODIMP PropertyPage::Show(UINT command) {
    if (!dialog_) return E_UNEXPECTED;
    ShowWindow(dialog_, command);
    return S_OK;
}

STDMETHODIMP PropertyPage::Move(LPCRECT rect) {
    if (!rect) return E_POINTER;
    if (!dialog_) return E_UNEXPECTED;
    MoveWindow(dialog_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
}

STDMETHODIMP PropertyPage::Apply() {
    if (!dirty_) return S_OK;
    if (!dialog_ || !Attached()) return E_UNEXPECTED;
    HRESULT hr = vardolin::Guarded([&] { return Save(dialog_); });
    if (SUCCEEDED(hr)) dirty_ = false;
    return hr;
}

void PropertyPage::MarkDirty() {
    dirty_ = true;
    if (site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY);
}

INT_PTR CALLBACK PropertyPage::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* page = reinterpret_cast<PropertyPage*>(lParam);
        vardolin::Guarded([&] {
            if (page->Attached()) page->Load(dialog);
            return S_OK;
        });
        return TRUE;
    }
    auto* page = reinterpret_cast<PropertyPage*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!page || (message != WM_COMMAND && message != WM_HSCROLL)) return FALSE;
    vardolin::Guarded([&] {
        if (page->OnControl(dialog, message, wParam, lParam)) page->MarkDirty();
        return S_OK;
    });
    return TRUE;
}

LRESULT CALLBACK PropertyPage::ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY))
        reinterpret_cast<PropertyPage*>(self)->Apply();
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace vardolin::democam
