#pragma once

#include "ui/Page.h"
#include "ui/ToolWindow.h"

#include <functional>
#include <map>

class QWidget;

namespace quilo {

class MqttBridge;
class PageContext;

// How every page and tool window the program has is made: each from the one
// context pages and tool windows share and the widget to live in.
class WindowFactories {
public:
    using PageFactory = std::function<Page*(PageContext& context, QWidget* parent)>;
    using ToolFactory = std::function<ToolWindow*(PageContext& context, QWidget* parent)>;

    void setPage(PageKind kind, PageFactory factory) { m_pages[kind] = std::move(factory); }
    void setTool(ToolWindowId id, ToolFactory factory) { m_tools[id] = std::move(factory); }

    // Null when no factory is registered (or it made nothing).
    Page* createPage(PageKind kind, PageContext& context, QWidget* parent) const;
    ToolWindow* createTool(ToolWindowId id, PageContext& context, QWidget* parent) const;

private:
    std::map<PageKind, PageFactory> m_pages;
    std::map<ToolWindowId, ToolFactory> m_tools;
};

// Registers the factories of every page and tool window the program has.
void registerWindows(WindowFactories& factories);
// Registers "Home automation…", over the bridge of the program's owner.
void registerHomeAutomation(WindowFactories& factories, MqttBridge& bridge);

} // namespace quilo
