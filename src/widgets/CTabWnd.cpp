#include "widgets/CTabWnd.h"

namespace quilo {

CTabWnd::CTabWnd(QWidget* parent) : QWidget(parent) {}

void CTabWnd::addPage(QWidget* page) {
    if (page == nullptr)
        return;
    page->setParent(this);
    page->setGeometry(rect());
    m_pages.append(page);
    if (m_current < 0) {
        m_current = 0;
        page->show();
    } else {
        page->hide();
    }
}

QWidget* CTabWnd::page(int i) const {
    return i >= 0 && i < pageCount() ? m_pages[i].data() : nullptr;
}

int CTabWnd::selectPage(int i) {
    if (i < 0 || i >= pageCount())
        return -1;
    const int previous = m_current;
    m_current = i;
    for (int p = 0; p < pageCount(); ++p) {
        if (m_pages[p] != nullptr && p != i)
            m_pages[p]->hide();
    }
    if (m_pages[i] != nullptr) {
        m_pages[i]->setGeometry(rect());
        m_pages[i]->show();
    }
    if (previous != i)
        emit pageSelected(i);
    return previous;
}

void CTabWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (const auto& page : m_pages) {
        if (page != nullptr)
            page->setGeometry(rect());
    }
}

} // namespace quilo
