#include "pages/EqValueText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace quilo {

QString gainText(double gainDb) {
    // A gain that rounds to zero reads "+0.0dB", never "-0.0dB".
    if (std::fabs(gainDb) < 0.05)
        gainDb = 0.0;
    return QString::asprintf("%+-.1fdB", gainDb);
}

QString freqText(double freqHz) {
    return QString::asprintf("%.0fHz", freqHz);
}

QString freqTextWhole(int freqHz) {
    return QString::asprintf("%dHz", freqHz);
}

QString qText(double q) {
    return QString::asprintf("%.2f", q);
}

std::optional<double> leadingNumber(const QString& text) {
    const std::string s = text.trimmed().toStdString();
    const char* first = s.data();
    const char* last = s.data() + s.size();
    bool negative = false;
    if (first != last && (*first == '+' || *first == '-')) {
        negative = *first == '-';
        ++first;
    }
    // from_chars would also take "inf" and "nan"; only digits or a point may start a number.
    if (first == last || !(std::isdigit(static_cast<unsigned char>(*first)) || *first == '.'))
        return std::nullopt;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || end == first || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace quilo
