#pragma once

#include <QDialog>
#include <QWidget>

namespace quilo {

// What the page area needs of a page (the music and microphone page, the output
// page, the effects page and the pages opened from them). The view owns the
// page it shows; showing another page destroys it.
class CPage : public QWidget {
    Q_OBJECT
public:
    enum class Kind { MusicMic, Output, Effects, Other };

    explicit CPage(QWidget* parent = nullptr) : QWidget(parent) {}

    virtual Kind kind() const = 0;
    // The page's language-table template (its controls carry "ctrlId").
    virtual int templateId() const = 0;
    // Reload every control from the image.
    virtual void refreshFromImage() = 0;
    // The language index changed: the table is applied already; relabel what
    // the page builds in code.
    virtual void applyLanguage(int language) = 0;

    // The ribbon category was chosen again while this page is shown (music page:
    // select mic channel A and refresh; output page: show the remembered channel).
    virtual void reselect() {}

    // The equaliser bypass and reset of the status bar, for pages with an
    // equaliser of their own.
    virtual bool hasEqualiser() const { return false; }
    virtual bool eqSwitch() const { return false; }
    virtual void toggleEqSwitch() {}
    virtual void resetCurrentEq() {}

    // Left Ctrl with a digit: 0-8 for 1-9, 9 for 0.
    virtual void numberKey(int /*number*/) {}
};

// What a modeless tool window needs (features, subwoofer decay, music automatic
// level, input source, remote learning, smart plug, machine settings). The
// application keeps at most one of each and forgets it when it is destroyed.
class CToolWindow : public QDialog {
    Q_OBJECT
public:
    explicit CToolWindow(QWidget* parent = nullptr) : QDialog(parent) {}

    virtual int templateId() const = 0;
    virtual void refreshFromImage() = 0;
    // The table is applied already; relabel what the window builds in code.
    virtual void applyLanguage(int language) = 0;
};

} // namespace quilo
