// The stand-in host's window under Wine: InputBox of type 8 as the component
// calls it (through the Application object), answered in the range picker by
// dragging over the grid, typing an address, or cancelling; and selecting
// cells in the grid outside the picker.
#include "devhost/app/FormShowMacro.h"
#include "devhost/app/GridGeometry.h"
#include "devhost/app/HostProgram.h"
#include "devhost/app/HostWindow.h"
#include "devhost/app/RangePicker.h"
#include "tests/ThreadWindows.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include <functional>

namespace vardolin::devhost::app {
namespace {

struct Variant : VARIANT {
    Variant() { VariantInit(this); }
    ~Variant() { VariantClear(this); }
};

Workbook Roster() { return Workbook::FromCsv("Name\nAda\nBo\n,\nCy\n#sheet Other\nx,y\n"); }

HRESULT Invoke(IDispatch* object, const wchar_t* member, WORD flags, std::vector<VARIANT> args, VARIANT* result) {
    LPOLESTR name = const_cast<LPOLESTR>(member);
    DISPID id = 0;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, 1033, &id);
    if (FAILED(hr)) return hr;
    std::reverse(args.begin(), args.end());
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    return object->Invoke(id, IID_NULL, 1033, flags, &params, result, nullptr, nullptr);
}

VARIANT Text(const wchar_t* text) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = const_cast<BSTR>(text);  // read only by the callee
    return v;
}
VARIANT Missing() {
    VARIANT v;
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}
VARIANT Long(long value) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

// What the roster import asks: prompt, title, five omitted, type 8.
HRESULT InputBoxType8(IDispatch* application, VARIANT* answer) {
    return Invoke(
        application, L"InputBox", DISPATCH_METHOD,
        {Text(L"Pick the names"), Text(L"Roster"), Missing(), Missing(), Missing(), Missing(), Missing(), Long(8)},
        answer);
}

std::wstring AddressOf(const VARIANT& range) {
    if (range.vt != VT_DISPATCH || !range.pdispVal) return L"<not a range>";
    Variant address;
    if (FAILED(Invoke(range.pdispVal, L"Address", DISPATCH_PROPERTYGET, {}, &address)) || address.vt != VT_BSTR)
        return L"<no address>";
    return address.bstrVal;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

// Runs `step` on every tick of a thread timer while `done` is false; the
// timer fires inside the picker's own message loop.
class Script {
public:
    explicit Script(std::function<bool()> step) {
        current = std::move(step);
        timer_ = SetTimer(nullptr, 0, 30, &Script::Tick);
    }
    ~Script() {
        KillTimer(nullptr, timer_);
        current = nullptr;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (current && current()) current = nullptr;
    }
    static inline std::function<bool()> current;
    UINT_PTR timer_;
};

void Drag(HWND grid, const Cell& from, const Cell& to, WPARAM keys = 0) {
    GridOrigin origin;
    POINT a = CellCentre(origin, from), b = CellCentre(origin, to);
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(a.x, a.y));
    SendMessageW(grid, WM_MOUSEMOVE, MK_LBUTTON | keys, MAKELPARAM(b.x, b.y));
    SendMessageW(grid, WM_LBUTTONUP, keys, MAKELPARAM(b.x, b.y));
}

// Destroying the window posts WM_QUIT, as a main window does; the next
// test's picker must not see it.
struct QuitMessageDrain {
    ~QuitMessageDrain() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    }
};

class HostWindowTest : public testing::Test {
protected:
    ComApartment com;
    QuitMessageDrain drain;
    HostWindow host{Roster()};
    IDispatch* application = host.Model().Application().Get();

    HostWindowTest() { ShowWindow(host.Window(), SW_SHOWNOACTIVATE); }

    // The range picker's bar while it is up.
    HWND Picker() const {
        HWND bar = GetDlgItem(host.Window(), kPickerBar);
        return bar && IsWindowVisible(bar) ? bar : nullptr;
    }
};

