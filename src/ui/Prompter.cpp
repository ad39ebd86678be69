#include "ui/Prompter.h"

#include "ui/CDlgMsgBox.h"
#include "ui/CInfoDlg.h"
#include "ui/DialogLook.h"
#include "ui/Texts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace quilo {

namespace {

QMessageBox::Icon boxIcon(Prompter::Icon icon) {
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Error:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// A message box in the program's look with button texts in the current language.
struct Box {
    QMessageBox box;
    Box(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text)
        : box(icon, caption, text, QMessageBox::NoButton, parent) {
        applyDialogLook(&box);
        box.setFont(cjkFont(13));
    }
    QPushButton* add(const BiText& label, QMessageBox::ButtonRole role, int language) {
        return box.addButton(label.pick(language), role);
    }
};

} // namespace

Prompter::~Prompter() {
    delete m_notice.data();
}

void Prompter::setWindow(QWidget* window) {
    m_window = window;
}

void Prompter::notice(const QString& text, int ms) {
    if (!m_notice) {
        m_notice = new CInfoDlg(m_window, language());
    }
    m_notice->showNotice(text, ms);
}

CInfoDlg* Prompter::noticeWindow() const {
    return m_notice.data();
}

void Prompter::relabelNotice(int language) {
    if (m_notice) {
        m_notice->setLanguage(language);
    }
}

void Prompter::message(QWidget* parent, Icon icon, const QString& caption, const QString& text) {
    Box b(parent, boxIcon(icon), caption, text);
    b.box.setDefaultButton(b.add(text::kOk, QMessageBox::AcceptRole, language()));
    b.box.exec();
}

bool Prompter::askYesNo(QWidget* parent, const QString& caption, const QString& text) {
    Box b(parent, QMessageBox::Question, caption, text);
    QPushButton* yes = b.add(text::kYes, QMessageBox::YesRole, language());
    QPushButton* no = b.add(text::kNo, QMessageBox::NoRole, language());
    b.box.setDefaultButton(yes);
    b.box.setEscapeButton(no);
    b.box.exec();
    return b.box.clickedButton() == yes;
}

Prompter::Answer Prompter::askYesNoCancel(QWidget* parent, const QString& caption,
                                          const QString& text) {
    Box b(parent, QMessageBox::Question, caption, text);
    QPushButton* yes = b.add(text::kYes, QMessageBox::YesRole, language());
    QPushButton* no = b.add(text::kNo, QMessageBox::NoRole, language());
    QPushButton* cancel = b.add(text::kCancel, QMessageBox::RejectRole, language());
    b.box.setDefaultButton(yes);
    b.box.setEscapeButton(cancel);
    b.box.exec();
    if (b.box.clickedButton() == yes) {
        return Answer::Yes;
    }
    return b.box.clickedButton() == no ? Answer::No : Answer::Cancel;
}

int Prompter::askChoice(QWidget* parent, const QString& message, const QString& first,
                        const QString& second) {
    CDlgMsgBox box(parent, message, first, second);
    box.applyLanguage(table());
    return box.exec();
}

QString Prompter::openFileName(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

QString Prompter::saveFileName(QWidget* parent, const QString& defaultName, const QString& suffix,
                               const QString& filter, bool askOverwrite) {
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !askOverwrite);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace quilo
