#pragma once

#include "widgets/BiText.h"

#include <QString>

namespace quilo::eqsection {

// Band type names by type code 0-5: the band list's type column and its drop-down.
inline constexpr BiText kTypeNames[6] = {
    {"关闭", "OFF"}, {"参量", "PEQ"}, {"低通", "LP"},
    {"高通", "HP"},  {"低架", "LS"},  {"高架", "HS"},
};
inline constexpr int kTypeNameCount = 6;

// Band list column titles after the band number column.
inline constexpr BiText kNumberColumn{"#", "#"};
inline constexpr BiText kTypeColumn{"类型", "Type"};
inline constexpr BiText kGainColumn{"增益", "Gain"};
inline constexpr BiText kFreqColumn{"频率", "Freq"};
inline constexpr BiText kQColumn{"Q值", "Q"};

// The name of a type code in a language; codes without a name show as their number.
inline QString typeName(int type, int language) {
    if (type >= 0 && type < kTypeNameCount)
        return kTypeNames[type].pick(language);
    return QString::number(type);
}

// The type code of a name of the language, -1 when the text is none of them (exact match).
inline int typeOfName(const QString& text, int language) {
    for (int t = 0; t < kTypeNameCount; ++t)
        if (text == kTypeNames[t].pick(language))
            return t;
    return -1;
}

} // namespace quilo::eqsection
