#pragma once

#include "pages/ContextToolWindow.h"
#include "room/ResponseCurveSet.h"

#include <QByteArray>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace quilo {

class ResponsePlot;

// "System response": every ticked output's response and their sum at the listener in one
// plot, as magnitude, phase or group delay, redrawn while any output is edited. The
// curves come from the image (SystemResponse); the plot draws them (ResponsePlot).
class SystemResponseWindow : public ContextToolWindow {
    Q_OBJECT
public:
    static constexpr int kTemplate = 601;
    static constexpr int kFirstOutputBox = 1001; // 1001-1008: CH 1-8
    static constexpr int kListenerBox = 1009;
    static constexpr int kMagnitudeView = 1010;
    static constexpr int kPhaseView = 1011;
    static constexpr int kGroupDelayView = 1012;
    static constexpr int kExportButton = 1013;
    static constexpr int kNotes = 1014;
    // How often the image is looked at for edits made elsewhere.
    static constexpr int kWatchMs = 100;

    SystemResponseWindow(PageContext& context, QWidget* parent = nullptr);

    void refreshFromImage() override;
    void applyLanguage(int language) override;

    ResponsePlot& plot() { return *m_plot; }
    QString notes() const;
    // The curves as Export… writes them.
    std::string exportText() const;
    void setView(ResponseView view);

protected:
    void boxToggled(int ctrlId, bool checked) override;

private:
    // Recomputes when the parts of the image the response depends on changed.
    void watchImage();
    void recompute();
    void exportCurves();
    QByteArray fingerprint() const;

    ResponsePlot* m_plot = nullptr;
    std::array<QCheckBox*, kOutputChannels> m_outputs{};
    QCheckBox* m_listener = nullptr;
    std::array<QRadioButton*, 3> m_views{};
    QPushButton* m_export = nullptr;
    QLabel* m_notes = nullptr;
    QTimer* m_watch = nullptr;
    QByteArray m_seen;
};

} // namespace quilo
