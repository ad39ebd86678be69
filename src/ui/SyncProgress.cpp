#include "ui/SyncProgress.h"

#include "ui/Language.h"
#include "ui/Prompter.h"
#include "ui/SyncProgressDialog.h"
#include "ui/Texts.h"

namespace quilo {

SyncProgress::SyncProgress(Language& language, Prompter& prompter, int timeoutMs)
    : m_language(language), m_prompter(prompter), m_timeoutMs(timeoutMs) {}

SyncProgress::~SyncProgress() {
    delete m_dialog.data();
}

void SyncProgress::show(const QString& text, bool timed) {
    if (m_dialog) {
        m_dialog->raise();
        return;
    }
    m_dialog = new SyncProgressDialog(m_window, m_language.index(), text, timed ? m_timeoutMs : 0);
    connect(m_dialog, &SyncProgressDialog::timedOut, this, [this] {
        const int lang = m_language.index();
        m_prompter.message(m_window, Prompter::Icon::Error, text::kError.pick(lang),
                           text::kSyncTimeout.pick(lang));
        emit timedOut();
    });
    m_dialog->show();
}

void SyncProgress::setWindow(QWidget* window) {
    m_window = window;
}

SyncProgressDialog* SyncProgress::dialog() const {
    return m_dialog.data();
}

void SyncProgress::close() {
    if (m_dialog) {
        SyncProgressDialog* dialog = m_dialog;
        m_dialog = nullptr;
        dialog->finish();
    }
}

} // namespace quilo
