#pragma once

#include <QString>

#include <optional>

namespace quilo {

// How the equaliser section writes band values into its list cells and edits.
QString gainText(double gainDb);   // "%+-.1fdB"
QString freqText(double freqHz);   // "%.0fHz"
QString freqTextWhole(int freqHz); // "%dHz", while a slider is dragged
QString qText(double q);           // "%.2f"

// The decimal number at the start of a text, as a C library reader takes it: leading blanks
// and a sign allowed, anything after the number (a unit) ignored. Nothing when the text does
// not start with a finite number.
std::optional<double> leadingNumber(const QString& text);

} // namespace quilo
