#include "devhost/app/walkthrough/Walkthrough.h"

#include "capture/GetPICLayout.h"
#include "devhost/app/GridGeometry.h"
#include "devhost/app/HostWindow.h"
#include "devhost/app/RangePicker.h"
#include "devhost/app/walkthrough/RemoteWindow.h"
#include "devhost/Workbook.h"

#include <objbase.h>

#include <algorithm>
#include <thread>

namespace vardolin::devhost::walkthrough {
namespace {

namespace fs = std::filesystem;
using capture::ControlId;
using namespace std::chrono_literals;

constexpr const wchar_t* kTakePhoto = L"先拍照";
constexpr const wchar_t* kRetake = L"重新照";
constexpr int kMenuItemAdd = 1;
constexpr int kMenuItemClassSheet = 9;

// Where each round but the last grabs the crop frame (pixels of the
// still-photo box) and how far it drags it. Every grab point lies inside the
// frame wherever a new photo leaves it: where it was, or on the face in the
// photograph; moving down keeps the drawn scene's clock out of the photos.
struct FrameMove {
    POINT grab;
    POINT by;
};
constexpr FrameMove kFrameMoves[] = {{{198, 118}, {-50, 10}}, {{180, 120}, {70, 4}}, {{210, 110}, {-90, 6}}};

std::wstring Trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

std::wstring CellText(const CellValue& value) {
    if (const auto* text = std::get_if<std::wstring>(&value)) return *text;
    if (const auto* number = std::get_if<double>(&value)) return std::to_wstring(static_cast<long long>(*number));
    return {};
}

HWND Item(HWND window, ControlId id) { return GetDlgItem(window, static_cast<int>(id)); }

class Session {
public:
    explicit Session(const Expectations& expected) : expected_(expected) {}

    Outcome Play(int photos) {
        photos_ = photos;
        FindHost();
        RunMacro();
        ImportRoster();
        Outcome outcome{ListTexts(Item(capture_, ControlId::List1)), {}};
        for (int round = 0; round < photos; ++round) outcome.photos.push_back(PhotographNext(round));
        ImportAgainToSeeWhoIsDone();
        return outcome;
    }

private:
    void FindHost() {
        WaitFor(
            L"the stand-in host's window",
            [&] { return (host_ = FindVisibleWindow(app::kHostWindowClass)) != nullptr; }, 0);
        process_ = ProcessOf(host_);
        grid_ = GetDlgItem(host_, app::kGrid);
    }

    void RunMacro() {
        Click(GetDlgItem(host_, app::kRunMacroButton));
        WaitFor(
            L"the capture window",
            [&] { return (capture_ = FindVisibleWindow(kCaptureWindowClass, process_)) != nullptr; }, process_);
        WaitFor(
            L"the camera (the take-photo button enabled)",
            [&] { return IsWindowEnabled(Item(capture_, ControlId::CmdSaveDIB)) != FALSE; }, process_);
    }

    // The names photographed come back at the end of the roster, marked as
    // done; the list is scrolled to show them.
    void ImportAgainToSeeWhoIsDone() {
        HWND list = Item(capture_, ControlId::List1);
        ImportRoster(expected_.roster.size());
        std::vector<std::wstring> roster = ListTexts(list);
        for (int i = 0; i < photos_; ++i)
            if (roster.at(roster.size() - photos_ + i) != expected_.roster.at(i))
                throw Failure{L"the names photographed did not come back at the end of the roster"};
        RECT client{};
        GetClientRect(list, &client);
        LRESULT rowHeight = std::max<LRESULT>(1, Send(list, LB_GETITEMHEIGHT));
        LRESULT shown = std::max<LRESULT>(1, client.bottom / rowHeight);
        Send(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::max<LRESULT>(0, Send(list, LB_GETCOUNT) - shown)));
    }

    // Picks the roster column; the window comes back with `count` names.
    void ImportRoster(size_t count = 0) {
        HWND list = Item(capture_, ControlId::List1);
        RightClick(list, {30, 30});
        ChooseFromPopupMenu(process_, kMenuItemAdd);
        HWND picker = nullptr;
        WaitFor(
            L"the range picker",
            [&] {
                picker = GetDlgItem(host_, app::kPickerBar);
                return picker && IsWindowVisible(picker);
            },
            process_);
        if (IsWindowVisible(capture_)) throw Failure{L"the capture window stayed visible over the range picker"};

        ParsedAddress address = *ParseAddress(expected_.pickedAddress);
        const Area& column = address.areas.front();
        app::GridOrigin origin;
        Drag(grid_, app::CellCentre(origin, column.first), app::CellCentre(origin, column.last));
        HWND box = GetDlgItem(picker, app::kPickerAddress);
        WaitFor(
            L"the picked address " + expected_.pickedAddress, [&] { return TextOf(box) == expected_.pickedAddress; },
            process_, 5s);
        Click(GetDlgItem(picker, app::kPickerOk));

        WaitFor(
            L"the capture window back with the roster",
            [&] {
                return IsWindowVisible(capture_) &&
                       Send(list, LB_GETCOUNT) == static_cast<LRESULT>(count ? count : expected_.roster.size());
            },
            process_);
        std::vector<std::wstring> roster = ListTexts(list);
        if (!count && roster != expected_.roster) throw Failure{L"the roster differs from the picked names"};
    }

