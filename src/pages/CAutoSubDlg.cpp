#include "pages/CAutoSubDlg.h"

#include <algorithm>

namespace quilo {

CAutoSubDlg::CAutoSubDlg(PageContext& context, QWidget* parent)
    : SwitchedLevelWindow(context, kTemplate, 0, 100, parent) {}

bool CAutoSubDlg::isOn() const {
    return m_context.image().params.subDecayOn != 0;
}

void CAutoSubDlg::setOn(bool on) {
    m_context.setters().set(&DspParams::subDecayOn, on ? 1 : 0);
}

int CAutoSubDlg::levelPosition() const {
    return std::clamp(m_context.image().params.subDecayLevel, 0, 100);
}

QString CAutoSubDlg::levelText() const {
    return QStringLiteral("%1%").arg(m_context.image().params.subDecayLevel);
}

void CAutoSubDlg::setLevel(int position) {
    m_context.setters().set(&DspParams::subDecayLevel, position);
}

} // namespace quilo
