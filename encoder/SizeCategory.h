// The size category of a coefficient or DC difference: the number of
// significant bits of its magnitude (0 for 0, 1 for +-1, 2 for +-2..3, ...).
#pragma once

#include <cstdint>

namespace vardolin {

inline int32_t Category(int32_t v) {
    uint32_t magnitude = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
    return magnitude == 0 ? 0 : 32 - __builtin_clz(magnitude);
}

}  // namespace vardolin
