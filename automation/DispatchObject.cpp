#include "automation/DispatchObject.h"

#include "win/AutomationError.h"
#include "win/ModuleInstance.h"

using Microsoft::WRL::ComPtr;

namespace vardolin {

HRESULT LoadOwnTypeInfo(REFIID iid, ITypeInfo** info) noexcept {
    return Guarded([&] {
        ComPtr<ITypeLib> library;
        HRESULT hr = LoadTypeLibEx(vardolin::ModulePath().c_str(), REGKIND_NONE, &library);
        return FAILED(hr) ? hr : library->GetTypeInfoOfGuid(iid, info);
    });
}

void FillExcepInfo(HRESULT hr, EXCEPINFO& excepInfo) noexcept {
    excepInfo = EXCEPINFO{};
    excepInfo.scode = hr;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, &info) == S_OK) info->GetDescription(&excepInfo.bstrDescription);
}

}  // namespace vardolin
