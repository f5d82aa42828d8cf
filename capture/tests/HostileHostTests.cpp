// The roster import against a host that misbehaves: its calls fail, raise
// errors or answer with values of the wrong type. Whatever the host does, the
// window comes back, the roster keeps its entries, no message is shown, and
// the next import from a host that behaves works.
#include "capture/ComponentState.h"
#include "win/ComAdopt.h"
#include "win/ComObject.h"
#include "capture/FormShow.h"
#include "capture/GetPIC.h"
#include "tests/FakeEnvironment.h"
#include "roster/RosterList.h"
#include "roster/RosterTexts.h"
#include "win/Settings.h"

#include <gtest/gtest.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <algorithm>
#include <memory>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace vardolin::capture {
namespace {

using Microsoft::WRL::ComPtr;
using Entries = std::vector<std::wstring>;

// An owned VARIANT that the test can copy around freely.
struct Value {
    VARIANT v;
    Value() { VariantInit(&v); }
    Value(const Value& other) : Value() { VariantCopy(&v, const_cast<VARIANT*>(&other.v)); }
    Value& operator=(const Value& other) {
        VariantCopy(&v, const_cast<VARIANT*>(&other.v));
        return *this;
    }
    ~Value() { VariantClear(&v); }
};

Value Text(const wchar_t* text) {
    Value value;
    V_VT(&value.v) = VT_BSTR;
    V_BSTR(&value.v) = SysAllocString(text);
    return value;
}
Value Long(LONG number) {
    Value value;
    V_VT(&value.v) = VT_I4;
    V_I4(&value.v) = number;
    return value;
}
Value OfType(VARTYPE type) {  // VT_EMPTY or VT_NULL
    Value value;
    V_VT(&value.v) = type;
    return value;
}
Value ErrorValue(SCODE code) {  // what a cell holding #N/A gives
    Value value;
    V_VT(&value.v) = VT_ERROR;
    V_ERROR(&value.v) = code;
    return value;
}
Value Object(IDispatch* object) {  // null for Nothing
    Value value;
    V_VT(&value.v) = VT_DISPATCH;
    V_DISPATCH(&value.v) = object;
    if (object) object->AddRef();
    return value;
}
Value ArrayOfTexts() {
    Value value;
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 2);
    for (LONG i = 0; i < 2; ++i) {
        Value item = Text(i == 0 ? L"甲" : L"乙");
        SafeArrayPutElement(array, &i, &item.v);
    }
    V_VT(&value.v) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&value.v) = array;
    return value;
}

// What one member does when called: fills the result, returns the HRESULT.
using Behaviour = std::function<HRESULT(VARIANT& result, EXCEPINFO* info)>;

Behaviour Answer(const Value& value) {
    return [value](VARIANT& result, EXCEPINFO*) { return VariantCopy(&result, const_cast<VARIANT*>(&value.v)); };
}
// An error raised by the host, as the host raises it (1004 and its text).
Behaviour Raise(const wchar_t* description = L"Application-defined or object-defined error") {
    return [description](VARIANT&, EXCEPINFO* info) {
        if (info) {
            *info = EXCEPINFO{};
            info->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 1004);
            info->bstrDescription = SysAllocString(description);
        }
        return DISP_E_EXCEPTION;
    };
}
Behaviour Fail(HRESULT hr) {
    return [hr](VARIANT&, EXCEPINFO*) { return hr; };
}

// An automation object with the members it is given, found by name in any
// case or by dispatch id. Calls of members it lacks fail as the host's do.
class FakeObject final : public ComObject<FakeObject, IDispatch> {
public:
    static ComPtr<FakeObject> Make() { return AdoptReference(new FakeObject); }

    FakeObject* On(const std::wstring& name, DISPID id, Behaviour behaviour) {
        members_[id] = {name, std::move(behaviour)};
        return this;
    }

