#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

namespace quilo {

// Container that shows one of its pages, each filling the whole client area.
class CTabWnd : public QWidget {
    Q_OBJECT

public:
    explicit CTabWnd(QWidget* parent = nullptr);

    // Takes the page as a child. The first page added is the one shown.
    void addPage(QWidget* page);
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    QWidget* page(int i) const;
    int currentIndex() const { return m_current; }

    // Shows page i and hides the others; returns the index shown before, or -1 (and
    // changes nothing) when there is no page i.
    int selectPage(int i);

signals:
    void pageSelected(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QList<QPointer<QWidget>> m_pages;
    int m_current = -1;
};

} // namespace quilo
