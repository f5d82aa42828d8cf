#include "devhost/Host.h"

#include "win/ComAdopt.h"
#include "devhost/CellEnumerator.h"
#include "devhost/DispatchBase.h"

#include <oleauto.h>

#include <algorithm>
#include <new>

namespace vardolin::devhost {
namespace {

enum : DISPID {
    kName = 1,
    kInputBox,
    kRange,
    kSelection,
    kAddress,
    kValue = 6,
    kIntersect,
    kWorksheet,
    kUsedRange,
    kSpecialCells,
};

// SpecialCells' type for the cells that no filter hides.
constexpr long kCellTypeVisible = 12;
// The longest address Application.Range takes; a longer one (a selection of
// many separate areas) fails there.
constexpr size_t kLongestRangeAddress = 255;

// Lets the application tell its own range objects among the arguments of a
// call ({5C0E3E8A-8D51-4C5B-9B0B-4D61A4C1F3A7}).
constexpr IID kRangeObjectIid = {0x5c0e3e8a, 0x8d51, 0x4c5b, {0x9b, 0x0b, 0x4d, 0x61, 0xa4, 0xc1, 0xf3, 0xa7}};

void SetValue(VARIANT* out, const CellValue& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        out->vt = VT_R8;
        out->dblVal = *number;
    } else if (const auto* text = std::get_if<std::wstring>(&value)) {
        ReturnText(out, *text);
    }
}

// An object of this host: its calls are counted, and refused while the host
// is busy.
class HostObject : public DispatchBase {
public:
    explicit HostObject(std::shared_ptr<HostState> state) : state_(std::move(state)) {}

protected:
    HRESULT Admit(bool lookupOnly) override { return state_->Admit(lookupOnly); }
    std::shared_ptr<HostState> state_;
};

class RangeObject final : public HostObject {
public:
    RangeObject(std::shared_ptr<HostState> state, RangeRef range)
        : HostObject(std::move(state)), range_(std::move(range)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out && iid == kRangeObjectIid) {
            *out = this;
            AddRef();
            return S_OK;
        }
        return HostObject::QueryInterface(iid, out);
    }

    const RangeRef& Ref() const noexcept { return range_; }

protected:
    std::span<const Member> Members() const override {
        static constexpr Member members[] = {
            {L"Address", kAddress},           {L"Select", kSelectDispId},
            {L"_NewEnum", DISPID_NEWENUM},    {L"Value", kValue},
            {L"_Default", DISPID_VALUE},      {L"Worksheet", kWorksheet},
            {L"SpecialCells", kSpecialCells},
        };
        return members;
    }

    void Call(DISPID id, WORD, const Arguments&, VARIANT* result) override;

private:
    // SpecialCells(Type): only the visible cells are offered. Like the real
    // host, a single cell stands for the whole used range of its sheet, and
    // finding no cell is an error.
    void SpecialCells(const Arguments& args, VARIANT* result) const {
        if (args.Long(0, 0) != kCellTypeVisible) throw HostError::ObjectDefined();
        const Worksheet& sheet = state_->book.sheets.at(range_.sheet);
        bool oneCell = range_.areas.size() == 1 && range_.areas.front().first == range_.areas.front().last;
        std::vector<Area> visible = sheet.VisibleAreas(oneCell ? std::vector<Area>{sheet.UsedArea()} : range_.areas);
        if (visible.empty()) throw HostError{1004, L"No cells were found."};
        ReturnObject(result, new RangeObject(state_, RangeRef{range_.sheet, std::move(visible)}));
    }

