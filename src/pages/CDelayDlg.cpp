#include "pages/CDelayDlg.h"

#include "model/HfDelayBands.h"
#include "model/OutputDelay.h"
#include "pages/OutputChannelRow.h"
#include "pages/OutputChannelText.h"
#include "room/RoomText.h"
#include "ui/BiText.h"
#include "ui/ControlTag.h"
#include "ui/PageContext.h"
#include "ui/WheelForwarder.h"
#include "widgets/CDelayPanel.h"
#include "widgets/CXBmpSlider.h"
#include "widgets/SpinButtons.h"
#include "widgets/WidgetFonts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

namespace quilo {

namespace {

// The up-down counts tenths of a millisecond from the 1.5 ms minimum, so that a step up
// from 1.5 ms gives 1.6 ms.
constexpr int kSpinMin = 15;
constexpr int kSpinMax = 1000;

QString delayText(float ms) {
    return QString::asprintf("%.1fms", static_cast<double>(ms));
}

QString splitText(int index) {
    return QString::asprintf("%dHz", hfDelayLowHz(index));
}

int spinPosition(float ms) {
    return static_cast<int>(std::lround(ms * 10.0f));
}

// The Enter key released in a delay edit applies it (the key press is the edit's).
class EnterReleased : public QObject {
public:
    EnterReleased(QObject* parent, std::function<void()> apply)
        : QObject(parent), m_apply(std::move(apply)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
                !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
                m_apply();
                return true;
            }
        }
        return false;
    }

private:
    std::function<void()> m_apply;
};

} // namespace

CDelayDlg::CDelayDlg(PageContext& context, QWidget* parent) : Page(parent), m_context(context) {
    setFont(songFont(12));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 6, 8, 8);
    root->setSpacing(8);
    m_row = new OutputChannelRow(context, PageKind::Delay, this);
    root->addWidget(m_row);
    auto* body = new QHBoxLayout();
    body->setSpacing(12);
    root->addLayout(body, 1);
    body->addWidget(buildRows());

    m_panel = new CDelayPanel(this);
    tagControl(m_panel, kPanel);
    connect(m_panel, &CDelayPanel::delayLaneMoved, this, &CDelayDlg::onLaneMoved);
    body->addWidget(m_panel, 1);

    m_wheel = new WheelForwarder(*this);
    for (const Row& r : m_rows) {
        m_wheel->addTarget(r.slider);
        m_wheel->addTarget(r.edit);
    }
}

QWidget* CDelayDlg::buildRows() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    for (int k = 0; k < kChannels; ++k) {
        Row& r = m_rows[static_cast<std::size_t>(k)];
        r.label = new QLabel(outputChannelName(k, kEnglish), box);
        tagControl(r.label, kLabelIds[static_cast<std::size_t>(k)]);
        r.on = new QCheckBox(QStringLiteral("ON"), box);
        tagControl(r.on, kFirstOnBox + k);
        connect(r.on, &QCheckBox::clicked, this, [this, k](bool on) { onSwitch(k, on); });

        r.highFreq = new QRadioButton(QStringLiteral("High Freq"), box);
        tagControl(r.highFreq, kFirstRadio + 2 * k);
        r.channel = new QRadioButton(QStringLiteral("Channel"), box);
        tagControl(r.channel, kFirstRadio + 2 * k + 1);
        r.mode = new QButtonGroup(box);
        r.mode->addButton(r.highFreq, 0);
        r.mode->addButton(r.channel, 1);
        r.highFreq->setChecked(true);
        connect(r.mode, &QButtonGroup::idClicked, this, [this, k](int mode) { onMode(k, mode); });

        r.slider = new CXBmpSlider(box);
        r.slider->usePageStyle();
        r.slider->setFixedSize(120, 23);
        tagControl(r.slider, kSliderIds[static_cast<std::size_t>(k)]);
        r.slider->setRange(kHfDelayBandPairs - 1, 0);
        connect(r.slider, &CXBmpSlider::sliderChanged, this,
                [this, k](int, int index) { onSplit(k, index); });
        r.readout = new QLabel(splitText(0), box);
        tagControl(r.readout, kReadoutIds[static_cast<std::size_t>(k)]);
        r.readout->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("3000Hz")) + 4);

        r.edit = new QLineEdit(box);
        tagControl(r.edit, kFirstEdit + k);
        r.edit->setFixedWidth(70);
        r.edit->installEventFilter(new EnterReleased(r.edit, [this, k] { onEditEntered(k); }));
        r.spin = new SpinButtons(box);
        tagControl(r.spin, kFirstSpin + k);
        r.spin->setRange(kSpinMin, kSpinMax);
        r.spin->setPosition(1);
        r.spin->setFixedHeight(r.edit->sizeHint().height());
        r.spin->setBuddy(r.edit);
        connect(r.spin, &SpinButtons::stepped, this, [this, k](int delta) { onSpin(k, delta); });

        auto* editRow = new QHBoxLayout();
        editRow->setSpacing(0);
        editRow->addWidget(r.edit);
        editRow->addWidget(r.spin);
        int column = 0;
        grid->addWidget(r.label, k, column++);
        grid->addWidget(r.on, k, column++);
        grid->addWidget(r.highFreq, k, column++);
        grid->addWidget(r.channel, k, column++);
        grid->addWidget(r.slider, k, column++);
        grid->addWidget(r.readout, k, column++);
        grid->addLayout(editRow, k, column++);
        // The rows spread over the page's height, beside the panel's lanes.
        grid->setRowStretch(k, 1);
    }
    return box;
}

