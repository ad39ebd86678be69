#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;

namespace quilo {

// The notice window (template 344): a short text that goes away by itself when
// its time is up, or with its Close button. It deletes itself when it goes.
class CInfoDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 344;
    static constexpr int kDefaultMs = 1100;

    explicit CInfoDlg(QWidget* parent, int language);

    // Shows `text` and (re)starts the lifetime of `ms` milliseconds.
    void showNotice(const QString& text, int ms);
    void setLanguage(int language);

    QString text() const;
    int remainingMs() const { return m_life.remainingTime(); }

private:
    QLabel* m_icon;
    QLabel* m_text;
    QPushButton* m_close;
    QTimer m_life; // timer 900
};

} // namespace quilo
