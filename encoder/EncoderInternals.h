// The stages' view of an encoder's state, for the benchmark that times the
// stages one by one.
#pragma once

#include "ClsJPEG.h"

namespace vardolin {

struct EncoderInternals {
    static EncoderState& State(ClsJPEG& encoder) { return encoder.State; }
};

}  // namespace vardolin
