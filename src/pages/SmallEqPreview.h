#pragma once

namespace quilo {

class BandOps;
class CSmallEqPanel;

// Loads the seven bands of equaliser `eqId` (reverb or echo) from the band store into a
// preview, with the types and limits the equaliser section loads them with.
void loadSmallPreview(CSmallEqPanel& panel, const BandOps& bands, int eqId);

} // namespace quilo