    // A single cell gives its value; a block gives a 2-D array of its first area.
    void ReturnValue(VARIANT* result) const {
        const Worksheet& sheet = state_->book.sheets.at(range_.sheet);
        const Area& area = range_.areas.front();
        if (area.first == area.last) return SetValue(result, sheet.At(area.first));
        SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(area.last.row - area.first.row + 1), 1},
                                    {static_cast<ULONG>(area.last.column - area.first.column + 1), 1}};
        SAFEARRAY* values = SafeArrayCreate(VT_VARIANT, 2, bounds);
        if (!values) throw std::bad_alloc();
        for (int row = area.first.row; row <= area.last.row; ++row)
            for (int column = area.first.column; column <= area.last.column; ++column) {
                LONG index[2] = {row - area.first.row + 1, column - area.first.column + 1};
                VARIANT cell;
                VariantInit(&cell);
                SetValue(&cell, sheet.At({row, column}));
                SafeArrayPutElement(values, index, &cell);
                VariantClear(&cell);
            }
        result->vt = VT_ARRAY | VT_VARIANT;
        result->parray = values;
    }

    IUnknown* Cells() const {
        auto state = state_;
        size_t sheet = range_.sheet;
        return new CellEnumerator(
            range_.areas,
            [state, sheet](const Cell& cell) -> IDispatch* {
                return new RangeObject(state, RangeRef{sheet, {Area{cell, cell}}});
            },
            [state] { return state->Admit(false); });
    }

    RangeRef range_;
};

class SheetObject final : public HostObject {
public:
    SheetObject(std::shared_ptr<HostState> state, size_t sheet) : HostObject(std::move(state)), sheet_(sheet) {}

protected:
    std::span<const Member> Members() const override {
        static constexpr Member members[] = {{L"Name", kName}, {L"UsedRange", kUsedRange}};
        return members;
    }

    void Call(DISPID id, WORD, const Arguments&, VARIANT* result) override {
        const Worksheet& sheet = state_->book.sheets.at(sheet_);
        if (id == kName) return ReturnText(result, sheet.name);
        ReturnObject(result, new RangeObject(state_, RangeRef{sheet_, {sheet.UsedArea()}}));
    }

private:
    size_t sheet_;
};

void RangeObject::Call(DISPID id, WORD, const Arguments& args, VARIANT* result) {
    switch (id) {
    case kAddress: ReturnText(result, FormatAddress(range_.areas)); break;
    case kSelectDispId:
        if (range_.sheet != state_->book.ActiveSheet()) throw HostError{1004, L"Select method of Range class failed"};
        state_->book.Select(range_);
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_TRUE;
        break;
    case DISPID_NEWENUM:
        result->vt = VT_UNKNOWN;
        result->punkVal = Cells();
        break;
    case kValue:
    case DISPID_VALUE: ReturnValue(result); break;
    case kWorksheet: ReturnObject(result, new SheetObject(state_, range_.sheet)); break;
    case kSpecialCells: SpecialCells(args, result); break;
    }
}

class WorkbookObject final : public HostObject {
public:
    using HostObject::HostObject;

protected:
    std::span<const Member> Members() const override {
        static constexpr Member members[] = {{L"Name", kName}};
        return members;
    }
    void Call(DISPID, WORD, const Arguments&, VARIANT* result) override { ReturnText(result, state_->book.name); }
};

// The cells two ranges share, area by area in the order of the first range;
// no area when they do not meet.
std::vector<Area> Overlap(const std::vector<Area>& first, const std::vector<Area>& second) {
    std::vector<Area> shared;
    for (const Area& a : first)
        for (const Area& b : second) {
            Area both{{std::max(a.first.row, b.first.row), std::max(a.first.column, b.first.column)},
                      {std::min(a.last.row, b.last.row), std::min(a.last.column, b.last.column)}};
            if (both.first.row <= both.last.row && both.first.column <= both.last.column) shared.push_back(both);
        }
    return shared;
}

class ApplicationObject final : public HostObject {
public:
    using HostObject::HostObject;

protected:
    std::span<const Member> Members() const override {
        static constexpr Member members[] = {
            {L"Name", kName},           {L"InputBox", kInputBox},   {L"Range", kRange},
            {L"Selection", kSelection}, {L"Intersect", kIntersect},
        };
        return members;
    }

