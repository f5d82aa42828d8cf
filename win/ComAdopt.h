// Taking over a COM reference the caller already owns: the first reference of
// a new object, or an interface an API returned.
#pragma once

#include <wrl/client.h>

namespace vardolin {

// Microsoft's ComPtr::Attach takes the reference over; mingw-w64's Attach adds
// one of its own, so an attached new object would never be freed. This adopts
// the reference on every toolchain.
template <class T>
Microsoft::WRL::ComPtr<T> AdoptReference(T* owned) noexcept {
    Microsoft::WRL::ComPtr<T> pointer;
    *pointer.GetAddressOf() = owned;
    return pointer;
}

}  // namespace vardolin
