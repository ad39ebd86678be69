#pragma once

#include "ui/Page.h"
#include "ui/PageState.h"

#include <QObject>
#include <QPointer>

namespace quilo {

class Language;
class PageContext;
class Prompter;
class WindowFactories;

// The page area of the main view: shows one page at a time (showing another
// destroys it), sizes it to the area but never below 1024 x 520, remembers what
// pages open with, and carries the view's commands to the page shown.
class PageHost : public QObject {
    Q_OBJECT
public:
    static constexpr int kMinWidth = 1024;
    static constexpr int kMinHeight = 520;

    PageHost(QWidget& area, const WindowFactories& factories, Language& language,
             Prompter& prompter);

    // What pages are made from; set before the first page is shown.
    void setContext(PageContext& context) { m_context = &context; }

    Page* current() const { return m_page; }
    PageState& state() { return m_state; }

    // Makes a page of `kind` (see Navigator::showPage for `argument`) and shows it.
    void show(PageKind kind, int argument = -1);
    // Shows `page` (the host takes it), labelled and refreshed, and destroys the previous one.
    void setPage(Page* page);
    // The ribbon's category: the music page for "Input", the output page for "Output";
    // chosen again, the page shown reselects.
    void categoryChanged(int category);

    void refresh();
    // The table is loaded already: relabel the page shown and reload it.
    void relabel();
    void layout();

    bool hasEqualiser() const;
    bool eqSwitch() const;
    void toggleEqSwitch();
    // Asks first; a yes resets the shown page's equaliser and refreshes it.
    void resetCurrentEq();
    void numberKey(int number);

signals:
    // Another page is shown, or its equaliser switch changed.
    void pageChanged();

private:
    QWidget& m_area;
    const WindowFactories& m_factories;
    Language& m_language;
    Prompter& m_prompter;
    PageContext* m_context = nullptr;
    QPointer<Page> m_page;
    PageState m_state;
};

} // namespace quilo
