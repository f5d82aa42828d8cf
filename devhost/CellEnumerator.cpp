#include "CellEnumerator.h"

#include "DispatchBase.h"

#include <algorithm>
#include <new>

namespace vardolin::devhost {

HRESULT CellEnumerator::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumVARIANT) {
        *out = static_cast<IEnumVARIANT*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CellEnumerator::Release() {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT CellEnumerator::Next(ULONG wanted, VARIANT* out, ULONG* fetched) {
    if (!out) return E_POINTER;
    ULONG given = 0;
    for (; given < wanted && next_ < cells_.size(); ++given, ++next_) {
        VariantInit(&out[given]);
        cells_[next_]->AddRef();
        ReturnObject(&out[given], cells_[next_]);
    }
    if (fetched) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
}

HRESULT CellEnumerator::Skip(ULONG count) {
    next_ = std::min<size_t>(cells_.size(), next_ + count);
    return next_ < cells_.size() ? S_OK : S_FALSE;
}

HRESULT CellEnumerator::Reset() {
    next_ = 0;
    return S_OK;
}

HRESULT CellEnumerator::Clone(IEnumVARIANT** out) {
    if (!out) return E_POINTER;
    auto* copy = new (std::nothrow) CellEnumerator(cells_);
    if (!copy) return E_OUTOFMEMORY;
    for (IDispatch* cell : cells_) cell->AddRef();
    copy->next_ = next_;
    *out = copy;
    return S_OK;
}

CellEnumerator::~CellEnumerator() {
    for (IDispatch* cell : cells_) cell->Release();
}

}  // namespace vardolin::devhost