    fs::path PhotographNext(int round) {
        HWND list = Item(capture_, ControlId::List1);
        HWND take = Item(capture_, ControlId::CmdSaveDIB);
        std::wstring name = ListTexts(list).at(0);
        if (name != expected_.roster.at(static_cast<size_t>(round))) throw Failure{L"the roster did not move up"};

        if (TextOf(take) == kRetake) {
            Click(take);
            WaitFor(
                L"the live preview", [&] { return TextOf(take) == kTakePhoto; }, process_);
            std::this_thread::sleep_for(400ms);  // the scene moves on a little
        }
        Click(take);
        HWND still = Item(capture_, ControlId::Picture1);
        WaitFor(
            L"the still photo", [&] { return TextOf(take) == kRetake && IsWindowVisible(still); }, process_);

        // The last photo is stored as the still left the frame: on the face
        // when the option to frame faces is on and the camera films one.
        if (round + 1 < photos_) {
            const FrameMove& move = kFrameMoves[round % std::size(kFrameMoves)];
            Drag(still, move.grab, {move.grab.x + move.by.x, move.grab.y + move.by.y});
        }

        fs::path photo = RegisteredLibraryFolder() / L"Pic" / (name + L".jpg");
        std::error_code ignored;
        fs::remove(photo, ignored);
        LRESULT before = Send(list, LB_GETCOUNT);
        Click(Item(capture_, ControlId::Command1));
        WaitFor(
            L"the photo of " + name, [&] { return fs::exists(photo) && Send(list, LB_GETCOUNT) == before - 1; },
            process_);
        return photo;
    }

    const Expectations& expected_;
    int photos_ = 0;
    HWND host_ = nullptr;
    HWND grid_ = nullptr;
    HWND capture_ = nullptr;
    DWORD process_ = 0;
};

}  // namespace

Expectations ExpectationsFor(const fs::path& workbookFile) {
    Workbook book = Workbook::LoadCsv(workbookFile);
    const Worksheet& sheet = book.sheets.at(book.ActiveSheet());
    int lastRow = 2;
    for (const auto& [position, value] : sheet.cells)
        if (position.second == 1) lastRow = std::max(lastRow, position.first);
    Expectations expected{FormatAddress({Area{{2, 1}, {lastRow, 1}}}), {}};
    for (int row = 2; row <= lastRow; ++row) {
        std::wstring text = CellText(sheet.At({row, 1}));
        bool seen = std::find(expected.roster.begin(), expected.roster.end(), text) != expected.roster.end();
        if (!Trimmed(text).empty() && !seen) expected.roster.push_back(text);
    }
    return expected;
}

fs::path RegisteredLibraryFolder() {
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(L"Vardolin.Class1", &clsid))) throw Failure{L"Vardolin.Class1 is not registered"};
    wchar_t id[40];
    StringFromGUID2(clsid, id, 40);
    std::wstring key = std::wstring(L"CLSID\\") + id + L"\\InprocServer32";
    wchar_t path[MAX_PATH * 2];
    DWORD size = sizeof(path);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
        throw Failure{L"the registration of Vardolin.Class1 names no library"};
    return fs::path(path).parent_path();
}

Outcome PlayWalkthrough(const Expectations& expected, int photos) {
    if (static_cast<int>(expected.roster.size()) < photos)
        throw Failure{L"the roster is too short for the walkthrough"};
    return Session(expected).Play(photos);
}

std::vector<fs::path> MakeClassSheet() {
    HWND capture = FindVisibleWindow(kCaptureWindowClass);
    if (!capture) throw Failure{L"no capture window for the class sheet"};
    DWORD process = ProcessOf(capture);
    fs::path folder = RegisteredLibraryFolder() / L"Pic";
    std::vector<fs::path> sheet{folder / L"照片一览.html", folder / L"照片清单.csv"};
    std::error_code ignored;
    for (const fs::path& file : sheet) fs::remove(file, ignored);
    RightClick(Item(capture, ControlId::List1), {30, 30});
    ChooseFromPopupMenu(process, kMenuItemClassSheet);
    WaitFor(
        L"the class sheet in " + folder.wstring(),
        [&] { return std::all_of(sheet.begin(), sheet.end(), [](const fs::path& f) { return fs::exists(f); }); },
        process);
    return sheet;
}

void CloseHost() {
    HWND host = FindVisibleWindow(app::kHostWindowClass);
    if (!host) return;
    PostMessageW(host, WM_CLOSE, 0, 0);
    WaitFor(
        L"the host to close", [&] { return !IsWindow(host); }, 0);
}

}  // namespace vardolin::devhost::walkthrough
