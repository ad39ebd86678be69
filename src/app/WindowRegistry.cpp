// The pages and tool windows the program has, by kind. A new page or tool window
// adds its factory here: factories.setPage(PageKind::..., [](PageContext& context,
// QWidget* parent) { return new CDialog...(context, parent); });
#include "app/PageContext.h"
#include "app/WindowFactories.h"
#include "pages/CDialogEfx.h"
#include "pages/CDialogMusic.h"
#include "pages/CDialogOutput.h"

namespace quilo {

void registerWindows(WindowFactories& factories) {
    factories.setPage(PageKind::MusicMic, [](PageContext& context, QWidget* parent) {
        return new CDialogMusic(context, parent);
    });
    factories.setPage(PageKind::Effects, [](PageContext& context, QWidget* parent) {
        return new CDialogEfx(context, parent);
    });
    factories.setPage(PageKind::Output, [](PageContext& context, QWidget* parent) {
        return new CDialogOutput(context, context.pageState().outputChannel, parent);
    });
}

} // namespace quilo
