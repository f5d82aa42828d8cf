#include "roster/RosterImport.h"

#include "automation/BusyHost.h"
#include "win/ContinueOnError.h"
#include "roster/PhotoFiles.h"
#include "roster/RosterTexts.h"
#include "automation/SpreadsheetHost.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vardolin::roster {
namespace {

using Microsoft::WRL::ComPtr;
using vardolin::HostBusy;
using vardolin::RunOrSkip;
using vardolin::SpreadsheetHost;

// Duplicate entries of the roster are equal texts, compared code unit by code
// unit (case, spaces and all). Positions, in ascending order, of every entry
// that repeats an earlier one.
std::vector<int> LaterDuplicates(const std::vector<std::wstring>& texts) {
    std::vector<int> later;
    std::unordered_set<std::wstring_view> seen;
    seen.reserve(texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        if (!seen.insert(texts[i]).second) later.push_back(static_cast<int>(i));
    return later;
}

// Removes the later copies of every text: the first occurrence keeps its
// position and the others keep their order.
void RemoveDuplicates(RosterList& roster) {
    std::vector<int> later = LaterDuplicates(roster.Texts());
    if (later.empty()) return;
    RedrawPause pause(roster);
    // From the back, so that the positions still to be removed stay valid.
    for (auto it = later.rbegin(); it != later.rend(); ++it) roster.Remove(*it);
}

// Runs one step of the import: a failure skips the step, as in every handler
// of the window, but a busy host ends the import.
template <class Step>
void RunOrSkipUnlessBusy(Step&& step) {
    try {
        step();
    } catch (const HostBusy&) {
        throw;
    } catch (...) {}
}

// Gathers the names of cells for the roster; they are added only by Commit,
// so an import that a busy host breaks off leaves the roster as it was. A
// text that is already on the roster is left out at once: the duplicate
// removal that follows every import would take it off again, and leaving it
// out keeps it from using up room.
class CellCollector {
public:
    explicit CellCollector(RosterList roster)
        : roster_(roster), room_(static_cast<size_t>(std::max(0, kMaxEntries - roster.Count()))) {
        for (std::wstring& text : roster_.Texts()) onRoster_.insert(std::move(text));
    }

    // Returns false once the roster is full and a further name turned up:
    // nothing more can be added, so the rest of the cells are not read.
    bool Take(SpreadsheetHost& host, const VARIANT& cell) {
        std::wstring text;
        try {
            text = host.CellText(cell);
        } catch (const HostBusy&) {
            throw;
        } catch (...) {
            return true;  // a value without a text form is skipped
        }
        if (IsBlank(text) || onRoster_.contains(text)) return true;
        if (names_.size() >= room_) {
            leftOut_ = true;
            return false;
        }
        onRoster_.insert(text);
        names_.push_back(std::move(text));
        return true;
    }

    void Commit() {
        RedrawPause pause(roster_);
        for (const std::wstring& name : names_) RunOrSkip([&] { roster_.Append(name); });
    }

    bool LeftSomeOut() const noexcept { return leftOut_; }
    const std::vector<std::wstring>& Names() const noexcept { return names_; }

private:
    RosterList roster_;
    size_t room_;
    std::unordered_set<std::wstring> onRoster_;
    std::vector<std::wstring> names_;
    bool leftOut_ = false;
};

// The cells of the picked range that can hold names: those a filter shows,
// and of them those inside the sheet's used range, since every other cell is
// empty and a whole column has a million of them. A host that cannot narrow
// the range (without SpecialCells, UsedRange or Intersect, say) has it read
// whole. Null when no such cell is left.
ComPtr<IDispatch> CellsToRead(SpreadsheetHost& host, IDispatch* picked) {
    ComPtr<IDispatch> visible = host.VisibleCells(picked);
    if (!visible) return nullptr;
    try {
        return host.UsedPart(visible.Get());
    } catch (const HostBusy&) {
        throw;
    } catch (...) {
        return visible;
    }
}

// What became of the import, and the names it added.
enum class Outcome { Done, RosterFull, RangeNotFound };
struct Imported {
    Outcome outcome = Outcome::Done;
    std::vector<std::wstring> added;
};

// The entries that differ from another entry only in case, for the names
// just added: Windows gives them one file name, so only one of them can
// have a photo until they are told apart. The first few, for a message.
std::wstring CaseOnlyTwins(const std::vector<std::wstring>& entries, const std::vector<std::wstring>& added) {
    constexpr size_t kNamed = 10;
    std::unordered_map<std::wstring, std::vector<const std::wstring*>> byFileName;
    for (const std::wstring& entry : entries) byFileName[FileNameKey(entry)].push_back(&entry);
    std::unordered_set<std::wstring> told;
    std::wstring names;
    size_t named = 0;
    for (const std::wstring& name : added) {
        std::wstring key = FileNameKey(name);
        const auto& twins = byFileName[key];
        if (twins.size() < 2 || !told.insert(key).second) continue;
        for (const std::wstring* twin : twins) {
            if (named++ == kNamed) return names + L"等";
            names += (names.empty() ? L"“" : L"、“") + *twin + L"”";
        }
    }
    return names;
}

// Asks the host for cells and adds their names. Raises HostBusy only; every
// other failure skips its step.
Imported ImportPickedCells(const RosterList& roster, SpreadsheetHost& host) {
    vardolin::Variant answer;
    RunOrSkipUnlessBusy([&] { answer = host.InputBox(kAddPrompt, kAddTitle); });
    // Anything but a range means the box was cancelled: nothing is read, not
    // even what happens to be selected in the host.
    ComPtr<IDispatch> picked;
    RunOrSkip([&] { picked = vardolin::late_binding::ToObject(answer); });
    if (!picked) return {};

    // The address has no sheet name: the cells are read from the same
    // addresses of the active sheet. When the host cannot find them there,
    // nothing is read, rather than whatever happens to be selected.
    ComPtr<IDispatch> range;
    RunOrSkipUnlessBusy([&] { range = host.Range(host.Address(answer)); });
    if (!range) return {Outcome::RangeNotFound, {}};
    // Selected, the range is read as the host's selection now shows it; a
    // range the host would not select (or a selection it will not give) is
    // read as it is.
    ComPtr<IDispatch> toRead = range;
    RunOrSkipUnlessBusy([&] {
        host.Select(range.Get());
        toRead = host.Selection();
    });
    Imported imported;
    RunOrSkipUnlessBusy([&] {
        CellCollector collector(roster);
        RunOrSkipUnlessBusy([&] {
            ComPtr<IDispatch> cells = CellsToRead(host, toRead.Get());
            if (cells) host.ForEachCell(cells.Get(), [&](const VARIANT& cell) { return collector.Take(host, cell); });
        });
        collector.Commit();
        imported = {collector.LeftSomeOut() ? Outcome::RosterFull : Outcome::Done, collector.Names()};
    });
    return imported;
}

// Message boxes are shown with the window off the top; afterwards it is put
// on top again, whatever the option says.
void Tell(vardolin::TopmostWindow& window, const vardolin::Environment& environment, const std::wstring& text,
          UINT icon) {
    window.Cancel_SetTop();
    environment.ShowMessageBox(window.Window(), text, kRosterFullTitle, MB_OK | icon);
    window.SetTop();
}

}  // namespace

void Add(RosterList roster, vardolin::TopmostWindow& window, const vardolin::Environment& environment,
         IDispatch* hostApplication) noexcept {
    RunOrSkip([&] { window.Hide(); });
    SpreadsheetHost host(hostApplication);
    bool hostBusy = false;
    Imported imported;
    try {
        imported = ImportPickedCells(roster, host);
    } catch (const HostBusy&) {
        hostBusy = true;
    } catch (...) {}
    const Outcome outcome = imported.outcome;

    RunOrSkip([&] { RemoveDuplicates(roster); });
    std::wstring twins;
    RunOrSkip([&] { twins = CaseOnlyTwins(roster.Texts(), imported.added); });
    // The user learns that the spreadsheet is busy before the window is back
    // over it.
    if (hostBusy) RunOrSkip([&] { Tell(window, environment, kHostBusyText, MB_ICONEXCLAMATION); });
    if (outcome == Outcome::RangeNotFound)
        RunOrSkip([&] { Tell(window, environment, kRangeNotFoundText, MB_ICONEXCLAMATION); });
    RunOrSkip([&] { window.Show(); });
    if (outcome == Outcome::RosterFull)
        RunOrSkip([&] { Tell(window, environment, kRosterFullText, MB_ICONINFORMATION); });
    if (!twins.empty()) RunOrSkip([&] { Tell(window, environment, CaseOnlyNamesText(twins), MB_ICONINFORMATION); });
}

}  // namespace vardolin::roster
