#include "smarthome/gui/CWaitDlg.h"

#include "smarthome/gui/SmartHomeTexts.h"
#include "ui/DialogLook.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilo {

CWaitDlg::CWaitDlg(QWidget* parent, const QString& text, Timings timings)
    : QDialog(parent), m_timings(timings) {
    setProperty("templateId", kTemplateId);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QStringLiteral("请稍等……"));
    applyDialogLook(this);
    setFont(cjkFont(13));

    m_text = new QLabel(text, this);
    m_text->setProperty("ctrlId", kText);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setMinimumHeight(40);
    m_text->setFont(cjkFont(15, 600));
    m_bar = new QProgressBar(this);
    m_bar->setProperty("ctrlId", kProgress);
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    m_bar->setFixedHeight(16);
    m_stop = new QPushButton(QStringLiteral("强行中止"), this);
    m_stop->setProperty("ctrlId", kStopButton);
    m_stop->setAutoDefault(false);
    connect(m_stop, &QPushButton::clicked, this, &CWaitDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_stop);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 14);
    layout->setSpacing(12);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    setFixedWidth(360);
    setTextColour(hometext::kWaitText);

    connect(&m_progress, &QTimer::timeout, this,
            [this] { m_bar->setValue(m_bar->value() >= 100 ? 0 : m_bar->value() + 10); });
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        finish();
        emit timedOut();
        close();
    });
    m_closeTimer.setSingleShot(true);
    connect(&m_closeTimer, &QTimer::timeout, this, &QWidget::close);
    m_progress.start(m_timings.progressMs);
    m_timeout.start(m_timings.timeoutMs);
}

void CWaitDlg::setText(const QString& text) {
    m_text->setText(text);
}

QString CWaitDlg::text() const {
    return m_text->text();
}

void CWaitDlg::setTextColour(const QColor& colour) {
    m_colour = colour;
    QPalette pal = m_text->palette();
    pal.setColor(QPalette::WindowText, colour);
    m_text->setPalette(pal);
}

int CWaitDlg::progress() const {
    return m_bar->value();
}

void CWaitDlg::finish() {
    m_finishing = true;
    m_progress.stop();
    m_timeout.stop();
}

void CWaitDlg::closeAfter(int ms) {
    finish();
    if (ms <= 0) {
        close();
        return;
    }
    m_bar->setValue(100);
    m_closeTimer.start(ms);
}

void CWaitDlg::rearm() {
    if (m_finishing) {
        return; // already ending
    }
    m_progress.start(m_timings.progressMs);
    m_timeout.start(m_timings.rearmedTimeoutMs);
}

void CWaitDlg::reject() {
    // Escape, the stop button and the window's close stop the operation; a close
    // the operation asked for (closeAfter, time-out) only ends the dialog.
    if (!m_finishing) {
        finish();
        emit stopRequested();
    }
    m_closeTimer.stop();
    QDialog::reject();
    deleteLater(); // gone for good, however the dialog was ended
}

} // namespace quilo
