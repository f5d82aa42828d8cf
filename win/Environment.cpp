#include "win/Environment.h"

#include "win/Win32Handles.h"

#include <shellapi.h>
#include <shobjidl.h>
#include <wrl/client.h>

namespace vardolin {

int Environment::ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) const {
    return messageBox(owner, text, caption, type);
}

int Environment::SystemMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

void Environment::OpenInBrowser(const std::wstring& address) {
    ShellExecuteW(nullptr, L"open", address.c_str(), L"", L"", SW_SHOWNORMAL);
}

bool Environment::OpenInExplorer(const std::wstring& folder) { return OpenDocument(folder); }

bool Environment::OpenDocument(const std::wstring& file) {
    // May run on a thread that ends right afterwards: the shell finishes its
    // work before returning.
    SHELLEXECUTEINFOW info{sizeof info};
    info.fMask = SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    // The shell may hand the folder to extensions that COM activates.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    bool opened = ShellExecuteExW(&info) != FALSE;
    if (SUCCEEDED(com)) CoUninitialize();
    return opened;
}

std::optional<std::wstring> Environment::PickFolder(HWND owner, const std::wstring& current) {
    using Microsoft::WRL::ComPtr;
    ComPtr<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog))))
        return std::nullopt;
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    ComPtr<IShellItem> start;
    if (!current.empty() && SUCCEEDED(SHCreateItemFromParsingName(current.c_str(), nullptr, IID_PPV_ARGS(&start))))
        dialog->SetFolder(start.Get());
    ComPtr<IShellItem> chosen;
    if (FAILED(dialog->Show(owner)) || FAILED(dialog->GetResult(&chosen))) return std::nullopt;
    LPWSTR path = nullptr;
    HRESULT hr = chosen->GetDisplayName(SIGDN_FILESYSPATH, &path);
    UniqueCoTaskMem<wchar_t> held(path);
    if (FAILED(hr) || !held) return std::nullopt;
    return std::wstring(held.get());
}

Environment& ThreadEnvironment() {
    thread_local Environment* environment = nullptr;
    if (!environment) environment = new Environment();
    return *environment;
}

}  // namespace vardolin
