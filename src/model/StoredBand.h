#pragma once

#include "dsp/Biquad.h"
#include "model/DeviceImage.h"
#include "model/EqBand.h"

namespace quilo {

// Band `band` of store module `module` as the store holds it; a zero band of type 0
// for one outside the store.
EqBand storedBand(const EqBandStore& store, int module, int band);

// The section the processor receives for a stored band (the record keeps whole hertz).
BiquadCoefficients designBand(const EqBand& band);

} // namespace quilo
