#include "widgets/EqTexts.h"

namespace quilo {

namespace {

constexpr BiText kTitles[7] = {
    {"话筒A均衡", "Mic A EQ"},    {"话筒B均衡", "Mic B EQ"},  {"混响A均衡", "Reverb A EQ"},
    {"混响B均衡", "Reverb B EQ"}, {"回声A均衡", "Echo A EQ"}, {"回声B均衡", "Echo B EQ"},
    {"音乐均衡", "Music EQ"},
};

constexpr int kFirstOutput = 7;
constexpr int kLastOutput = 14;

} // namespace

QString eqPanelTitle(int panelId, int language) {
    if (panelId >= 0 && panelId < kFirstOutput)
        return kTitles[panelId].pick(language);
    if (panelId >= kFirstOutput && panelId <= kLastOutput) {
        const int channel = panelId - kFirstOutput + 1;
        return language == 1 ? QStringLiteral("CH%1 EQ").arg(channel)
                             : QString::fromUtf8("通道%1均衡").arg(channel);
    }
    return {};
}

} // namespace quilo
