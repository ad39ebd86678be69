#pragma once

#include "device/Report.h"
#include "model/DspParams.h"

namespace quilo {

// Stores what a parameter reply (0x0A: [3] module, [4] parameter, words from
// [6]) says into its DspParams field, in display units. Modules and parameters
// we keep nothing of are ignored, and so is a word that is not a finite number:
// such a field keeps its value. Returns whether the parameter is one we keep.
bool decodeParamReply(const Report& report, DspParams& params);

} // namespace quilo