    void Call(DISPID id, WORD, const Arguments& args, VARIANT* result) override {
        switch (id) {
        case kName: ReturnText(result, L"Vardolin stand-in host"); break;
        case kInputBox: InputBox(args, result); break;
        case kRange:
            if (args.Text(0).size() > kLongestRangeAddress)
                throw HostError{1004, L"Method 'Range' of object '_Global' failed"};
            ReturnObject(result, new RangeObject(state_, Resolve(args.Text(0))));
            break;
        case kSelection: ReturnObject(result, new RangeObject(state_, state_->book.Selection())); break;
        case kIntersect: Intersect(args, result); break;
        }
    }

private:
    RangeRef Resolve(const std::wstring& address) const {
        auto parsed = ParseAddress(address);
        if (!parsed) throw HostError::ObjectDefined();
        try {
            return {state_->book.SheetIndex(parsed->sheet), parsed->areas};
        } catch (const std::out_of_range&) {
            throw HostError::ObjectDefined();
        }
    }

    // A range argument of this host.
    static RangeRef RangeArgument(const Arguments& args, size_t index) {
        const VARIANT* v = args.Optional(index);
        if (!v || v->vt != VT_DISPATCH || !v->pdispVal) throw HostError{13, L"Type mismatch"};
        RangeObject* range = nullptr;
        if (FAILED(v->pdispVal->QueryInterface(kRangeObjectIid, reinterpret_cast<void**>(&range))))
            throw HostError{13, L"Type mismatch"};
        RangeRef ref = range->Ref();
        range->Release();
        return ref;
    }

    // Intersect(Arg1, Arg2, ...): the cells all ranges share, or Nothing.
    void Intersect(const Arguments& args, VARIANT* result) {
        if (args.Count() < 2) throw HostError{449, L"Argument not optional"};
        RangeRef shared = RangeArgument(args, 0);
        for (size_t i = 1; i < args.Count(); ++i) {
            if (!args.Optional(i)) continue;
            RangeRef next = RangeArgument(args, i);
            if (next.sheet != shared.sheet)
                throw HostError{1004, L"Method 'Intersect' of object '_Application' failed"};
            shared.areas = Overlap(shared.areas, next.areas);
        }
        if (shared.areas.empty()) return ReturnObject(result, nullptr);
        ReturnObject(result, new RangeObject(state_, std::move(shared)));
    }

    // Prompt, Title, Default, Left, Top, HelpFile, HelpContextID, Type.
    void InputBox(const Arguments& args, VARIANT* result) {
        std::wstring prompt = args.Text(0);
        std::wstring title = args.Optional(1) ? args.Text(1) : L"Input";
        long type = args.Long(7, 2);
        state_->inputBoxCalls.push_back({prompt, title, type});
        std::optional<std::wstring> answer;
        if (state_->answer) answer = state_->answer(prompt, title);
        if (!answer) {
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_FALSE;
        } else if (type == 8) {
            ReturnObject(result, new RangeObject(state_, Resolve(*answer)));
        } else {
            ReturnText(result, *answer);
        }
    }
};

}  // namespace

HRESULT HostState::Admit(bool lookupOnly) {
    ++calls;
    if (lookupOnly || refusalsLeft == 0) return S_OK;
    if (refusalsLeft != kRefuseAlways) --refusalsLeft;
    return refusal;
}

Host::Host(Workbook book) : state_(std::make_shared<HostState>()) {
    state_->book = std::move(book);
    application_ = vardolin::AdoptReference<IDispatch>(new ApplicationObject(state_));
}

void Host::RefuseCalls(int count, HRESULT refusal) {
    state_->refusalsLeft = count;
    state_->refusal = refusal;
}

ComPtr<IDispatch> Host::ActiveWorkbook() const {
    return vardolin::AdoptReference<IDispatch>(new WorkbookObject(state_));
}

ComPtr<IDispatch> Host::ActiveSheet() const {
    return vardolin::AdoptReference<IDispatch>(new SheetObject(state_, state_->book.ActiveSheet()));
}

}  // namespace vardolin::devhost