TEST(GridGeometry, CellsAndPointsAgreeAndHeadersHoldNoCell) {
    GridOrigin scrolled{10, 3};
    for (Cell cell : {Cell{10, 3}, Cell{11, 4}, Cell{25, 9}})
        EXPECT_EQ(CellAt(scrolled, CellCentre(scrolled, cell)), cell);
    EXPECT_FALSE(CellAt({}, {kRowHeaderWidth - 1, 100}));
    EXPECT_FALSE(CellAt({}, {100, kColumnHeaderHeight - 1}));
    EXPECT_EQ(Span({5, 4}, {2, 1}), (Area{{2, 1}, {5, 4}}));
    EXPECT_EQ(Span({2, 4}, {5, 1}), (Area{{2, 1}, {5, 4}}));
}

TEST_F(HostWindowTest, DraggingOverTheGridAnswersThePickedRange) {
    std::wstring shown;
    bool ownerVisible = true;
    Script script([&] {
        HWND picker = Picker();
        if (!picker) return false;
        Drag(host.Grid().Window(), {2, 1}, {5, 1});
        shown = TextOf(GetDlgItem(picker, kPickerAddress));
        ownerVisible =
            IsWindowEnabled(host.Grid().Window()) && !IsWindowEnabled(GetDlgItem(host.Window(), kRunMacroButton));
        SendMessageW(GetDlgItem(picker, kPickerOk), BM_CLICK, 0, 0);
        return true;
    });
    Variant answer;
    ASSERT_EQ(InputBoxType8(application, &answer), S_OK);
    EXPECT_EQ(shown, L"$A$2:$A$5");
    EXPECT_TRUE(ownerVisible) << "the grid takes clicks, the macro button does not, while the picker is up";
    EXPECT_EQ(AddressOf(answer), L"$A$2:$A$5");
    EXPECT_EQ(Picker(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(host.Window(), kRunMacroButton)));
    // Picking is not selecting: the host's selection stays where it was.
    EXPECT_EQ(host.Model().Book().Selection().areas, (std::vector<Area>{{{1, 1}, {1, 1}}}));
    ASSERT_EQ(host.Model().InputBoxCalls().size(), 1u);
    EXPECT_EQ(host.Model().InputBoxCalls()[0].type, 8);
}

TEST_F(HostWindowTest, CtrlAddsAnAreaToThePick) {
    Script script([&] {
        HWND picker = Picker();
        if (!picker) return false;
        Drag(host.Grid().Window(), {2, 1}, {3, 1});
        Drag(host.Grid().Window(), {5, 1}, {5, 1}, MK_CONTROL);
        SendMessageW(GetDlgItem(picker, kPickerOk), BM_CLICK, 0, 0);
        return true;
    });
    Variant answer;
    ASSERT_EQ(InputBoxType8(application, &answer), S_OK);
    EXPECT_EQ(AddressOf(answer), L"$A$2:$A$3,$A$5");
}

// A typed address that names no cell, or a sheet that does not exist, is
// refused with a message and the picker stays; a good one is answered, by OK
// or by Enter.
TEST_F(HostWindowTest, ATypedAddressIsAnsweredAndABadOneIsRefused) {
    const struct {
        const wchar_t* refused;
        const wchar_t* accepted;
        bool byEnter;
        const wchar_t* answer;
    } cases[] = {
        {L"A0:B", L" b2:B3 ", true, L"$B$2:$B$3"},             // no such cell
        {L"Nowhere!A1", L"Other!A1:B1", false, L"$A$1:$B$1"},  // no such sheet
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<const void*>(c.refused));
        int refusals = 0;
        int step = 0;
        HWND answered = nullptr;
        Script script([&] {
            HWND picker = Picker();
            if (!picker) return false;
            HWND box = GetDlgItem(picker, kPickerAddress);
            if (HWND warning = vardolin::test::FindThreadWindow(L"#32770")) {
                // Under load the answer may not have closed the box by the next tick.
                if (warning != answered) ++refusals;
                answered = warning;
                PostMessageW(warning, WM_COMMAND, IDOK, 0);
                return false;
            }
            SetWindowTextW(box, step == 0 ? c.refused : c.accepted);
            if (step == 1 && c.byEnter) PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);  // Enter answers as OK does
            else PostMessageW(GetDlgItem(picker, kPickerOk), BM_CLICK, 0, 0);
            return ++step == 2;
        });
        Variant answer;
        ASSERT_EQ(InputBoxType8(application, &answer), S_OK);
        EXPECT_EQ(refusals, 1);
        EXPECT_EQ(AddressOf(answer), c.answer);
    }
}

