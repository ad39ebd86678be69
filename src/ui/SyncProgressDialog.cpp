#include "ui/SyncProgressDialog.h"

#include "ui/DialogLook.h"
#include "ui/Texts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace quilo {

SyncProgressDialog::SyncProgressDialog(QWidget* parent, int language, const QString& text,
                                       int timeoutMs)
    : QDialog(parent) {
    setProperty("templateId", kTemplateId);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    // Only the synchronisation ends this dialog.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(text::kSyncTitle.pick(language));
    applyDialogLook(this);
    setFont(cjkFont(13));
    setCursor(Qt::WaitCursor);

    m_text = new QLabel(text.isEmpty() ? text::kSyncDefault.pick(language) : text, this);
    m_text->setWordWrap(true);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 0); // marquee
    m_bar->setTextVisible(false);
    m_bar->setFixedHeight(18);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 18);
    layout->setSpacing(12);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    setFixedWidth(380);

    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        close();
        emit timedOut();
    });
    if (timeoutMs > 0) {
        m_timeout.start(timeoutMs);
    }
}

void SyncProgressDialog::finish() {
    m_timeout.stop();
    close();
}

QString SyncProgressDialog::text() const {
    return m_text->text();
}

void SyncProgressDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept(); // Escape must not end a running synchronisation's dialog
        return;
    }
    QDialog::keyPressEvent(event);
}

void SyncProgressDialog::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        event->ignore(); // the window manager's close: the synchronisation decides
        return;
    }
    m_timeout.stop();
    QDialog::closeEvent(event);
}

} // namespace quilo
