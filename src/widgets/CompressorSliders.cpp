#include "widgets/CompressorSliders.h"

#include "ui/ControlTag.h"
#include "widgets/CXBmpSlider.h"

#include <QLabel>

namespace quilo {

CompressorSliders::CompressorSliders(const Ids& sliderIds, const Ids& readoutIds,
                                     std::function<CompressorSettings()> stored, QWidget* parent)
    : QObject(parent), m_sliderIds(sliderIds), m_readoutIds(readoutIds),
      m_stored(std::move(stored)) {
    for (const CompressorKnob knob : kAllCompressorKnobs) {
        const auto i = static_cast<std::size_t>(knob);
        const CompressorSliderRange range = compressorSliderRange(knob);
        auto* s = new CXBmpSlider(parent);
        s->usePageStyle();
        s->setRange(range.maximum, range.minimum);
        s->setPosition(range.initial);
        tagControl(s, sliderIds[i]);
        connect(s, &CXBmpSlider::sliderChanged, this, &CompressorSliders::onMoved);
        auto* r = new QLabel(parent);
        r->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        r->setText(QString::fromStdString(
            compressorReadout(knob, compressorValueAt(knob, range.initial))));
        tagControl(r, readoutIds[i]);
        m_sliders[i] = s;
        m_readouts[i] = r;
    }
}

CXBmpSlider& CompressorSliders::slider(CompressorKnob knob) const {
    return *m_sliders[static_cast<std::size_t>(knob)];
}

QLabel& CompressorSliders::readout(CompressorKnob knob) const {
    return *m_readouts[static_cast<std::size_t>(knob)];
}

CXBmpSlider* CompressorSliders::sliderWithId(int ctrlId) const {
    for (std::size_t i = 0; i < m_sliderIds.size(); ++i) {
        if (m_sliderIds[i] == ctrlId) {
            return m_sliders[i];
        }
    }
    return nullptr;
}

QLabel* CompressorSliders::readoutWithId(int ctrlId) const {
    for (std::size_t i = 0; i < m_readoutIds.size(); ++i) {
        if (m_readoutIds[i] == ctrlId) {
            return m_readouts[i];
        }
    }
    return nullptr;
}

void CompressorSliders::show(const CompressorSettings& stored) {
    for (const CompressorKnob knob : kAllCompressorKnobs) {
        const float value = compressorValue(stored, knob);
        slider(knob).setPosition(compressorSliderPosition(knob, value));
        readout(knob).setText(QString::fromStdString(compressorReadout(knob, value)));
    }
}

void CompressorSliders::onMoved(int ctrlId, int position) {
    for (const CompressorKnob knob : kAllCompressorKnobs) {
        if (m_sliderIds[static_cast<std::size_t>(knob)] != ctrlId) {
            continue;
        }
        const CompressorSettings next = withCompressorKnob(m_stored(), knob, position);
        readout(knob).setText(
            QString::fromStdString(compressorReadout(knob, compressorValue(next, knob))));
        emit changed(next);
        return;
    }
}

} // namespace quilo
