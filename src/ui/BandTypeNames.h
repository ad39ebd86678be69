#pragma once

#include "ui/BiText.h"

#include <QString>

namespace quilo {

// Band type names by type code 0-5, as the band lists and the settings comparison show them.
inline constexpr BiText kBandTypeNames[6] = {
    {"关闭", "OFF"}, {"参量", "PEQ"}, {"低通", "LP"},
    {"高通", "HP"},  {"低架", "LS"},  {"高架", "HS"},
};
inline constexpr int kBandTypeNameCount = 6;

// The name of a type code in a language; codes without a name show as their number.
inline QString bandTypeName(int type, int language) {
    if (type >= 0 && type < kBandTypeNameCount)
        return kBandTypeNames[type].pick(language);
    return QString::number(type);
}

} // namespace quilo
