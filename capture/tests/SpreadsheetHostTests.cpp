// The host calls of the roster import, made against the stand-in host.
#include "win/ComObject.h"
#include "win/ComponentError.h"
#include "devhost/Host.h"
#include "automation/SpreadsheetHost.h"

#include <gtest/gtest.h>

#include <dispex.h>

namespace vardolin::capture {
namespace {

class SpreadsheetHostTest : public ::testing::Test {
protected:
    SpreadsheetHostTest()
        : host_(devhost::Workbook::FromCsv("#sheet Names\n"
                                           "张三,李四\n"
                                           "1001,\" 王五 \"\n"
                                           ",   \n"
                                           "#sheet Other\n"
                                           "a,b\n"
                                           "c,d\n")),
          spreadsheet_(host_.Application().Get()) {}

    // The cell texts of the selection after the user picked `answer`.
    std::vector<std::wstring> PickAndRead(std::optional<std::wstring> answer) {
        host_.AnswerInputBox([answer](const std::wstring&, const std::wstring&) { return answer; });
        Variant picked = spreadsheet_.InputBox(L"prompt", L"title");
        spreadsheet_.Select(spreadsheet_.Range(spreadsheet_.Address(picked)).Get());
        std::vector<std::wstring> texts;
        spreadsheet_.ForEachCell(spreadsheet_.Selection().Get(), [&](const VARIANT& cell) {
            texts.push_back(spreadsheet_.CellText(cell));
            return true;
        });
        return texts;
    }

    devhost::Host host_;
    SpreadsheetHost spreadsheet_;
};

TEST_F(SpreadsheetHostTest, PickedCellsAreReadRowByRowAsText) {
    EXPECT_EQ(PickAndRead(L"A1:B3"), (std::vector<std::wstring>{L"张三", L"李四", L"1001", L" 王五 ", L"", L"   "}));
    ASSERT_EQ(host_.InputBoxCalls().size(), 1u);
    EXPECT_EQ(host_.InputBoxCalls()[0].type, 8);
    EXPECT_EQ(host_.InputBoxCalls()[0].title, L"title");
}

TEST_F(SpreadsheetHostTest, AreasAreReadOneAfterTheOther) {
    EXPECT_EQ(PickAndRead(L"B2,A1:B1"), (std::vector<std::wstring>{L" 王五 ", L"张三", L"李四"}));
}

TEST_F(SpreadsheetHostTest, AddressesCarryNoSheetName) {
    auto addressOf = [&](const wchar_t* answer) {
        host_.AnswerInputBox([answer](const std::wstring&, const std::wstring&) { return answer; });
        return spreadsheet_.Address(spreadsheet_.InputBox(L"p", L"t"));
    };
    EXPECT_EQ(addressOf(L"Other!a1:b2"), L"$A$1:$B$2");
    EXPECT_EQ(addressOf(L"C3"), L"$C$3");
    EXPECT_EQ(addressOf(L"B2:A1,D4"), L"$A$1:$B$2,$D$4");
}

TEST_F(SpreadsheetHostTest, CellsPickedOnAnotherSheetAreReadFromTheActiveOne) {
    EXPECT_EQ(PickAndRead(L"Other!A1:A2"), (std::vector<std::wstring>{L"张三", L"1001"}));
}

TEST_F(SpreadsheetHostTest, CancellingGivesNoRangeAndTheCallsFail) {
    host_.AnswerInputBox([](const std::wstring&, const std::wstring&) { return std::nullopt; });
    Variant answer = spreadsheet_.InputBox(L"prompt", L"title");
    EXPECT_EQ(answer.type(), VT_BOOL);
    EXPECT_EQ(answer.get().boolVal, VARIANT_FALSE);
    EXPECT_THROW(spreadsheet_.Address(answer), ComponentError);
}

TEST_F(SpreadsheetHostTest, HostErrorsArriveWithTheHostsNumber) {
    try {
        spreadsheet_.Range(L"not an address");
        FAIL() << "the host accepted a bad address";
    } catch (const ComponentError& e) {
        EXPECT_EQ(e.number(), 1004);
        EXPECT_FALSE(WideDescription(e).empty());
    }
}

// A script-style object: names resolve only through IDispatchEx.
// It lives on the test's stack: the references handed out all come back.
class ScriptObject final : public ComObject<ScriptObject, IDispatchEx> {
public:
    void* Interface(REFIID iid) noexcept {
        return iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IDispatchEx)
                   ? static_cast<IDispatchEx*>(this)
                   : nullptr;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID lcid, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id != 7) return DISP_E_MEMBERNOTFOUND;
        lastLocale = lcid;
        result->vt = VT_I4;
        result->lVal = 1001;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDispID(BSTR name, DWORD, DISPID* id) override {
        if (lstrcmpiW(name, L"Value") != 0) return DISP_E_UNKNOWNNAME;
        *id = 7;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InvokeEx(DISPID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                       IServiceProvider*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DeleteMemberByName(BSTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteMemberByDispID(DISPID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMemberProperties(DISPID, DWORD, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMemberName(DISPID, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNextDispID(DWORD, DISPID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNameSpaceParent(IUnknown**) override { return E_NOTIMPL; }

    LCID lastLocale = 0;
};

TEST(LateBinding, ScriptObjectsAreCalledThroughIDispatchExWithTheHostLocale) {
    ScriptObject cell;
    VARIANT v;
    v.vt = VT_DISPATCH;
    v.pdispVal = &cell;
    SpreadsheetHost host(nullptr);
    EXPECT_EQ(host.CellText(v), L"1001");
    EXPECT_EQ(cell.lastLocale, 1033u);
}

}  // namespace
}  // namespace vardolin::capture
