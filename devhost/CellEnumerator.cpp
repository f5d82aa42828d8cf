#include "devhost/CellEnumerator.h"

#include "devhost/DispatchBase.h"

#include <new>

namespace vardolin::devhost {

CellEnumerator::CellEnumerator(std::vector<Area> areas, MakeCell makeCell, Admit admit)
    : areas_(std::move(areas)), makeCell_(std::move(makeCell)), admit_(std::move(admit)) {
    Reset();
}

void CellEnumerator::Advance() noexcept {
    const Area& area = areas_[area_];
    if (++at_.column <= area.last.column) return;
    at_.column = area.first.column;
    if (++at_.row <= area.last.row) return;
    if (++area_ < areas_.size()) at_ = areas_[area_].first;
}

HRESULT CellEnumerator::Next(ULONG wanted, VARIANT* out, ULONG* fetched) {
    if (!out) return E_POINTER;
    if (fetched) *fetched = 0;
    if (HRESULT refused = admit_(); FAILED(refused)) return refused;
    ULONG given = 0;
    try {
        for (; given < wanted && !AtEnd(); ++given, Advance()) {
            VariantInit(&out[given]);
            ReturnObject(&out[given], makeCell_(at_));
        }
    } catch (const std::bad_alloc&) {
        for (ULONG i = 0; i < given; ++i) VariantClear(&out[i]);
        return E_OUTOFMEMORY;
    }
    if (fetched) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
}

HRESULT CellEnumerator::Skip(ULONG count) {
    for (; count > 0 && !AtEnd(); --count) Advance();
    return count == 0 ? S_OK : S_FALSE;
}

HRESULT CellEnumerator::Reset() {
    area_ = 0;
    if (!areas_.empty()) at_ = areas_.front().first;
    return S_OK;
}

HRESULT CellEnumerator::Clone(IEnumVARIANT** out) {
    if (!out) return E_POINTER;
    auto* copy = new (std::nothrow) CellEnumerator(areas_, makeCell_, admit_);
    if (!copy) return E_OUTOFMEMORY;
    copy->area_ = area_;
    copy->at_ = at_;
    *out = copy;
    return S_OK;
}

}  // namespace vardolin::devhost
