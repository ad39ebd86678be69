#include "ui/WindowFactories.h"

namespace quilo {

Page* WindowFactories::createPage(PageKind kind, PageContext& context, QWidget* parent) const {
    const auto it = m_pages.find(kind);
    return it == m_pages.end() ? nullptr : it->second(context, parent);
}

ToolWindow* WindowFactories::createTool(ToolWindowId id, PageContext& context,
                                        QWidget* parent) const {
    const auto it = m_tools.find(id);
    return it == m_tools.end() ? nullptr : it->second(context, parent);
}

} // namespace quilo
