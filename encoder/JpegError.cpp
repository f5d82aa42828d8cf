#include "JpegError.h"

#include <cmath>

namespace vardolin {

int32_t checked::RoundToInt32(double value) {
    double rounded = std::nearbyint(value);  // the default mode rounds halves to even
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw JpegError::Overflow();
    return static_cast<int32_t>(rounded);
}

}  // namespace vardolin
