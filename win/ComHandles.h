// Owners for the handles the server passes around: each releases its
// resource on every path out of a scope.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <memory>
#include <type_traits>

namespace vardolin::server {

struct BstrFree {
    void operator()(BSTR text) const noexcept { SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFree>;

struct RegKeyClose {
    void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using UniqueHKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyClose>;

// A VARIANT that is cleared when it goes out of scope.
class ScopedVariant {
public:
    ScopedVariant() noexcept { VariantInit(&Value); }
    ~ScopedVariant() { VariantClear(&Value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    VARIANT* get() noexcept { return &Value; }
    const VARIANT& operator*() const noexcept { return Value; }

private:
    VARIANT Value;
};

}  // namespace vardolin::server
