// A dialog box described in memory, so neither the capture window's dialogs
// nor the demo camera's property pages need a resource script. Both DLLs
// build it from this one source.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vardolin {

class DialogTemplate {
public:
    // A modal dialog box with a title, centred on its owner. Sizes are in
    // dialog units; the dialog uses the shell's dialog font.
    DialogTemplate(const std::wstring& title, short width, short height);
    // The contents of a property page: a child dialog without frame or title.
    static DialogTemplate Child(short width, short height);

    void AddControl(WORD id, const wchar_t* windowClass, const std::wstring& text, DWORD style, short x, short y,
                    short width, short height);
    // The usual OK and Cancel buttons at the right end of row y.
    void AddOkCancel(short y, short dialogWidth);

    const DLGTEMPLATE* Get() const noexcept { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
    short Width() const noexcept { return width_; }
    short Height() const noexcept { return height_; }

private:
    DialogTemplate(DWORD style, DWORD extendedStyle, const std::wstring& title, short width, short height);
    void Put(DWORD value);
    void Put(const std::wstring& text);
    void AlignToDword();

    std::vector<WORD> words_;
    short width_, height_;
};

}  // namespace vardolin
