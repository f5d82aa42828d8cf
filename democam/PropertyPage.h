// What both property pages share: the IPropertyPage protocol, the page
// window made from a dialog template, and the dirty state.
//
// OK reaches a page in two ways: a property frame calls Apply, and frames
// that do not (Wine's) still send PSN_APPLY to the page's parent, which the
// page therefore watches. A clean page ignores the second of the two.
#pragma once

#include "win/ComObject.h"
#include "win/DialogTemplate.h"

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <string>

namespace vardolin::democam {

using vardolin::DialogTemplate;

class PropertyPage : public vardolin::CountedComObject<PropertyPage, IPropertyPage> {
public:
    void* Interface(REFIID iid) noexcept;

    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT command) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

    virtual ~PropertyPage();

protected:
    PropertyPage(std::wstring title, DialogTemplate layout) : title_(std::move(title)), layout_(std::move(layout)) {}

    // The object the page edits (the first of SetObjects), or null.
    virtual void Attach(IUnknown* object) = 0;
    virtual bool Attached() const = 0;
    // Fills the controls from the object.
    virtual void Load(HWND dialog) = 0;
    // A control changed; true when that changes a setting.
    virtual bool OnControl(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Writes the page's settings to the object.
    virtual HRESULT Save(HWND dialog) = 0;

    void MarkDirty();

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
    void DestroyPage() noexcept;

    std::wstring title_;
    DialogTemplate layout_;
    Microsoft::WRL::ComPtr<IPropertyPageSite> site_;
    HWND dialog_ = nullptr;
    HWND parent_ = nullptr;
    bool dirty_ = false;
};

}  // namespace vardolin::democam
