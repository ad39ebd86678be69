#pragma once

#include <QWidget>

namespace quilo {

// The pages the page area shows, one at a time: the two the ribbon's categories
// lead to and those opened from them.
enum class PageKind { MusicMic, Output, Effects, Compressor, Delay, RoomLayout };

// What the page area needs of a page. The page host owns the page it shows;
// showing another page destroys it. A page is made by its factory from a
// PageContext (see WindowFactories).
class Page : public QWidget {
    Q_OBJECT
public:
    explicit Page(QWidget* parent = nullptr) : QWidget(parent) {}

    virtual PageKind kind() const = 0;
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

} // namespace quilo
