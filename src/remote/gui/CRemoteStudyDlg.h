#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quilo {

// "Learning" (template 372): shown while the processor waits for a key of the
// user's remote control. It shows the learned code, then closes by itself after
// a second; cancelled before that, it tells `cancelled` (which withdraws the
// learning). Modal to its parent, without a nested event loop.
class CRemoteStudyDlg : public QDialog {
public:
    static constexpr int kTemplateId = 372;
    static constexpr int kSelfCloseMs = 1000;

    CRemoteStudyDlg(int key, std::function<void()> cancelled, QWidget* parent);

    int key() const { return m_key; }
    bool learned() const { return m_learned; }
    // The learned code arrived: shows it and closes a second later.
    void showLearnedCode(int code);
    // The table is applied already: the key's learning text and the status line.
    void applyLanguage(int language);

    void reject() override;

private:
    int m_key;
    std::function<void()> m_cancelled;
    bool m_learned = false;
    int m_language = 0;
    QLabel* m_keyText;
    QLabel* m_prompt;
    QLineEdit* m_code;
    QLabel* m_status;
    QPushButton* m_cancel;
    QPushButton* m_close;
    QTimer m_selfClose;
};

} // namespace quilo
