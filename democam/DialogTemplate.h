// A child dialog described in memory, so the pages need no resource script.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vardolin::democam {

class DialogTemplate {
public:
    // A child control-parent dialog of the given size in dialog units, in
    // the shell's dialog font.
    DialogTemplate(short width, short height);

    void AddControl(WORD id, const wchar_t* windowClass, const std::wstring& text, DWORD style, short x, short y,
                    short width, short height);

    const DLGTEMPLATE* Get() const noexcept { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
    short Width() const noexcept { return width_; }
    short Height() const noexcept { return height_; }

private:
    void Put(DWORD value);
    void Put(const std::wstring& text);

    std::vector<WORD> words_;
    short width_, height_;
};

}  // namespace vardolin::democam
