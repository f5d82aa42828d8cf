// What the component asks of the system that a test puts fakes in for:
// message boxes, the browser, the file manager, documents, the folder picker and timers. The product uses
// the system's own. One per thread, like the component state that holds it.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace vardolin {

struct Environment {
    using MessageBoxFunction =
        std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)>;
    using WebPageOpener = std::function<void(const std::wstring& address)>;
    using FolderOpener = std::function<bool(const std::wstring& folder)>;
    using FolderPicker = std::function<std::optional<std::wstring>(HWND owner, const std::wstring& current)>;

    // Shows a modal message box and returns the button chosen.
    MessageBoxFunction messageBox = SystemMessageBox;
    // Opens a web page in the user's browser.
    WebPageOpener webPageOpener = OpenInBrowser;
    // Opens a folder in a window of the system's file manager; false when it
    // could not be started.
    FolderOpener folderOpener = OpenInExplorer;
    // Opens a file with the program the system has for it (the class sheet
    // in the browser); false when none could be started.
    FolderOpener documentOpener = OpenDocument;
    // Lets the user choose a folder, starting at current; nullopt when the
    // user cancels.
    FolderPicker folderPicker = PickFolder;
    // While set, timers start no platform timer: they keep their settings,
    // and a test delivers the ticks itself by sending WM_TIMER.
    bool timersTickByHand = false;

    int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) const;

    static int SystemMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);
    // Whether a browser really started is not checked: the user sees it, or
    // sees nothing happen.
    static void OpenInBrowser(const std::wstring& address);
    static bool OpenInExplorer(const std::wstring& folder);
    static bool OpenDocument(const std::wstring& file);
    static std::optional<std::wstring> PickFolder(HWND owner, const std::wstring& current);
};

// This thread's environment, created on first use and never destroyed (like
// the component state, which holds it). The window procedures of every form
// and control report their errors with its message boxes.
Environment& ThreadEnvironment();

}  // namespace vardolin
