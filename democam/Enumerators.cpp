#include "democam/Enumerators.h"

#include "win/ComObject.h"
#include "democam/MediaType.h"

#include <wrl/client.h>

#include <algorithm>
#include <vector>

namespace vardolin::democam {
namespace {

using Microsoft::WRL::ComPtr;

HRESULT HandOut(const ComPtr<IPin>& pin, IPin** out) noexcept {
    *out = pin.Get();
    pin->AddRef();
    return S_OK;
}

HRESULT HandOut(const VideoFormat& format, AM_MEDIA_TYPE** out) noexcept { return NewMediaType(format, out); }

// Item is what the snapshot keeps, Element what Next hands out.
template <class Enum, class Item, class Element>
class Enumerator final : public vardolin::CountedComObject<Enumerator<Enum, Item, Element>, Enum> {
public:
    Enumerator(std::vector<Item> items, size_t next) : items_(std::move(items)), next_(next) {}

    void* Interface(REFIID iid) noexcept {
        return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Enum)) ? static_cast<Enum*>(this) : nullptr;
    }

    STDMETHODIMP Next(ULONG count, Element* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        ULONG done = 0;
        for (; done < count && next_ < items_.size(); ++done, ++next_) {
            if (FAILED(HandOut(items_[next_], &out[done]))) break;
        }
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
        return vardolin::CreateAndQuery<Enumerator>(__uuidof(Enum), reinterpret_cast<void**>(out), items_, next_);
    }

private:
    std::vector<Item> items_;
    size_t next_;
};

}  // namespace

HRESULT CreatePinEnumerator(std::span<IPin* const> pins, IEnumPins** out) noexcept {
    return vardolin::Guarded([&] {
        return vardolin::CreateAndQuery<Enumerator<IEnumPins, ComPtr<IPin>, IPin*>>(
            IID_IEnumPins, reinterpret_cast<void**>(out), std::vector<ComPtr<IPin>>(pins.begin(), pins.end()), 0);
    });
}

HRESULT CreateMediaTypeEnumerator(std::span<const VideoFormat> formats, IEnumMediaTypes** out) noexcept {
    return vardolin::Guarded([&] {
        return vardolin::CreateAndQuery<Enumerator<IEnumMediaTypes, VideoFormat, AM_MEDIA_TYPE*>>(
            IID_IEnumMediaTypes, reinterpret_cast<void**>(out),
            std::vector<VideoFormat>(formats.begin(), formats.end()), 0);
    });
}

}  // namespace vardolin::democam
