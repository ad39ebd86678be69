#include "pages/OutputChannelText.h"

#include "ui/BiText.h"

#include <QComboBox>

namespace quilo {

QString outputChannelName(int channel, int language) {
    return (language == kEnglish ? QStringLiteral("CH %1") : QStringLiteral("通道%1"))
        .arg(channel + 1);
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
