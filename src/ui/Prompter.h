#pragma once

#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace quilo {

class CInfoDlg;
class LanguageTable;

// Every notice, question, message box and file dialog the program shows goes
// through here, so that tests can answer them without a person.
class Prompter {
public:
    enum class Icon { Information, Warning, Error, Question };
    enum class Answer { Yes, No, Cancel };

    // `language` tells the buttons' language (0 Chinese, 1 English).
    // The choice box takes its cancel text from `table`.
    Prompter(std::function<int()> language, std::function<const LanguageTable*()> table)
        : m_language(std::move(language)), m_table(std::move(table)) {}
    virtual ~Prompter();
    Prompter(const Prompter&) = delete;
    Prompter& operator=(const Prompter&) = delete;

    // The notice window (at most one, over `window`): `text` for `ms` milliseconds.
    virtual void notice(const QString& text, int ms = 1100);
    CInfoDlg* noticeWindow() const;
    // The window notices appear over; the main window once it exists.
    void setWindow(QWidget* window);
    // The notice window follows the language.
    void relabelNotice(int language);

    virtual void message(QWidget* parent, Icon icon, const QString& caption, const QString& text);
    virtual bool askYesNo(QWidget* parent, const QString& caption, const QString& text);
    virtual Answer askYesNoCancel(QWidget* parent, const QString& caption, const QString& text);
    // The two-choice box: 1 or 2 for the choices, 0 for cancel.
    virtual int askChoice(QWidget* parent, const QString& message, const QString& first,
                          const QString& second);
    // Empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& filter);
    // Asks before overwriting unless `askOverwrite` is false (for a caller that writes
    // another name than the one chosen and asks about that); `suffix` is added to a name
    // typed without one.
    virtual QString saveFileName(QWidget* parent, const QString& defaultName, const QString& suffix,
                                 const QString& filter, bool askOverwrite = true);

protected:
    int language() const { return m_language ? m_language() : 0; }
    const LanguageTable* table() const { return m_table ? m_table() : nullptr; }

private:
    std::function<int()> m_language;
    std::function<const LanguageTable*()> m_table;
    QPointer<QWidget> m_window;
    QPointer<CInfoDlg> m_notice;
};

} // namespace quilo
