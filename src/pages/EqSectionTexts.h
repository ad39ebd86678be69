#pragma once

#include "ui/BandTypeNames.h"
#include "ui/BiText.h"

#include <QString>

namespace quilo::eqsection {

// Band type names by type code 0-5: the band list's type column and its drop-down.
inline constexpr const BiText (&kTypeNames)[6] = kBandTypeNames;
inline constexpr int kTypeNameCount = kBandTypeNameCount;

// Band list column titles after the band number column.
inline constexpr BiText kNumberColumn{"#", "#"};
inline constexpr BiText kTypeColumn{"类型", "Type"};
inline constexpr BiText kGainColumn{"增益", "Gain"};
inline constexpr BiText kFreqColumn{"频率", "Freq"};
inline constexpr BiText kQColumn{"Q值", "Q"};

inline QString typeName(int type, int language) {
    return bandTypeName(type, language);
}

// The type code of a name of the language, -1 when the text is none of them (exact match).
inline int typeOfName(const QString& text, int language) {
    for (int t = 0; t < kTypeNameCount; ++t)
        if (text == kTypeNames[t].pick(language))
            return t;
    return -1;
}

} // namespace quilo::eqsection
