// vardolin-walkthrough: plays the demo session on a running stand-in host.
//   vardolin-walkthrough play WORKBOOK.csv [PHOTOS]   import, photograph, store
//   vardolin-walkthrough check SCREENSHOT.png [face] check the screen at the end
//                                                    (face: the last photo was
//                                                    framed on the still's face)
//   vardolin-walkthrough sheet                       make the class sheet
//   vardolin-walkthrough close                       close the host
// Prints what it did (UTF-8); exits 1 with the reason when a step fails.
#include "devhost/app/walkthrough/RemoteWindow.h"
#include "devhost/app/walkthrough/ScreenshotCheck.h"
#include "win/TextEncoding.h"
#include "devhost/app/walkthrough/Walkthrough.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

using namespace vardolin::devhost::walkthrough;
namespace fs = std::filesystem;

namespace {

void Print(HANDLE stream, const std::wstring& line) {
    std::string utf8 = vardolin::WideToUtf8(line + L"\n");
    DWORD written = 0;
    WriteFile(stream, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}
void Say(const std::wstring& line) { Print(GetStdHandle(STD_OUTPUT_HANDLE), line); }
void Complain(const std::wstring& line) { Print(GetStdHandle(STD_ERROR_HANDLE), L"walkthrough: " + line); }

fs::path NewestPhoto() {
    fs::path newest;
    fs::file_time_type newestTime{};
    for (const auto& entry : fs::directory_iterator(RegisteredLibraryFolder() / L"Pic"))
        if (entry.path().extension() == L".jpg" && (newest.empty() || entry.last_write_time() > newestTime))
            newest = entry.path(), newestTime = entry.last_write_time();
    if (newest.empty()) throw Failure{L"no photo was stored"};
    return newest;
}

int Play(const fs::path& workbook, int photos) {
    Expectations expected = ExpectationsFor(workbook);
    Outcome outcome = PlayWalkthrough(expected, photos);
    std::wstring names;
    for (const std::wstring& name : outcome.roster) names += (names.empty() ? L"" : L", ") + name;
    Say(L"picked " + expected.pickedAddress + L": " + std::to_wstring(outcome.roster.size()) +
        L" names on the roster (" + names + L")");
    for (const fs::path& photo : outcome.photos) Say(L"stored " + photo.wstring());
    return 0;
}

int Check(const fs::path& screenshot, bool frameOnFace) {
    std::vector<std::wstring> failures = CheckScreenshot(screenshot, NewestPhoto(), frameOnFace);
    for (const std::wstring& failure : failures) Complain(failure);
    if (failures.empty())
        Say(std::wstring(L"the screenshot shows the capture window with the roster, the moved crop frame") +
            (frameOnFace ? L" on the face" : L"") + L" and the crop");
    return failures.empty() ? 0 : 1;
}

int Usage() {
    Complain(L"usage: vardolin-walkthrough play WORKBOOK.csv [PHOTOS] | check SCREENSHOT.png [face] | sheet | close");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    std::wstring command = argv[1];
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 2;
    try {
        if (command == L"play" && argc >= 3) status = Play(argv[2], argc >= 4 ? std::max(1, _wtoi(argv[3])) : 3);
        else if (command == L"check" && argc >= 3)
            status = Check(argv[2], argc >= 4 && std::wstring(argv[3]) == L"face");
        else if (command == L"sheet") {
            for (const fs::path& file : MakeClassSheet()) Say(L"class sheet " + file.wstring());
            status = 0;
        } else if (command == L"close") CloseHost(), status = 0;
        else status = Usage();
    } catch (const Failure& failure) {
        Complain(failure.what);
        status = 1;
    } catch (const std::exception& error) {
        Complain(L"stopped: " + std::wstring(error.what(), error.what() + std::strlen(error.what())));
        status = 1;
    }
    CoUninitialize();
    return status;
}
