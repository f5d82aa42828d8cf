// A COM enumerator (IEnumPins, IEnumMediaTypes, ...) over a snapshot of
// items taken when it is made. Next hands out each item through HandOut,
// `HRESULT HandOut(const Item&, Element*) noexcept`, which adds the reference
// or allocates the copy the caller then owns.
#pragma once

#include "win/ComObject.h"

#include <algorithm>
#include <vector>

namespace vardolin {

template <class Enum, class Item, class Element, auto HandOut>
class SnapshotEnumerator final : public CountedComObject<SnapshotEnumerator<Enum, Item, Element, HandOut>, Enum> {
public:
    SnapshotEnumerator(std::vector<Item> items, size_t next) : items_(std::move(items)), next_(next) {}

    void* Interface(REFIID iid) noexcept {
        return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Enum)) ? static_cast<Enum*>(this) : nullptr;
    }

    STDMETHODIMP Next(ULONG count, Element* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        ULONG done = 0;
        for (; done < count && next_ < items_.size(); ++done, ++next_)
            if (FAILED(HandOut(items_[next_], &out[done]))) break;
        if (fetched) *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        next_ = std::min<size_t>(items_.size(), next_ + count);
        return next_ < items_.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        next_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(Enum** out) override {
        return CreateAndQuery<SnapshotEnumerator>(__uuidof(Enum), reinterpret_cast<void**>(out), items_, next_);
    }

    // A new enumerator over items, from the first.
    static HRESULT Create(std::vector<Item> items, Enum** out) noexcept {
        return Guarded([&] {
            return CreateAndQuery<SnapshotEnumerator>(__uuidof(Enum), reinterpret_cast<void**>(out), std::move(items),
                                                      size_t{0});
        });
    }

private:
    std::vector<Item> items_;
    size_t next_;
};

// HandOut for interface pointers kept as ComPtr: the caller gets a reference.
template <class Pointer, class Interface>
HRESULT HandOutReference(const Pointer& item, Interface** out) noexcept {
    *out = item.Get();
    (*out)->AddRef();
    return S_OK;
}

}  // namespace vardolin
