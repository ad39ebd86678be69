#include "pages/CAutoMusicVolDlg.h"

#include <algorithm>
#include <cmath>

namespace quilo {

namespace {
constexpr int kMinimum = -180;
constexpr int kMaximum = -60;
// What the user sees is this much above the level the processor receives.
constexpr double kShownOffsetDb = 12.0;
} // namespace

CAutoMusicVolDlg::CAutoMusicVolDlg(PageContext& context, QWidget* parent)
    : SwitchedLevelWindow(context, kTemplate, kMinimum, kMaximum, parent) {}

bool CAutoMusicVolDlg::isOn() const {
    return m_context.image().params.musicAgcOn != 0;
}

void CAutoMusicVolDlg::setOn(bool on) {
    m_context.setters().set(&DspParams::musicAgcOn, on ? 1 : 0);
}

int CAutoMusicVolDlg::levelPosition() const {
    const double tenths = m_context.image().params.musicAgcLevel * 10.0;
    // A level that is no number shows at the bottom; a tenth is seldom exact in single
    // precision, hence the rounding.
    if (!(tenths >= kMinimum)) {
        return kMinimum;
    }
    return static_cast<int>(std::lround(std::min(tenths, double{kMaximum})));
}

QString CAutoMusicVolDlg::levelText() const {
    const double shown = m_context.image().params.musicAgcLevel + kShownOffsetDb;
    return QString::asprintf("%.1fdB", shown);
}

void CAutoMusicVolDlg::setLevel(int position) {
    m_context.setters().set(&DspParams::musicAgcLevel, position / 10.0);
}

} // namespace quilo
