// An enumerator over the cells of a range: each item is a single-cell Range
// object, as the host's own For Each gives them, area by area and row by row.
// Cells are made as they are asked for, so a whole column costs nothing
// until it is read.
#pragma once

#include "devhost/CellAddress.h"
#include "win/ComObject.h"

#include <oaidl.h>

#include <functional>
#include <vector>

namespace vardolin::devhost {

class CellEnumerator final : public vardolin::ComObject<CellEnumerator, IEnumVARIANT> {
public:
    // Makes the object of one cell (with one reference for the caller).
    using MakeCell = std::function<IDispatch*(const Cell& cell)>;
    // Admits one call of Next: S_OK, or the HRESULT that refuses it.
    using Admit = std::function<HRESULT()>;

    CellEnumerator(std::vector<Area> areas, MakeCell makeCell, Admit admit);

    void* Interface(REFIID iid) noexcept {
        return iid == IID_IUnknown || iid == IID_IEnumVARIANT ? static_cast<IEnumVARIANT*>(this) : nullptr;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override;

private:
    friend class vardolin::ComObject<CellEnumerator, IEnumVARIANT>;  // deletes it
    ~CellEnumerator() = default;
    bool AtEnd() const noexcept { return area_ >= areas_.size(); }
    void Advance() noexcept;

    std::vector<Area> areas_;
    MakeCell makeCell_;
    Admit admit_;
    size_t area_ = 0;
    Cell at_{};
};

}  // namespace vardolin::devhost
