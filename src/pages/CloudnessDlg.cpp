#include "pages/CloudnessDlg.h"

#include "dsp/Biquad.h"
#include "widgets/CXBmpSlider.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <map>

namespace quilo {

namespace {

constexpr int kMicBoostGroup = 1005;
constexpr int kMusicGroup = 1007;
constexpr int kSubDecayGroup = 1013;
constexpr int kCompressorGroup = 1018;
constexpr int kAgcGroup = 1012; // edited in its own window; kept hidden here
constexpr int kSubDecayExplanation = 1021;
constexpr float kLowPassQ = 0.707f;
constexpr int kLevelIntervalMs = 300;
constexpr std::size_t kMusicLevelByte = 6;

DspParams& params(PageContext& c) {
    return c.image().params;
}

QString whole(double v, const char* unit) {
    return QString::number(static_cast<int>(v)) + QLatin1String(unit);
}

} // namespace

const std::array<CloudnessDlg::Knob, 10> CloudnessDlg::kKnobs{{
    {kMicBoostGroup, 0, 1043, 1006, 0, 40,
     // The boost is stored as the negated dB of the slider.
     [](PageContext& c) {
         return std::trunc(-static_cast<double>(micBoostDb(c.image().micBoost)));
     },
     [](double v) { return whole(v, "dB"); },
     [](PageContext& c, int v) { c.setters().setMicBoost(static_cast<float>(-v)); }},
    {kMusicGroup, 1002, 1046, 1008, 20, 300,
     [](PageContext& c) {
         return static_cast<double>(c.bands().readBand(kBoostBandModule, 0).freqHz);
     },
     [](double v) { return QString::asprintf("%.0fHz", v); },
     [](PageContext& c, int v) {
         c.bands().applyBoostBand(static_cast<int>(FilterType::LowPass), 0.0f,
                                  static_cast<float>(v), kLowPassQ);
     }},
    {kMusicGroup, 1003, 1047, 1004, 0, 20,
     [](PageContext& c) { return static_cast<double>(params(c).boostLpfDelayMs); },
     [](double v) { return whole(v, "ms"); },
     [](PageContext& c, int v) { c.setters().set(&DspParams::boostLpfDelayMs, v); }},
    {kMusicGroup, 1131, 1048, 1009, 0, 300,
     [](PageContext& c) { return static_cast<double>(params(c).boostLpfGain); },
     [](double v) { return whole(v, "%"); },
     [](PageContext& c, int v) { c.setters().set(&DspParams::boostLpfGain, v); }},
    {kSubDecayGroup, 1133, 1050, 1011, 0, 100,
     [](PageContext& c) { return static_cast<double>(params(c).subDecayLevel); },
     [](double v) { return whole(v, "%"); },
     [](PageContext& c, int v) { c.setters().set(&DspParams::subDecayLevel, v); }},
    {kCompressorGroup, 1134, 1051, 1014, -60, 0,
     [](PageContext& c) { return static_cast<double>(params(c).musicCompThreshold); },
     [](double v) { return QString::asprintf("%.0fdB", v); },
     [](PageContext& c, int v) { c.setters().set(&DspParams::musicCompThreshold, v); }},
    {kCompressorGroup, 1135, 1052, 1015, 10, 300,
     [](PageContext& c) { return params(c).musicCompRatio * 10.0; },
     [](double v) { return QString::asprintf("%.1f:1", v / 10.0); },
     [](PageContext& c, int v) { c.setters().set(&DspParams::musicCompRatio, v / 10.0); }},
    {kCompressorGroup, 1136, 1053, 1016, 1, 100,
     [](PageContext& c) { return static_cast<double>(params(c).musicCompAttackMs); },
     [](double v) { return QString::asprintf("%.0fms", v); },
     [](PageContext& c, int v) { c.setters().set(&DspParams::musicCompAttackMs, v); }},
    {kCompressorGroup, 1137, 1054, 1017, 1, 1000,
     [](PageContext& c) { return static_cast<double>(params(c).musicCompReleaseMs); },
     [](double v) { return QString::asprintf("%.0fms", v); },
     [](PageContext& c, int v) { c.setters().set(&DspParams::musicCompReleaseMs, v); }},
    {kAgcGroup, 1132, 1049, 1010, -500, 0,
     [](PageContext& c) { return params(c).musicAgcLevel * 10.0; },
     [](double v) { return QString::asprintf("%.1fdB", v / 10.0); },
     [](PageContext& c, int v) { c.setters().set(&DspParams::musicAgcLevel, v / 10.0); }},
}};

const std::array<CloudnessDlg::Switch, 4> CloudnessDlg::kSwitches{{
    {kMicBoostGroup, 1040, "ON ", [](PageContext& c) { return params(c).micBoostOn != 0; },
     [](PageContext& c, bool on) { c.setters().set(&DspParams::micBoostOn, on ? 1 : 0); }},
    {kSubDecayGroup, 1042, "ON", [](PageContext& c) { return params(c).subDecayOn != 0; },
     [](PageContext& c, bool on) { c.setters().set(&DspParams::subDecayOn, on ? 1 : 0); }},
    // The compressor's field is a bypass: checked "ON" stores 0.
    {kCompressorGroup, 1044, "ON", [](PageContext& c) { return params(c).musicCompBypass == 0; },
     [](PageContext& c, bool on) { c.setters().set(&DspParams::musicCompBypass, on ? 0 : 1); }},
    {kAgcGroup, 1041, "ON", [](PageContext& c) { return params(c).musicAgcOn != 0; },
     [](PageContext& c, bool on) { c.setters().set(&DspParams::musicAgcOn, on ? 1 : 0); }},
}};

CloudnessDlg::CloudnessDlg(PageContext& context, QWidget* parent)
    : ContextToolWindow(context, kTemplate, parent) {
    setWindowTitle(QStringLiteral("Features"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(8);

    std::map<int, QGridLayout*> groups;
    const auto groupLayout = [&](int id) {
        QGridLayout*& grid = groups[id];
        if (grid == nullptr) {
            auto* box = new QGroupBox(this);
            tagControl(box, id);
            grid = new QGridLayout(box);
            grid->setColumnStretch(1, 1);
            grid->setHorizontalSpacing(8);
        }
        return grid;
    };
    for (const Switch& s : kSwitches) {
        QGridLayout* grid = groupLayout(s.group);
        grid->addWidget(makeCheck(grid->parentWidget(), s.box, QString::fromLatin1(s.name)),
                        grid->rowCount(), 0, 1, 3);
    }
    for (const Knob& k : kKnobs) {
        QGridLayout* grid = groupLayout(k.group);
        QWidget* box = grid->parentWidget();
        const int row = grid->rowCount();
        if (k.caption != 0) {
            grid->addWidget(makeText(box, k.caption), row, 0);
        }
        grid->addWidget(makeSlider(box, k.slider, k.minimum, k.maximum), row, 1);
        auto* text = makeText(box, k.text);
        text->setMinimumWidth(text->fontMetrics().horizontalAdvance(QStringLiteral("1000ms")) + 4);
        grid->addWidget(text, row, 2);
    }
    {
        QGridLayout* grid = groupLayout(kSubDecayGroup);
        auto* explanation = makeText(grid->parentWidget(), kSubDecayExplanation);
        explanation->setWordWrap(true);
        grid->addWidget(explanation, grid->rowCount(), 0, 1, 3);
        QGridLayout* agc = groupLayout(kAgcGroup);
        for (int id : {1020, 1022, kMusicLevelText}) {
            agc->addWidget(makeText(agc->parentWidget(), id), agc->rowCount(), 0);
        }
        agc->parentWidget()->hide();
    }
    layout->addWidget(groups[kMicBoostGroup]->parentWidget(), 0, 0);
    layout->addWidget(groups[kMusicGroup]->parentWidget(), 1, 0);
    layout->addWidget(groups[kSubDecayGroup]->parentWidget(), 0, 1);
    layout->addWidget(groups[kCompressorGroup]->parentWidget(), 1, 1);
    layout->setColumnMinimumWidth(0, 330);
    layout->setColumnMinimumWidth(1, 330);

    connect(&m_levelTimer, &QTimer::timeout, this, &CloudnessDlg::showMusicLevel);
    m_levelTimer.start(kLevelIntervalMs);
}

void CloudnessDlg::refreshFromImage() {
    for (const Knob& k : kKnobs) {
        const double v = k.stored(m_context);
        // Clamp in double: a stored value may be far outside the slider or no number.
        const double inRange =
            std::isnan(v) ? k.minimum : std::clamp<double>(v, k.minimum, k.maximum);
        control<CXBmpSlider>(k.slider).setPosition(static_cast<int>(std::lround(inRange)));
        control<QLabel>(k.text).setText(k.format(v));
    }
    for (const Switch& s : kSwitches) {
        control<QCheckBox>(s.box).setChecked(s.stored(m_context));
    }
    showMusicLevel();
}

void CloudnessDlg::sliderMoved(int ctrlId, int position) {
    for (const Knob& k : kKnobs) {
        if (k.slider == ctrlId) {
            k.store(m_context, position);
            control<QLabel>(k.text).setText(k.format(position));
        }
    }
}

void CloudnessDlg::boxToggled(int ctrlId, bool checked) {
    for (const Switch& s : kSwitches) {
        if (s.box == ctrlId) {
            s.store(m_context, checked);
        }
    }
}

// The level byte is signed: -10 dB arrives as F6.
void CloudnessDlg::showMusicLevel() {
    const LiveStatusBytes status = m_context.image().liveStatus.load();
    control<QLabel>(kMusicLevelText)
        .setText(QStringLiteral("%1dB").arg(static_cast<std::int8_t>(status[kMusicLevelByte])));
}

} // namespace quilo
