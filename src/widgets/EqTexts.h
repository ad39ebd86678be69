#pragma once

#include "ui/BiText.h"

#include <QString>

namespace quilo {

// Texts of the equaliser editors.
namespace eqtext {

inline constexpr BiText kCopy{"复制均衡", "Copy EQ"};
inline constexpr BiText kPaste{"粘贴均衡", "Paste EQ"};
// Type menu entries for types 1-5.
inline constexpr BiText kTypes[5] = {
    {"参量(PEQ)", "PEQ"}, {"低通(LP)", "LP"}, {"高通(HP)", "HP"},
    {"低架(LS)", "LS"},   {"高架(HS)", "HS"},
};
// printf formats of the selected band's line: band number, frequency, Q.
inline constexpr BiText kInfoLine{"EQ号=%d    频率=%.0fHz    Q值=%.2f     增益=",
                                  "Index=%d     Frequency=%.0fHz    Q=%.2f     Gain="};
inline constexpr const char* kBypass = "BYPASS";
inline constexpr const char* kPass = "PASS";

} // namespace eqtext

// Title of the editor for an equaliser id (0-14); empty for any other id.
QString eqPanelTitle(int panelId, int language);

} // namespace quilo
