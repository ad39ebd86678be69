#pragma once

#include "ui/Page.h"
#include "ui/PageState.h"
#include "ui/ToolWindow.h"

namespace quilo {

// How a page or tool window takes the user elsewhere, and what the page area
// remembers across pages.
class Navigator {
public:
    virtual ~Navigator() = default;

    // Shows a page of `kind`, destroying the one shown. An `argument` other than -1
    // is first stored as the state the page opens with: the output channel (output,
    // compressor, delay and room layout pages), the music page's channel or the
    // effects page's equaliser.
    virtual void showPage(PageKind kind, int argument = -1) = 0;
    // Creates the window on first use, relabels, refreshes and shows it.
    virtual void openToolWindow(ToolWindowId id) = 0;
    virtual void closeToolWindow(ToolWindowId id) = 0;
    virtual PageState& pageState() = 0;
};

} // namespace quilo
