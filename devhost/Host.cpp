#include "Host.h"

#include "CellEnumerator.h"
#include "DispatchBase.h"

#include <oleauto.h>

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
};

template <class T, class... Args>
IDispatch* NewObject(Args&&... args) {
    return new T(std::forward<Args>(args)...);
}

void SetValue(VARIANT* out, const CellValue& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        out->vt = VT_R8;
        out->dblVal = *number;
    } else if (const auto* text = std::get_if<std::wstring>(&value)) {
        ReturnText(out, *text);
    }
}

class RangeObject final : public DispatchBase {
public:
    RangeObject(std::shared_ptr<HostState> state, RangeRef range) : state_(std::move(state)), range_(std::move(range)) {}

protected:
    std::span<const Member> Members() const override {
        static constexpr Member members[] = {
            {L"Address", kAddress}, {L"Select", kSelectDispId}, {L"_NewEnum", DISPID_NEWENUM},
            {L"Value", kValue},     {L"_Default", DISPID_VALUE},
        };
        return members;
    }

    void Call(DISPID id, WORD, const Arguments&, VARIANT* result) override {
        switch (id) {
        case kAddress:
            ReturnText(result, FormatAddress(range_.areas));
            break;
        case kSelectDispId:
            if (range_.sheet != state_->book.ActiveSheet()) throw HostError{1004, L"Select method of Range class failed"};
            state_->book.Select(range_);
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_TRUE;
            break;
        case DISPID_NEWENUM:
            result->vt = VT_UNKNOWN;
            result->punkVal = new CellEnumerator(Cells());
            break;
        case kValue:
        case DISPID_VALUE:
            ReturnValue(result);
            break;
        }
    }

private:
    std::vector<IDispatch*> Cells() const {
        std::vector<IDispatch*> cells;
        for (const Area& area : range_.areas)
            for (int row = area.first.row; row <= area.last.row; ++row)
                for (int column = area.first.column; column <= area.last.column; ++column)
                    cells.push_back(NewObject<RangeObject>(state_, RangeRef{range_.sheet, {Area{{row, column}, {row, column}}}}));
        return cells;
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

    std::shared_ptr<HostState> state_;
    RangeRef range_;
};

class NamedObject final : public DispatchBase {
public:
    explicit NamedObject(std::wstring name) : name_(std::move(name)) {}

protected:
    std::span<const Member> Members() const override {
        static constexpr Member members[] = {{L"Name", kName}};
        return members;
    }
    void Call(DISPID, WORD, const Arguments&, VARIANT* result) override { ReturnText(result, name_); }

private:
    std::wstring name_;
};

class ApplicationObject final : public DispatchBase {
public:
    explicit ApplicationObject(std::shared_ptr<HostState> state) : state_(std::move(state)) {}

protected:
    std::span<const Member> Members() const override {
        static constexpr Member members[] = {
            {L"Name", kName}, {L"InputBox", kInputBox}, {L"Range", kRange}, {L"Selection", kSelection},
        };
        return members;
    }

    void Call(DISPID id, WORD, const Arguments& args, VARIANT* result) override {
        switch (id) {
        case kName:
            ReturnText(result, L"Vardolin stand-in host");
            break;
        case kInputBox:
            InputBox(args, result);
            break;
        case kRange:
            ReturnObject(result, NewObject<RangeObject>(state_, Resolve(args.Text(0))));
            break;
        case kSelection:
            ReturnObject(result, NewObject<RangeObject>(state_, state_->book.Selection()));
            break;
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
            ReturnObject(result, NewObject<RangeObject>(state_, Resolve(*answer)));
        } else {
            ReturnText(result, *answer);
        }
    }

    std::shared_ptr<HostState> state_;
};

}  // namespace

Host::Host(Workbook book) : state_(std::make_shared<HostState>()) {
    state_->book = std::move(book);
    application_.Attach(new ApplicationObject(state_));
}

ComPtr<IDispatch> Host::ActiveWorkbook() const {
    ComPtr<IDispatch> workbook;
    workbook.Attach(new NamedObject(state_->book.name));
    return workbook;
}

ComPtr<IDispatch> Host::ActiveSheet() const {
    ComPtr<IDispatch> sheet;
    sheet.Attach(new NamedObject(state_->book.sheets.at(state_->book.ActiveSheet()).name));
    return sheet;
}

}  // namespace vardolin::devhost
