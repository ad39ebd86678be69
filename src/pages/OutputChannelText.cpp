#include "pages/OutputChannelText.h"

#include "widgets/BiText.h"

#include <QComboBox>

namespace quilo {

QString outputChannelName(int channel, int language) {
    return (language == kEnglish ? QStringLiteral("CH %1") : QStringLiteral("通道%1"))
        .arg(channel + 1);
}

QString outputLocationName(int code, int language) {
    static constexpr BiText kNames[8] = {
        {"前置左", "CH-L"}, {"前置右", "CH-R"}, {"后环绕左", "CH-SBL"}, {"后环绕右", "CH-SBR"},
        {"超低", "CH-SUB"}, {"中置", "CH-CEN"}, {"侧环绕左", "CH-SL"},  {"侧环绕右", "CH-SR"}};
    if (code < 0 || code >= 8) {
        return QString::number(code);
    }
    return kNames[code].pick(language);
}

void fillChannelList(QComboBox& list, int language) {
    const int selected = std::max(0, list.currentIndex());
    list.clear();
    for (int ch = 0; ch < 8; ++ch) {
        list.addItem(outputChannelName(ch, language));
    }
    list.setCurrentIndex(selected);
}

} // namespace quilo