    void* Interface(REFIID iid) noexcept {
        return iid == IID_IUnknown || iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        for (const auto& [id, member] : members_)
            if (count > 0 && lstrcmpiW(member.first.c_str(), names[0]) == 0) return ids[0] = id, S_OK;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO* info,
                                     UINT*) override {
        auto member = members_.find(id);
        if (member == members_.end()) return DISP_E_MEMBERNOTFOUND;
        calls.push_back(member->second.first);
        VARIANT ignored;
        VariantInit(&ignored);
        HRESULT hr = member->second.second(result ? *result : ignored, info);
        VariantClear(&ignored);
        return hr;
    }

    std::vector<std::wstring> calls;

private:
    friend class ComObject<FakeObject, IDispatch>;  // deletes it
    FakeObject() = default;
    ~FakeObject() = default;

    std::map<DISPID, std::pair<std::wstring, Behaviour>> members_;
};

// A cell enumerator over the given items; it may fail after `failAfter` items.
class FakeEnumerator final : public ComObject<FakeEnumerator, IEnumVARIANT> {
public:
    FakeEnumerator(std::vector<Value> items, size_t failAfter) : items_(std::move(items)), failAfter_(failAfter) {}

    void* Interface(REFIID iid) noexcept {
        return iid == IID_IUnknown || iid == IID_IEnumVARIANT ? static_cast<IEnumVARIANT*>(this) : nullptr;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        ULONG n = 0;
        while (n < count && next_ < items_.size()) {
            if (next_ == failAfter_) return E_FAIL;
            VariantInit(&items[n]);
            VariantCopy(&items[n], &items_[next_].v);
            ++n;
            ++next_;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        next_ += count;
        return next_ <= items_.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

private:
    friend class ComObject<FakeEnumerator, IEnumVARIANT>;  // deletes it
    ~FakeEnumerator() = default;
    std::vector<Value> items_;
    size_t failAfter_;
    size_t next_ = 0;
};

constexpr size_t kNeverFails = static_cast<size_t>(-1);

// A cell whose Value does what it is told.
ComPtr<FakeObject> Cell(Behaviour value) {
    ComPtr<FakeObject> cell = FakeObject::Make();
    cell->On(L"Value", 6, std::move(value));
    return cell;
}
ComPtr<FakeObject> Cell(const wchar_t* text) { return Cell(Answer(Text(text))); }

// A collection whose _NewEnum gives an enumerator over items.
ComPtr<FakeObject> Cells(std::vector<Value> items, size_t failAfter = kNeverFails) {
    ComPtr<FakeObject> range = FakeObject::Make();
    range->On(L"_NewEnum", DISPID_NEWENUM, [items, failAfter](VARIANT& result, EXCEPINFO*) {
        V_VT(&result) = VT_UNKNOWN;
        V_UNKNOWN(&result) = new FakeEnumerator(items, failAfter);
        return S_OK;
    });
    return range;
}

// The cells of a selection without end (a whole sheet, say): each one a new
// name. Counts how many it handed out.
class EndlessEnumerator final : public ComObject<EndlessEnumerator, IEnumVARIANT> {
public:
    explicit EndlessEnumerator(std::shared_ptr<size_t> handedOut) : handedOut_(std::move(handedOut)) {}

    void* Interface(REFIID iid) noexcept {
        return iid == IID_IUnknown || iid == IID_IEnumVARIANT ? static_cast<IEnumVARIANT*>(this) : nullptr;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        for (ULONG n = 0; n < count; ++n) {
            VariantInit(&items[n]);
            V_VT(&items[n]) = VT_DISPATCH;
            V_DISPATCH(&items[n]) = Cell((L"cell " + std::to_wstring(++*handedOut_)).c_str()).Detach();
        }
        if (fetched) *fetched = count;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

private:
    friend class ComObject<EndlessEnumerator, IEnumVARIANT>;  // deletes it
    ~EndlessEnumerator() = default;
    std::shared_ptr<size_t> handedOut_;
};

// The application object. Each member behaves as the host would, until a
// test tells it otherwise: InputBox answers a range with the address $A$1:$A$2,
// Range gives a range that selects, Selection holds the cells 张三 and 李四.
class HostileHost {
public:
    HostileHost(const HostileHost&) = delete;
    HostileHost& operator=(const HostileHost&) = delete;
    HostileHost() {
        picked = FakeObject::Make();
        picked->On(L"Address", 1, Answer(Text(L"$A$1:$A$2")));
        addressed = FakeObject::Make();
        addressed->On(L"Select", 235, Answer(Value()));
        selection = Cells({Object(Cell(L"张三").Get()), Object(Cell(L"李四").Get())});
        inputBox = Answer(Object(picked.Get()));
        range = Answer(Object(addressed.Get()));
        selectionMember = [this](VARIANT& result, EXCEPINFO* info) {
            return Answer(Object(selection.Get()))(result, info);
        };
        application = FakeObject::Make();
        application->On(L"InputBox", 10, [this](VARIANT& r, EXCEPINFO* i) { return inputBox(r, i); });
        application->On(L"Range", 11, [this](VARIANT& r, EXCEPINFO* i) { return range(r, i); });
        application->On(L"Selection", 12, [this](VARIANT& r, EXCEPINFO* i) { return selectionMember(r, i); });
    }

    Behaviour inputBox;
    Behaviour range;
    Behaviour selectionMember;
    ComPtr<FakeObject> picked;     // what InputBox answers
    ComPtr<FakeObject> addressed;  // what Range answers
    ComPtr<FakeObject> selection;  // what Selection answers
    ComPtr<FakeObject> application;
};

class HostileHostTest : public ::testing::Test {
protected:
    HostileHostTest()
        : environment_([this](HWND, const std::wstring& text, const std::wstring&, UINT) {
              messages_.push_back(text);
              return IDOK;
          }) {
        RegDeleteTreeW(HKEY_CURRENT_USER, settings::kSectionPath);
        settings::Write(settings::kTopKey, L"0");
        // The host hands its objects to Form_show; this test's host is the first.
        CurrentComponentState().hostApplication.Reset();
        FormShow(host_->application.Get(), nullptr, nullptr);
        roster::RosterList list(List());
        for (const wchar_t* entry : {L"老王", L"B"}) list.Append(entry);
    }
    ~HostileHostTest() override {
        Window().Unload();
        CurrentComponentState().hostApplication.Reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, settings::kSectionPath);
    }

    GetPIC& Window() { return CurrentComponentState().CaptureWindow(); }
    HWND List() { return Window().Control(ControlId::List1); }
    Entries Texts() { return roster::RosterList(List()).Texts(); }

    // Runs the menu command Add; afterwards the window is back and no message
    // was shown.
    void Add() {
        Window().RunMenuCommand(MenuItem::Add);
        EXPECT_TRUE(IsWindowVisible(Window().Window())) << "the window did not come back";
        EXPECT_TRUE(messages_.empty()) << "a message was shown: " << testing::PrintToString(messages_);
        messages_.clear();
    }

    // After the hostile import, a host that behaves again is read as usual.
    void ExpectTheNextImportWorks(const Entries& before) {
        host_ = std::make_unique<HostileHost>();
        CurrentComponentState().hostApplication = host_->application;
        Add();
        Entries expected = before;
        for (const wchar_t* name : {L"张三", L"李四"})
            if (std::find(expected.begin(), expected.end(), name) == expected.end()) expected.push_back(name);
        EXPECT_EQ(Texts(), expected);
    }

    std::unique_ptr<HostileHost> host_ = std::make_unique<HostileHost>();
    std::vector<std::wstring> messages_;

private:
    vardolin::test::FakeEnvironment environment_;
};

const Entries kBefore{L"老王", L"B"};
const Entries kBeforeAndSelection{L"老王", L"B", L"张三", L"李四"};

TEST_F(HostileHostTest, AnInputBoxAnswerThatIsNoRangeImportsNothing) {
    ComPtr<FakeObject> noAddress = FakeObject::Make();
    const std::pair<const char*, Behaviour> answers[] = {
        {"raises", Raise()},
        {"fails without error info", Fail(E_FAIL)},
        {"a number", Answer(Long(42))},
        {"an address as text", Answer(Text(L"$A$1:$A$2"))},
        {"Nothing", Answer(Object(nullptr))},
        {"an error value", Answer(ErrorValue(DISP_E_PARAMNOTFOUND))},
        {"Null", Answer(OfType(VT_NULL))},
        {"an array", Answer(ArrayOfTexts())},
    };
    for (const auto& [what, answer] : answers) {
        SCOPED_TRACE(what);
        host_->inputBox = answer;
        Add();
        EXPECT_EQ(Texts(), kBefore);
        EXPECT_TRUE(host_->selection->calls.empty()) << "the selection was read";
        EXPECT_EQ(host_->application->calls.front(), L"InputBox");
        host_->application->calls.clear();
    }
    ExpectTheNextImportWorks(kBefore);
}

// A picked range whose address is no address, or that the host cannot find
// on the active sheet: nothing is selected or read (not the selection as it
// stands), and the user is told.
TEST_F(HostileHostTest, ARangeWithoutAUsableAddressImportsNothingAndSaysSo) {
    auto expectToldAndNothingRead = [&] {
        Window().RunMenuCommand(MenuItem::Add);
        EXPECT_TRUE(IsWindowVisible(Window().Window()));
        EXPECT_EQ(Texts(), kBefore);
        EXPECT_TRUE(host_->selection->calls.empty()) << "the selection was read";
        EXPECT_EQ(messages_, std::vector<std::wstring>{roster::kRangeNotFoundText});
        messages_.clear();
    };
    const std::pair<const char*, Behaviour> addresses[] = {
        {"raises", Raise()},
        {"a number", Answer(Long(7))},
        {"Null", Answer(OfType(VT_NULL))},
        {"an error value", Answer(ErrorValue(0x800A07FA))},
        {"an array", Answer(ArrayOfTexts())},
        {"an object", Answer(Object(FakeObject::Make().Get()))},
    };
    for (const auto& [what, address] : addresses) {
        SCOPED_TRACE(what);
        roster::RosterList(List()).Clear();
        for (const std::wstring& entry : kBefore) roster::RosterList(List()).Append(entry);
        host_->picked->On(L"Address", 1, address);
        host_->range = Raise(L"Method 'Range' of object '_Global' failed");
        expectToldAndNothingRead();
    }
    // A good address that Range cannot resolve, however it fails.
    host_->picked->On(L"Address", 1, Answer(Text(L"$A$1:$A$2")));
    for (const auto& [what, range] : {std::pair<const char*, Behaviour>{"Range raises", Raise()},
                                      {"Range answers a number", Answer(Long(1))},
                                      {"Range answers Nothing", Answer(Object(nullptr))}}) {
        SCOPED_TRACE(what);
        host_->range = range;
        expectToldAndNothingRead();
    }
    // And a range object with no Address at all.
    ComPtr<FakeObject> bare = FakeObject::Make();
    host_->inputBox = Answer(Object(bare.Get()));
    expectToldAndNothingRead();
}

// A resolved range that the host will not select is read as it is, not the
// selection as it stands.
TEST_F(HostileHostTest, ARangeThatCannotBeSelectedIsReadItself) {
    ComPtr<FakeObject> cannotSelect = Cells({Object(Cell(L"甲").Get()), Object(Cell(L"乙").Get())});
    cannotSelect->On(L"Select", 235, Raise(L"Select method of Range class failed"));
    ComPtr<FakeObject> withoutSelect = Cells({Object(Cell(L"甲").Get()), Object(Cell(L"乙").Get())});
    const std::pair<const char*, Behaviour> ranges[] = {
        {"Range answers an object without Select", Answer(Object(withoutSelect.Get()))},
        {"Select raises", Answer(Object(cannotSelect.Get()))},
    };
    for (const auto& [what, range] : ranges) {
        SCOPED_TRACE(what);
        roster::RosterList(List()).Clear();
        for (const std::wstring& entry : kBefore) roster::RosterList(List()).Append(entry);
        host_->range = range;
        Add();
        EXPECT_EQ(Texts(), (Entries{L"老王", L"B", L"甲", L"乙"}));
        EXPECT_TRUE(host_->selection->calls.empty()) << "the selection was read";
    }
}

TEST_F(HostileHostTest, ASelectionThatIsNoSetOfCellsAddsNothing) {
    ComPtr<FakeObject> notEnumerable = FakeObject::Make();
    ComPtr<FakeObject> enumRaises = FakeObject::Make();
    enumRaises->On(L"_NewEnum", DISPID_NEWENUM, Raise());
    ComPtr<FakeObject> enumIsANumber = FakeObject::Make();
    enumIsANumber->On(L"_NewEnum", DISPID_NEWENUM, Answer(Long(3)));
    ComPtr<FakeObject> enumIsNoEnumerator = FakeObject::Make();
    enumIsNoEnumerator->On(L"_NewEnum", DISPID_NEWENUM, Answer(Object(FakeObject::Make().Get())));
    ComPtr<FakeObject> enumIsNull = FakeObject::Make();
    enumIsNull->On(L"_NewEnum", DISPID_NEWENUM, [](VARIANT& result, EXCEPINFO*) {
        V_VT(&result) = VT_UNKNOWN;
        V_UNKNOWN(&result) = nullptr;
        return S_OK;
    });
    const std::pair<const char*, Behaviour> selections[] = {
        {"Selection raises", Raise()},
        {"Selection fails with a disconnected server", Fail(RPC_E_DISCONNECTED)},
        {"Selection is Nothing", Answer(Object(nullptr))},
        {"Selection is a number", Answer(Long(5))},
        {"Selection is text", Answer(Text(L"张三"))},
        {"Selection is an array", Answer(ArrayOfTexts())},
        {"Selection has no _NewEnum", Answer(Object(notEnumerable.Get()))},
        {"_NewEnum raises", Answer(Object(enumRaises.Get()))},
        {"_NewEnum is a number", Answer(Object(enumIsANumber.Get()))},
        {"_NewEnum is no enumerator", Answer(Object(enumIsNoEnumerator.Get()))},
        {"_NewEnum is a null pointer", Answer(Object(enumIsNull.Get()))},
    };
    for (const auto& [what, selection] : selections) {
        SCOPED_TRACE(what);
        host_->selectionMember = selection;
        Add();
        EXPECT_EQ(Texts(), kBefore);
    }
    ExpectTheNextImportWorks(kBefore);
}

TEST_F(HostileHostTest, JunkAmongTheCellsIsSkippedAndTheCellsAroundItAreRead) {
    ComPtr<FakeObject> noValue = FakeObject::Make();
    ComPtr<FakeObject> valueIsAnObjectWithoutDefault = Cell(Answer(Object(FakeObject::Make().Get())));
    // An object whose default member answers the object itself.
    ComPtr<FakeObject> loop = FakeObject::Make();
    loop->On(L"Value", DISPID_VALUE, [raw = loop.Get()](VARIANT& result, EXCEPINFO*) {
        V_VT(&result) = VT_DISPATCH;
        V_DISPATCH(&result) = raw;
        raw->AddRef();
        return S_OK;
    });
    host_->selection = Cells({
        Object(Cell(L"张三").Get()),
        ErrorValue(0x800A07FA),  // an error instead of a cell
        OfType(VT_EMPTY),
        OfType(VT_NULL),
        ArrayOfTexts(),
        Text(L"not a cell"),
        Long(12),
        Object(nullptr),
        Object(noValue.Get()),
        Object(Cell(Raise()).Get()),
        Object(Cell(Fail(E_UNEXPECTED)).Get()),
        Object(Cell(Answer(ErrorValue(0x800A07FA))).Get()),  // #N/A
        Object(Cell(Answer(ArrayOfTexts())).Get()),
        Object(Cell(Answer(OfType(VT_NULL))).Get()),
        Object(Cell(Answer(Object(nullptr))).Get()),
        Object(valueIsAnObjectWithoutDefault.Get()),
        Object(Cell(Answer(Object(loop.Get()))).Get()),
        Object(Cell(Answer(Long(1001))).Get()),
        Object(Cell(L"李四").Get()),
    });
    Add();
    EXPECT_EQ(Texts(), (Entries{L"老王", L"B", L"张三", L"1001", L"李四"}));
    ExpectTheNextImportWorks({L"老王", L"B", L"张三", L"1001", L"李四"});
}

TEST_F(HostileHostTest, AnEnumerationThatBreaksOffKeepsWhatItGaveAndRemovesDuplicates) {
    roster::RosterList(List()).Append(L"老王");  // a duplicate already on the roster
    host_->selection = Cells({Object(Cell(L"张三").Get()), Object(Cell(L"B").Get()), Object(Cell(L"李四").Get())},
                             /*failAfter=*/2);
    Add();
    EXPECT_EQ(Texts(), (Entries{L"老王", L"B", L"张三"}));
    ExpectTheNextImportWorks({L"老王", L"B", L"张三"});
}

TEST_F(HostileHostTest, AnEndlessSelectionIsReadOnlyUntilTheRosterIsFull) {
    HWND list = List();
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 2; i < roster::kMaxEntries - 1; ++i) roster::RosterList(list).Append(std::to_wstring(i));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    auto handedOut = std::make_shared<size_t>(0);
    host_->selection = FakeObject::Make();
    host_->selection->On(L"_NewEnum", DISPID_NEWENUM, [handedOut](VARIANT& result, EXCEPINFO*) {
        V_VT(&result) = VT_UNKNOWN;
        V_UNKNOWN(&result) = new EndlessEnumerator(handedOut);
        return S_OK;
    });
    Window().RunMenuCommand(MenuItem::Add);
    EXPECT_EQ(roster::RosterList(list).Count(), roster::kMaxEntries);
    EXPECT_EQ(*handedOut, 2u) << "the selection was read on after the roster was full";
    EXPECT_EQ(messages_.size(), 1u);  // the user is told that names were left out
    EXPECT_TRUE(IsWindowVisible(Window().Window()));
}

// Only the part of the selection inside the sheet's used range is read, as
// Intersect gives it; a host that cannot narrow the selection has it read whole.
TEST_F(HostileHostTest, TheSelectionIsNarrowedToTheUsedRangeWhereTheHostCan) {
    ComPtr<FakeObject> sheet = FakeObject::Make();
    sheet->On(L"UsedRange", 20, Answer(Object(FakeObject::Make().Get())));
    host_->selection->On(L"Worksheet", 21, Answer(Object(sheet.Get())));
    ComPtr<FakeObject> usedPart = Cells({Object(Cell(L"王五").Get())});
    const std::tuple<const char*, Behaviour, Entries> intersections[] = {
        {"the used part", Answer(Object(usedPart.Get())), {L"老王", L"B", L"王五"}},
        {"Nothing", Answer(Object(nullptr)), kBefore},
        {"Empty", Answer(OfType(VT_EMPTY)), kBefore},
        {"an error", Raise(), kBeforeAndSelection},
        {"a number", Answer(Long(1)), kBeforeAndSelection},
    };
    for (const auto& [what, intersection, expected] : intersections) {
        SCOPED_TRACE(what);
        roster::RosterList(List()).Clear();
        for (const std::wstring& entry : kBefore) roster::RosterList(List()).Append(entry);
        host_->application->On(L"Intersect", 13, intersection);
        Add();
        EXPECT_EQ(Texts(), expected);
    }
}

TEST_F(HostileHostTest, NoHostAtAllStillShowsTheWindowAgain) {
    CurrentComponentState().hostApplication.Reset();
    Add();
    EXPECT_EQ(Texts(), kBefore);
    ExpectTheNextImportWorks(kBefore);
}

}  // namespace
}  // namespace vardolin::capture
