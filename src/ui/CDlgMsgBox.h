#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quilo {

class LanguageTable;

// The choice box (template 513): a message, two choices one above the other and
// a cancel button below them. exec() returns 1 or 2 for the choices and 0 for
// cancel, the close box or Escape.
class CDlgMsgBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 513;

    CDlgMsgBox(QWidget* parent, const QString& message, const QString& first,
               const QString& second);

    // The texts of the table (only the cancel button has an entry).
    void applyLanguage(const LanguageTable* table);

    QPushButton* firstButton() const { return m_first; }
    QPushButton* secondButton() const { return m_second; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    QLabel* m_text;
    QPushButton* m_first;
    QPushButton* m_second;
    QPushButton* m_cancel;
};

} // namespace quilo
