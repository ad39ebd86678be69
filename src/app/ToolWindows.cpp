#include "app/ToolWindows.h"

#include "app/WindowFactories.h"
#include "ui/Language.h"

namespace quilo {

ToolWindows::ToolWindows(const WindowFactories& factories, Language& language)
    : m_factories(factories), m_language(language) {}

ToolWindows::~ToolWindows() {
    for (auto& [id, window] : m_windows) {
        delete window.data();
    }
}

void ToolWindows::setContext(PageContext* context, QWidget* parent) {
    m_context = context;
    m_parent = parent;
}

ToolWindow* ToolWindows::window(ToolWindowId id) const {
    const auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : it->second.data();
}

ToolWindow* ToolWindows::open(ToolWindowId id) {
    ToolWindow* w = window(id);
    const bool existed = w != nullptr;
    if (!existed) {
        if (m_context == nullptr) {
            return nullptr;
        }
        w = m_factories.createTool(id, *m_context, m_parent);
        if (w == nullptr) {
            return nullptr;
        }
        w->setAttribute(Qt::WA_DeleteOnClose);
        m_windows[id] = w;
        connect(w, &QObject::destroyed, this, [this, id] { emit closed(id); });
    }
    m_language.applyTable(w, w->templateId());
    w->applyLanguage(m_language.index());
    if (existed) {
        w->reopened();
        // Given again: centred over the main window again, as on its first showing.
        if (const QWidget* over = m_parent ? m_parent->window() : nullptr; over != nullptr) {
            w->move(over->geometry().center() - w->rect().center());
        }
    } else {
        w->refreshFromImage();
    }
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void ToolWindows::close(ToolWindowId id) {
    if (ToolWindow* w = window(id)) {
        w->close();
    }
}

void ToolWindows::closeAll() {
    for (ToolWindow* w : openWindows()) {
        w->close();
    }
}

std::vector<ToolWindow*> ToolWindows::openWindows() const {
    std::vector<ToolWindow*> out;
    for (const auto& [id, w] : m_windows) {
        if (w) {
            out.push_back(w.data());
        }
    }
    return out;
}

void ToolWindows::refreshAll() {
    for (ToolWindow* w : openWindows()) {
        w->refreshFromImage();
    }
}

void ToolWindows::relabelAll() {
    if (!m_language.table().isLoaded()) {
        return;
    }
    for (ToolWindow* w : openWindows()) {
        m_language.applyTable(w, w->templateId());
        w->applyLanguage(m_language.index());
        // The other language's texts take other room (wrapped Chinese lines are taller).
        w->adjustSize();
    }
}

} // namespace quilo
