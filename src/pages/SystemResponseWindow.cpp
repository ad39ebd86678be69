#include "pages/SystemResponseWindow.h"

#include "dsp/ResponseFrequencies.h"
#include "model/AtomicWrite.h"
#include "ui/BiText.h"
#include "widgets/ResponsePlot.h"

#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quilo {

namespace {

constexpr BiText kListenerName{"听音位置", "Listener"};
constexpr BiText kNoSpeaker{"房间页上没有扬声器，未计入合成：",
                            "No loudspeaker on the room page, left out of the sum: "};
constexpr BiText kDelayNotModelled{"延时未计入", "delay not modelled"};
constexpr BiText kNothingTicked{"请勾选输出通道", "Tick the outputs to show"};
constexpr BiText kExportFailed{"无法写入文件", "The file could not be written"};
constexpr const char* kTextFilter = "Text (*.txt);;All files (*)";

QString channelName(int k) {
    return QStringLiteral("CH %1").arg(k + 1);
}

} // namespace

SystemResponseWindow::SystemResponseWindow(PageContext& context, QWidget* parent)
    : ContextToolWindow(context, kTemplate, parent) {
    auto* layout = new QVBoxLayout(this);
    auto* ticks = new QHBoxLayout;
    for (int k = 0; k < kOutputChannels; ++k) {
        QCheckBox* box = makeCheck(this, kFirstOutputBox + k, channelName(k));
        box->setChecked(true);
        box->setStyleSheet(
            QStringLiteral("QCheckBox { color: %1; }").arg(responseCurveColour(k).name()));
        m_outputs[static_cast<std::size_t>(k)] = box;
        ticks->addWidget(box);
    }
    m_listener = makeCheck(this, kListenerBox, QStringLiteral("Listener sum"));
    m_listener->setChecked(true);
    ticks->addWidget(m_listener);
    ticks->addStretch(1);
    layout->addLayout(ticks);

    auto* views = new QHBoxLayout;
    const std::array<ResponseView, 3> kinds{ResponseView::Magnitude, ResponseView::Phase,
                                            ResponseView::GroupDelay};
    for (std::size_t i = 0; i < m_views.size(); ++i) {
        auto* radio = new QRadioButton(this);
        tagControl(radio, kMagnitudeView + static_cast<int>(i));
        connect(radio, &QRadioButton::clicked, this, [this, view = kinds[i]] { setView(view); });
        m_views[i] = radio;
        views->addWidget(radio);
    }
    m_views[0]->setChecked(true);
    views->addStretch(1);
    m_export = new QPushButton(this);
    tagControl(m_export, kExportButton);
    connect(m_export, &QPushButton::clicked, this, &SystemResponseWindow::exportCurves);
    views->addWidget(m_export);
    layout->addLayout(views);

    m_plot = new ResponsePlot(this);
    layout->addWidget(m_plot, 1);
    m_notes = makeText(this, kNotes);
    m_notes->setWordWrap(true);
    layout->addWidget(m_notes);
    resize(1200, 700);

    m_watch = new QTimer(this);
    m_watch->setInterval(kWatchMs);
    connect(m_watch, &QTimer::timeout, this, &SystemResponseWindow::watchImage);
    m_watch->start();
}

QByteArray SystemResponseWindow::fingerprint() const {
    const DeviceImage& image = m_context.image();
    QByteArray bytes;
    bytes.append(reinterpret_cast<const char*>(&image.params), sizeof image.params);
    bytes.append(reinterpret_cast<const char*>(image.eqBands.data()),
                 static_cast<qsizetype>(image.eqBands.size()));
    bytes.append(reinterpret_cast<const char*>(image.roomGain.data()),
                 static_cast<qsizetype>(image.roomGain.size()));
    bytes.append(reinterpret_cast<const char*>(image.roomLayout.data()),
                 static_cast<qsizetype>(image.roomLayout.size()));
    return bytes;
}

void SystemResponseWindow::watchImage() {
    // A synchronisation run owns the image; it says so when it hands it back.
    if (m_context.image().mainThreadOwns() && fingerprint() != m_seen) {
        recompute();
    }
}

void SystemResponseWindow::refreshFromImage() {
    recompute();
}

void SystemResponseWindow::recompute() {
    if (!m_context.image().mainThreadOwns()) {
        return;
    }
    m_seen = fingerprint();
    static const std::vector<double> kFreqs = twentyFourthOctaveFrequencies();
    const SystemResponse system = computeSystemResponse(m_context.image(), kFreqs);
    std::array<bool, kOutputChannels> ticked{};
    for (std::size_t k = 0; k < ticked.size(); ++k) {
        ticked[k] = m_outputs[k]->isChecked();
    }
    ShownCurves shown = shownCurves(system, ticked, m_listener->isChecked());
    const int lang = m_context.language();
    std::vector<QColor> colours;
    QStringList names;
    for (const ShownCurve& c : shown.curves) {
        colours.push_back(responseCurveColour(c.source));
        names << (c.source == kListenerCurve ? kListenerName.pick(lang) : channelName(c.source));
    }

    QStringList notes;
    if (!shown.withoutSpeaker.empty()) {
        QStringList missing;
        for (const int k : shown.withoutSpeaker) {
            missing << channelName(k);
        }
        notes << kNoSpeaker.pick(lang) + missing.join(QStringLiteral(", "));
    }
    for (const int k : shown.delayNotModelled) {
        notes << channelName(k) + QStringLiteral(": ") + kDelayNotModelled.pick(lang);
    }
    m_notes->setText(notes.join(QStringLiteral("    ")));
    m_plot->setEmptyText(kNothingTicked.pick(lang));
    m_plot->setCurves(std::move(shown), std::move(colours), std::move(names));
}

void SystemResponseWindow::applyLanguage(int) {
    recompute();
}

void SystemResponseWindow::boxToggled(int, bool) {
    recompute();
}

void SystemResponseWindow::setView(ResponseView view) {
    m_views[static_cast<std::size_t>(view)]->setChecked(true);
    m_plot->setView(view);
}

QString SystemResponseWindow::notes() const {
    return m_notes->text();
}

std::string SystemResponseWindow::exportText() const {
    return exportCurvesText(m_plot->shown());
}

void SystemResponseWindow::exportCurves() {
    const QString path =
        m_context.prompter().saveFileName(this, QStringLiteral("response.txt"),
                                          QStringLiteral("txt"), QString::fromLatin1(kTextFilter));
    if (path.isEmpty()) {
        return;
    }
    const std::string text = exportText();
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    if (writeFileAtomically(QFile::encodeName(path).toStdString(), {data, text.size()})) {
        const int lang = m_context.language();
        m_context.prompter().message(this, Prompter::Icon::Warning, windowTitle(),
                                     kExportFailed.pick(lang) + QStringLiteral("\n") + path);
    }
}

} // namespace quilo