TEST_F(HostWindowTest, CancelEscapeOrClosingAnswerFalse) {
    for (auto answerBy :
         {std::function<void(HWND)>([](HWND p) { SendMessageW(GetDlgItem(p, kPickerCancel), BM_CLICK, 0, 0); }),
          std::function<void(HWND)>(
              [](HWND p) { PostMessageW(GetDlgItem(p, kPickerAddress), WM_KEYDOWN, VK_ESCAPE, 0); }),
          std::function<void(HWND)>([](HWND p) { PostMessageW(p, WM_CLOSE, 0, 0); }),
          std::function<void(HWND)>([this](HWND) { PostMessageW(host.Window(), WM_CLOSE, 0, 0); })}) {
        Script script([&] {
            HWND picker = Picker();
            if (!picker) return false;
            Drag(host.Grid().Window(), {2, 1}, {3, 1});
            answerBy(picker);
            return true;
        });
        Variant answer;
        ASSERT_EQ(InputBoxType8(application, &answer), S_OK);
        EXPECT_EQ(answer.vt, VT_BOOL);
        EXPECT_EQ(answer.boolVal, VARIANT_FALSE);
    }
    EXPECT_TRUE(IsWindow(host.Window())) << "closing the host only cancels the picker";
}

TEST_F(HostWindowTest, DraggingOutsideThePickerSelectsCellsAndShowsTheirAddress) {
    Drag(host.Grid().Window(), {3, 3}, {2, 2});
    EXPECT_EQ(host.Model().Book().Selection().areas, (std::vector<Area>{{{2, 2}, {3, 3}}}));
    EXPECT_EQ(TextOf(GetDlgItem(host.Window(), kNameBox)), L"$B$2:$C$3");
    // What the component then reads through the host's Selection.
    Variant selection;
    ASSERT_EQ(Invoke(application, L"Selection", DISPATCH_PROPERTYGET, {}, &selection), S_OK);
    EXPECT_EQ(AddressOf(selection), L"$B$2:$C$3");
}

// The macro's failures reach the user with what to do; none passes as success.
TEST(FormShowMacro, AClassThatCannotBeCreatedOrHasNoFormShowIsReported) {
    ComApartment com;
    QuitMessageDrain drain;
    HostWindow host{Roster()};
    IDispatch* application = host.Model().Application().Get();
    auto run = [&](const wchar_t* progId) {
        return RunFormShowMacro(application, host.Model().ActiveWorkbook().Get(), host.Model().ActiveSheet().Get(),
                                progId);
    };
    MacroOutcome unregistered = run(L"Vardolin.NoSuchClass");
    EXPECT_TRUE(FAILED(unregistered.result));
    EXPECT_NE(unregistered.failure.find(L"regsvr32"), std::wstring::npos) << "says how to register";

    MacroOutcome other = run(L"Scripting.Dictionary");  // creatable, but no Form_show
    EXPECT_TRUE(FAILED(other.result));
    EXPECT_NE(other.failure.find(L"no method Form_show"), std::wstring::npos);
}

}  // namespace
}  // namespace vardolin::devhost::app
