#include "RosterImport.h"

#include "Component.h"
#include "ContinueOnError.h"
#include "Duplicates.h"
#include "GetPIC.h"
#include "MessageBoxSeam.h"
#include "RosterList.h"
#include "SpreadsheetHost.h"

#include <unordered_set>

namespace vardolin::roster {
namespace {

using capture::RunOrSkip;
using capture::SpreadsheetHost;

// Appends cell texts to the roster. A text that is already on the roster is
// left out at once: the duplicate removal that follows every import would
// take it off again, and leaving it out keeps it from using up room.
class CellCollector {
public:
    explicit CellCollector(RosterList roster) : roster_(roster) {
        for (std::wstring& text : roster_.Texts()) onRoster_.insert(std::move(text));
    }

    // Returns false once the roster is full and a further name turned up:
    // nothing more can be added, so the rest of the selection (which may be
    // a whole sheet) is not read.
    bool Take(SpreadsheetHost& host, const VARIANT& cell) {
        std::wstring text;
        try {
            text = host.CellText(cell);
        } catch (...) {
            return true;  // a value without a text form is skipped
        }
        if (TrimSpaces(text).empty() || onRoster_.contains(text)) return true;
        if (roster_.Count() >= kMaxEntries) {
            leftOut_ = true;
            return false;
        }
        RunOrSkip([&] {
            roster_.Append(text);
            onRoster_.insert(std::move(text));
        });
        return true;
    }

    bool LeftSomeOut() const noexcept { return leftOut_; }

private:
    RosterList roster_;
    std::unordered_set<std::wstring> onRoster_;
    bool leftOut_ = false;
};

void TellRosterFull(capture::GetPIC& window) {
    window.Cancel_SetTop();
    capture::ShowMessageBox(window.Window(), kRosterFullText, kRosterFullTitle, MB_OK | MB_ICONINFORMATION);
    window.SetTop();
}

}  // namespace

std::wstring TrimSpaces(const std::wstring& text) {
    size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

void Add(capture::GetPIC& window) noexcept {
    RunOrSkip([&] { window.Hide(); });
    SpreadsheetHost host(window.Owner().hostApplication.Get());

    capture::Variant answer;
    RunOrSkip([&] { answer = host.InputBox(kAddPrompt, kAddTitle); });
    // Anything but a range means the box was cancelled: nothing is read, not
    // even what happens to be selected in the host.
    Microsoft::WRL::ComPtr<IDispatch> picked;
    RunOrSkip([&] { picked = capture::late_binding::ToObject(answer); });

    bool leftOut = false;
    if (picked) {
        // The address has no sheet name: the cells are read from the same
        // addresses of the active sheet.
        RunOrSkip([&] { host.Select(host.Range(host.Address(answer)).Get()); });
        RunOrSkip([&] {
            RosterList roster(window.Control(capture::ControlId::List1));
            RedrawPause pause(roster);
            CellCollector collector(roster);
            RunOrSkip([&] {
                host.ForEachCell(host.Selection().Get(), [&](const VARIANT& cell) { return collector.Take(host, cell); });
            });
            leftOut = collector.LeftSomeOut();
        });
    }

    RunOrSkip([&] {
        RosterList roster(window.Control(capture::ControlId::List1));
        RemoveDuplicates(roster);
    });
    RunOrSkip([&] { window.Show(); });
    if (leftOut) RunOrSkip([&] { TellRosterFull(window); });
}

}  // namespace vardolin::roster
