// An enumerator over the cells of a range: each item is a single-cell Range
// object, as the host's own For Each gives them.
#pragma once

#include <oaidl.h>

#include <atomic>
#include <vector>

namespace vardolin::devhost {

class CellEnumerator final : public IEnumVARIANT {
public:
    // Takes over one reference to each cell.
    explicit CellEnumerator(std::vector<IDispatch*> cells) : cells_(std::move(cells)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override;

private:
    ~CellEnumerator();
    std::vector<IDispatch*> cells_;
    size_t next_ = 0;
    std::atomic<ULONG> references_{1};
};

}  // namespace vardolin::devhost
