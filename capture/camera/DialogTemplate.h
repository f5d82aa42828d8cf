// A dialog box described in memory, so the control needs no resource script.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vardolin::capture {

class DialogTemplate {
public:
    // Size in dialog units; the dialog uses the shell's dialog font.
    DialogTemplate(const std::wstring& title, short width, short height);

    void AddControl(WORD id, const wchar_t* windowClass, const std::wstring& text, DWORD style, short x, short y,
                    short width, short height);

    // The usual OK and Cancel buttons at the right end of row y.
    void AddOkCancel(short y, short dialogWidth);

    const DLGTEMPLATE* Get() const noexcept { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Put(DWORD value);
    void Put(const std::wstring& text);
    void AlignToDword();

    std::vector<WORD> words_;
};

// Runs a modal dialog from a template; returns what EndDialog was given, or
// -1 when the dialog could not be made.
INT_PTR RunDialog(HWND owner, const DialogTemplate& dialog, DLGPROC procedure, void* state);

}  // namespace vardolin::capture
