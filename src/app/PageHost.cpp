#include "app/PageHost.h"

#include "app/RibbonIds.h"
#include "app/WindowFactories.h"
#include "ui/Language.h"
#include "ui/PageContext.h"
#include "ui/Prompter.h"
#include "ui/Texts.h"

#include <algorithm>

namespace quilo {

PageHost::PageHost(QWidget& area, const WindowFactories& factories, Language& language,
                   Prompter& prompter)
    : m_area(area), m_factories(factories), m_language(language), m_prompter(prompter) {}

void PageHost::show(PageKind kind, int argument) {
    if (argument != -1) {
        switch (kind) {
        case PageKind::MusicMic:
            m_state.musicChannel = argument;
            break;
        case PageKind::Effects:
            m_state.effectsEq = argument;
            break;
        default:
            m_state.outputChannel = argument;
            break;
        }
    }
    if (m_context == nullptr) {
        return;
    }
    if (Page* page = m_factories.createPage(kind, *m_context, &m_area)) {
        setPage(page);
    }
}

void PageHost::setPage(Page* page) {
    Page* old = m_page;
    m_page = page;
    if (page != nullptr) {
        page->setParent(&m_area);
        m_language.applyTable(page, page->templateId());
        page->applyLanguage(m_language.index());
        page->refreshFromImage();
        layout();
        page->show();
    }
    if (old != nullptr && old != page) {
        old->hide();
        old->deleteLater();
    }
    emit pageChanged();
}

void PageHost::categoryChanged(int category) {
    const PageKind wanted = category == ribbon::kOutput ? PageKind::Output : PageKind::MusicMic;
    if (m_page != nullptr && m_page->kind() == wanted) {
        m_page->reselect();
        return;
    }
    // "Input" always comes back on mic channel A, like choosing it again.
    show(wanted, wanted == PageKind::MusicMic ? 0 : -1);
}

void PageHost::refresh() {
    if (m_page != nullptr) {
        m_page->refreshFromImage();
    }
}

void PageHost::relabel() {
    if (m_page != nullptr) {
        m_language.applyTable(m_page, m_page->templateId());
        m_page->applyLanguage(m_language.index());
        // Texts the page builds from values (names in boxes, read-outs) follow the language
        // as well; the image is the page's to read unless a synchronisation holds it.
        if (m_context != nullptr && m_context->image().mainThreadOwns()) {
            m_page->refreshFromImage();
        }
    }
}

void PageHost::layout() {
    if (m_page != nullptr) {
        m_page->setGeometry(0, 0, std::max(m_area.width(), kMinWidth),
                            std::max(m_area.height(), kMinHeight));
    }
}

bool PageHost::hasEqualiser() const {
    return m_page != nullptr && m_page->hasEqualiser();
}

bool PageHost::eqSwitch() const {
    return hasEqualiser() && m_page->eqSwitch();
}

void PageHost::toggleEqSwitch() {
    if (hasEqualiser()) {
        m_page->toggleEqSwitch();
    }
    emit pageChanged();
}

void PageHost::resetCurrentEq() {
    if (!hasEqualiser()) {
        return;
    }
    const int lang = m_language.index();
    if (m_prompter.askYesNo(m_area.window(), text::kPrompt.pick(lang),
                            text::kResetEqAsk.pick(lang))) {
        m_page->resetCurrentEq();
        m_page->refreshFromImage();
    }
    emit pageChanged();
}

void PageHost::numberKey(int number) {
    if (m_page != nullptr) {
        m_page->numberKey(number);
    }
}

} // namespace quilo
