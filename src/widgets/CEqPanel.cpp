#include "widgets/CEqPanel.h"

#include "widgets/EqPanelRenderer.h"
#include "widgets/EqTexts.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace quilo {

namespace {

EqKey translateKey(const QKeyEvent& event, int& digit) {
    const bool keypad = (event.modifiers() & Qt::KeypadModifier) != 0;
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        digit = key - Qt::Key_0;
        return EqKey::Digit;
    }
    switch (key) {
    case Qt::Key_PageUp:
        return EqKey::PageUp;
    case Qt::Key_PageDown:
        return EqKey::PageDown;
    case Qt::Key_End:
        return EqKey::End;
    case Qt::Key_Home:
        return EqKey::Home;
    case Qt::Key_Left:
        return EqKey::Left;
    case Qt::Key_Right:
        return EqKey::Right;
    case Qt::Key_Up:
        return EqKey::Up;
    case Qt::Key_Down:
        return EqKey::Down;
    case Qt::Key_Plus: // numpad +, or the = key with Shift
    case Qt::Key_Equal:
        return EqKey::QUp;
    case Qt::Key_Minus:
        return EqKey::QDown;
    case Qt::Key_Comma:
        return EqKey::Comma;
    case Qt::Key_Period:
        // The numpad's decimal point is not the period key.
        return keypad ? EqKey::Other : EqKey::Period;
    default:
        return EqKey::Other;
    }
}

} // namespace

CEqPanel::CEqPanel(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    relayout();
}

void CEqPanel::relayout() {
    m_plot = eqPlotRect(size());
    m_bands.setPlotSize(m_plot.width(), m_plot.height());
}

void CEqPanel::setBandCount(int n) {
    m_bands.setBandCount(n);
    update();
}

void CEqPanel::setBandType(int b, int type) {
    m_bands.setBandType(b, type);
    update();
}

void CEqPanel::setBandGain(int b, float gainDb) {
    m_bands.setBandGain(b, gainDb);
    update();
}

void CEqPanel::setBandQ(int b, float q) {
    m_bands.setBandQ(b, q);
    update();
}

void CEqPanel::setBandFrequency(int b, float freqHz) {
    m_bands.setBandFrequency(b, freqHz);
    update();
}

void CEqPanel::applyCrossoverFamily(int b, int family) {
    m_bands.applyCrossoverFamily(b, family);
    update();
}

void CEqPanel::computeBandCurve(int b) {
    m_bands.computeBandCurve(b);
    update();
}

void CEqPanel::setPanelId(int id) {
    m_bands.setPanelId(id);
    update();
}

void CEqPanel::setLanguage(int language) {
    m_language = language == 1 ? 1 : 0;
    update();
}

void CEqPanel::setSelectedBand(int b) {
    m_controller.setSelectedBand(b);
    update();
}

void CEqPanel::setBypass(bool on) {
    m_bypass = on;
    update();
}

void CEqPanel::setCurveColor(QColor colour) {
    m_curveColor = colour;
    update();
}

void CEqPanel::paintTo(QPainter& painter) {
    m_bands.updateHandles();
    EqPanelView view;
    view.bands = &m_bands;
    view.client = size();
    view.plot = m_plot;
    view.panelId = m_bands.panelId();
    view.selected = m_controller.selectedBand();
    view.hover = m_controller.hoverBand();
    view.language = m_language;
    view.bypass = m_bypass;
    view.curveColor = m_curveColor;
    paintEqPanel(painter, view);
}

void CEqPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTo(painter);
}

void CEqPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void CEqPanel::mousePressEvent(QMouseEvent* event) {
    const QPointF pt = event->position() - QPointF(kEqPlotLeft, kEqPlotTop);
    bool taken = false;
    if (event->button() == Qt::LeftButton) {
        taken = m_controller.leftPress(pt.x(), pt.y(), (event->buttons() & Qt::RightButton) != 0);
        if (taken)
            setFocus(Qt::MouseFocusReason);
    } else if (event->button() == Qt::RightButton) {
        taken = m_controller.rightPress(pt.x(), pt.y(), (event->buttons() & Qt::LeftButton) != 0);
    }
    if (taken)
        update();
}

void CEqPanel::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pt = event->position() - QPointF(kEqPlotLeft, kEqPlotTop);
    m_controller.move(pt.x(), pt.y());
    update();
}

void CEqPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_controller.leftRelease();
    } else if (event->button() == Qt::RightButton) {
        const EqMenu menu = m_controller.rightRelease();
        showMenu(menu, event->globalPosition().toPoint());
    }
    update();
}

void CEqPanel::wheelEvent(QWheelEvent* event) {
    const QPoint d = event->angleDelta();
    if (m_controller.wheel(d.y() != 0 ? d.y() : d.x())) {
        event->accept();
        update();
    } else {
        event->ignore();
    }
}

void CEqPanel::keyPressEvent(QKeyEvent* event) {
    int digit = 0;
    const EqKey key = translateKey(*event, digit);
    m_controller.key(key, digit, (event->modifiers() & Qt::ControlModifier) != 0);
    // Every key is the editor's while it has the focus, handled or not.
    event->accept();
    update();
}

void CEqPanel::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_controller.clearHover();
    update();
}

void CEqPanel::showMenu(EqMenu which, const QPoint& globalPos) {
    if (which == EqMenu::None)
        return;
    QMenu menu(this);
    auto add = [&](const QString& text, int command) { menu.addAction(text)->setData(command); };
    if (which == EqMenu::CopyPaste) {
        add(eqtext::kCopy.pick(m_language), kEqCmdCopy);
        add(eqtext::kPaste.pick(m_language), kEqCmdPaste);
    } else {
        for (int t = 1; t <= 5; ++t)
            add(eqtext::kTypes[t - 1].pick(m_language), kEqCmdTypeBase + t);
    }
    const int command = runMenu(menu, globalPos);
    if (command != 0)
        m_controller.menuCommand(command);
    update();
}

int CEqPanel::runMenu(QMenu& menu, const QPoint& globalPos) {
    const QAction* chosen = menu.exec(globalPos);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

void CEqPanel::onBandChanged(int b) {
    emit eqBandChanged(m_bands.band(b), b);
}

void CEqPanel::onBackgroundClicked() {
    emit eqBackgroundClicked();
}

void CEqPanel::onCopyPasteRequest(int command, int panelId) {
    emit eqCopyPasteRequest(command, panelId);
}

void CEqPanel::onBandPicked(int b) {
    emit eqBandPicked(m_bands.band(b), b);
}

} // namespace quilo
