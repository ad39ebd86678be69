#pragma once

#include "model/CompressorControls.h"

#include <QObject>

#include <array>
#include <functional>

class QLabel;
class QWidget;

namespace quilo {

class CXBmpSlider;

// The four compressor sliders with their read-outs, as both the compressor page and the
// output page show them. The owner places them, and stores and sends what `changed` reports.
class CompressorSliders : public QObject {
    Q_OBJECT
public:
    // Control ids of the sliders and of the read-outs, in knob order.
    using Ids = std::array<int, kCompressorKnobs>;
    // `stored` gives the channel's values as the image holds them now.
    CompressorSliders(const Ids& sliderIds, const Ids& readoutIds,
                      std::function<CompressorSettings()> stored, QWidget* parent);

    CXBmpSlider& slider(CompressorKnob knob) const;
    QLabel& readout(CompressorKnob knob) const;
    // The slider or read-out with that control id, else null.
    CXBmpSlider* sliderWithId(int ctrlId) const;
    QLabel* readoutWithId(int ctrlId) const;

    // Sliders at the stored values (held in their ranges), read-outs the stored values.
    void show(const CompressorSettings& stored);

signals:
    // A slider moved: the stored values with the moved one replaced. Its read-out shows
    // the new value already.
    void changed(const CompressorSettings& settings);

private:
    void onMoved(int ctrlId, int position);

    Ids m_sliderIds;
    Ids m_readoutIds;
    std::function<CompressorSettings()> m_stored;
    std::array<CXBmpSlider*, kCompressorKnobs> m_sliders{};
    std::array<QLabel*, kCompressorKnobs> m_readouts{};
};

} // namespace quilo