void CDelayDlg::refreshFromImage() {
    const DspParams& p = m_context.image().params;
    for (int k = 0; k < kChannels; ++k) {
        Row& r = m_rows[static_cast<std::size_t>(k)];
        const float d = p.outDelayMs[k];
        const float shown = m_panel->setLaneValue(k, d);
        r.spin->setPosition(spinPosition(std::isfinite(d) ? d : shown));
        r.edit->setText(delayText(std::isfinite(d) ? d : shown));
        const int index = hfDelayBandIndex(
            static_cast<std::int32_t>(m_context.bands().band(kFirstOutputEqId + k, 13).freqHz));
        r.slider->setPosition(index);
        r.readout->setText(splitText(index));
        r.on->setChecked(p.outDelayBypass[k] == 0);
        (p.outDelayMode[k] == 0 ? r.highFreq : r.channel)->setChecked(true);
        enableRow(k);
    }
}

void CDelayDlg::enableRow(int k) {
    Row& r = m_rows[static_cast<std::size_t>(k)];
    const bool on = r.on->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(r.highFreq), static_cast<QWidget*>(r.channel),
                       static_cast<QWidget*>(r.edit), static_cast<QWidget*>(r.spin),
                       static_cast<QWidget*>(r.label)}) {
        w->setEnabled(on);
    }
    const bool split = on && r.highFreq->isChecked();
    r.slider->setEnabled(split);
    r.readout->setEnabled(split);
}

void CDelayDlg::onSwitch(int k, bool checked) {
    m_context.setters().set(&DspParams::outDelayBypass, k, checked ? 0 : 1);
    enableRow(k);
}

void CDelayDlg::onMode(int k, int mode) {
    m_context.setters().set(&DspParams::outDelayMode, k, mode);
    enableRow(k);
}

void CDelayDlg::onSplit(int k, int index) {
    applyDelaySplit(m_context.bands(), k, index, false);
    m_rows[static_cast<std::size_t>(k)].readout->setText(splitText(index));
}

void CDelayDlg::setDelay(int k, double ms) {
    if (k < 0 || k >= kChannels) {
        return;
    }
    const float d = clampOutputDelay(ms);
    m_panel->setLaneValue(k, d);
    m_rows[static_cast<std::size_t>(k)].edit->setText(delayText(d));
    setOutputDelay(m_context.image(), m_context.setters(), k, d);
}

void CDelayDlg::onEditEntered(int k) {
    Row& r = m_rows[static_cast<std::size_t>(k)];
    const float d = clampOutputDelay(readPositionText(r.edit->text().toStdString()));
    r.edit->setFocus();
    setDelay(k, d);
    r.spin->setPosition(spinPosition(d));
}

void CDelayDlg::onSpin(int k, int delta) {
    SpinButtons& spin = *m_rows[static_cast<std::size_t>(k)].spin;
    const int position = std::clamp(spin.position() + delta, kSpinMin, kSpinMax);
    spin.setPosition(position);
    setDelay(k, position / 10.0);
}

void CDelayDlg::onLaneMoved(int k, float ms) {
    setDelay(k, ms);
    m_rows[static_cast<std::size_t>(k)].spin->setPosition(spinPosition(clampOutputDelay(ms)));
}

} // namespace quilo
