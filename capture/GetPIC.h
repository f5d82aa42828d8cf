// The capture window: camera preview, still photo with crop frame, crop
// preview, roster list, options and commands. One instance per component; it
// is loaded (its window and controls created) on first use, unloaded when the
// user closes it, and loaded again by the next Form_show.
#pragma once

#include "win/BaseWindow.h"
#include "capture/CameraControl.h"
#include "capture/GetPICLayout.h"
#include "roster/ListDrag.h"
#include "capture/MenuThe.h"
#include "capture/PictureBox.h"
#include "roster/RosterList.h"
#include "win/TopmostWindow.h"
#include "capture/photo/PhotoParts.h"

#include <memory>
#include <string>

namespace vardolin::roster {
class DoneMarks;
class ListDrawingTools;
}  // namespace vardolin::roster

namespace vardolin::capture {

struct ComponentState;

class GetPIC final : public TopmostWindow, public BaseWindow<GetPIC> {
public:
    explicit GetPIC(ComponentState& component);
    ~GetPIC();
    GetPIC(const GetPIC&) = delete;
    GetPIC& operator=(const GetPIC&) = delete;

    // Capture windows loaded in this process.
    static int LoadedCount() noexcept;

    // --- lifecycle ---
    // Loads the window when needed, shows it modeless with no owner and brings
    // it to the front.
    void Show() override;
    // Loads the window (runs the load sequence) without showing it.
    void Load();
    void Hide() override;
    // Closes the window as the user would; the instance stays.
    void Unload();
    bool IsLoaded() const noexcept override;
    HWND Window() const noexcept override;
    HWND Control(ControlId id) const noexcept;

    // --- window options ---
    // Put the window on top of all windows / make it an ordinary window again;
    // both load the window (without showing it) when it is not loaded.
    void SetTop() noexcept override;
    void Cancel_SetTop() noexcept override;

    bool IsChecked(ControlId checkBox) const noexcept;
    // A change made by code runs the same click handling as a user's click;
    // setting the state the box already has runs nothing.
    void SetChecked(ControlId checkBox, bool checked);
    int HScroll1Value() const noexcept;
    // Refuses values outside 50..100 (invalid property value); a change runs
    // the change handling.
    void SetHScroll1Value(double value);

    // --- what tests look at ---
    PictureBox* Picture1() noexcept;
    PictureBox* Picture2() noexcept;
    CameraControlWindow* Camera() noexcept;
    // The roster list's drawing tools (null when not loaded).
    const roster::ListDrawingTools* ListTools() const noexcept;
    // Who on the roster is marked done (null when not loaded).
    const roster::DoneMarks* DoneMarks() const noexcept;
    // Opens the popup menu `the` at a point of the client area (twips) and
    // runs the chosen command before returning.
    void PopupMenuThe(float xTwips, float yTwips);
    void RunMenuCommand(MenuItem item);
    // The popup menu `the` (null when not loaded).
    HMENU MenuThe() const noexcept;

private:
    // --- the events, each handed to the part that does the work (GetPICEvents.cpp) ---
    void CmdOK_Click() noexcept;
    void CmdSaveDIB_Click();
    void CmdFormatDlg_Click();
    void CmdSourceDlg_Click();
    void HandsFree_Timer();
    void Command1_Click();
    void Check1_Click() noexcept;
    void Check2_Click() noexcept;
    void HScroll1_Change();
    void ezVidCap1_StateChanged(WORD notification);
    void List1_DblClick();
    void List1_MouseDown(const roster::ListMouseEvent& event);
    void List1_MouseMove(const roster::ListMouseEvent& event);
    void List1_MouseUp(const roster::ListMouseEvent& event);
    void Picture1_MouseDown(const MouseEvent& mouse);
    void Picture1_MouseMove(const MouseEvent& mouse);
    void Picture1_MouseUp(const MouseEvent& mouse);
    void Picture1_KeyDown(UINT key);
    // The keyboard loop while the roster has the focus: Space takes a photo
    // (or goes back to the preview), Enter stores the crop where the frame
    // is and brings the live preview back for the next name. True when the
    // key was one of them.
    bool List1_KeyDown(UINT key);
    void Add_Click();
    void Del_Click();
    void clearall_Click();
    void replace_Click();
    void totop_Click();
    void tolast_Click();
    void ClassSheet_Click();

    // The parts the events work on; both raise "object required" when the
    // window is not loaded.
    roster::RosterList& Roster();
    PhotoParts Photo();

    struct Loaded;

    friend class BaseWindow<GetPIC>;
    static WNDCLASSEXW WindowClass() noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDetached() noexcept;
    LRESULT OnUncaughtError(HWND window, UINT, WPARAM, LPARAM) noexcept;
    void CreateWindowAndControls();
    void CreateControl(const ControlSpec& layout);
    void AddTooltips();
    void Form_Load();
    void Form_Resize();
    void Form_Unload() noexcept;
    void OnCommand(ControlId id, WORD notification);
    void OnHScroll(WORD request, WORD thumbPosition);
    LRESULT OnControlColor(HDC dc, HWND control);
    void OnListMouse(const MouseEvent& mouse);
    void OnStillMouse(const MouseEvent& mouse);
    static LRESULT CALLBACK ListSubclassProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                             DWORD_PTR self);

    // The options' handling (GetPICOptions.cpp): keep on top (Check1), direct
    // delete (Check2) and the quality (HScroll1), each stored for the next load.
    void ApplyKeepOnTop() noexcept;
    void ApplyDirectDelete() noexcept;
    void ApplyQuality();
    // Part of the load sequence and the option handling.
    void RestoreTopmostOption();
    void RestoreDirectDeleteOption();
    void RestoreQuality();
    void EnableCameraButtons();
    void AskCameraDialogs();
    // The camera control's live picture stopped or came back.
    void FollowCameraState(WORD notification);
    Microsoft::WRL::ComPtr<IDispatch> CameraDispatch();
    void SetQualityLabel(const std::wstring& quality);
    // The photo folder could not be reached when the window opened: says so.
    void TellPhotoFolderProblem() noexcept;
    // Lists the photo folder again for the marks of who is done.
    void RelistDoneMarks() noexcept;

    ComponentState& component_;
    std::unique_ptr<Loaded> loaded_;
    // Kept across loads, as a press leaves it until the next press.
    roster::ListDrag drag_;
};

}  // namespace vardolin::capture
