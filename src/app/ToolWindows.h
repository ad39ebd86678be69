#pragma once

#include "ui/ToolWindow.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <vector>

namespace quilo {

class Language;
class PageContext;
class WindowFactories;

// The modeless tool windows: each is created on first use from its factory, kept
// while it exists and forgotten when it is destroyed. Every opening relabels,
// refreshes and shows it.
class ToolWindows : public QObject {
    Q_OBJECT
public:
    ToolWindows(const WindowFactories& factories, Language& language);
    // Closes and destroys the windows still open.
    ~ToolWindows() override;

    // What windows are made from and over; set once the main window exists.
    void setContext(PageContext* context, QWidget* parent);

    // The open window, or null.
    ToolWindow* window(ToolWindowId id) const;
    ToolWindow* open(ToolWindowId id);
    void close(ToolWindowId id);
    void closeAll();
    std::vector<ToolWindow*> openWindows() const;

    void refreshAll();
    // Applies the current table to every open window and lets it relabel.
    void relabelAll();

signals:
    // A window was destroyed (closed by the user or the program).
    void closed(ToolWindowId id);

private:
    const WindowFactories& m_factories;
    Language& m_language;
    PageContext* m_context = nullptr;
    QPointer<QWidget> m_parent;
    std::map<ToolWindowId, QPointer<ToolWindow>> m_windows;
};

} // namespace quilo
