#include "pages/CDialogEfx.h"

#include "pages/ChannelEqSection.h"
#include "pages/EqBandList.h"
#include "ui/BiText.h"
#include "ui/ControlTag.h"
#include "ui/DialogLook.h"
#include "ui/PageContext.h"
#include "widgets/CGdipButton.h"
#include "widgets/WidgetFonts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace quilo {

namespace {

constexpr int kFirstEffectEqId = 2; // reverb A; then reverb B, echo A, echo B
constexpr BiText kNames[CDialogEfx::kEqualisers] = {
    {"混响均衡 A", "Reverb A EQ"},
    {"混响均衡 B", "Reverb B EQ"},
    {"回声均衡 A", "Echo A EQ"},
    {"回声均衡 B", "Echo B EQ"},
};
constexpr BiText kReturn{"返回", "Return"};
// Set A in the colour of mic channel A, set B in that of mic channel B: bright on the dark
// list, deeper on the light page.
const QColor kListColours[2] = {QColor(0, 200, 255), QColor(0, 220, 0)};
const QColor kTitleColours[2] = {QColor(0, 130, 200), QColor(0, 150, 0)};

} // namespace

CDialogEfx::CDialogEfx(PageContext& context, QWidget* parent) : Page(parent), m_context(context) {
    applyDialogLook(this);
    setFont(songFont(12));
    m_index = std::clamp(context.pageState().effectsEq, 0, kEqualisers - 1);

    m_picture = new QLabel(this);
    tagControl(m_picture, kPicture);
    m_picture->setFont(cjkFont(20, 700));
    QPalette pal = m_picture->palette();
    pal.setColor(QPalette::WindowText, kTitleColours[m_index % 2]);
    m_picture->setPalette(pal);

    m_return = new CGdipButton(this);
    tagControl(m_return, kReturnButton);
    m_return->setFixedSize(110, 28);
    connect(m_return, &CGdipButton::clicked, this, &CDialogEfx::returnToMusic);

    m_section = new ChannelEqSection(context.image(), context.sink(), EqSectionConfig::effects(),
                                     context.eqCopySource(), this);
    m_section->setPrompter(&context.prompter());

    auto* head = new QHBoxLayout();
    head->addWidget(m_return);
    head->addSpacing(12);
    head->addWidget(m_picture);
    head->addStretch(1);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 6, 8, 6);
    root->setSpacing(6);
    root->addLayout(head);
    root->addWidget(m_section, 1);

    // The band list in the colour of its set, on the dark ground of the curve editor.
    m_section->bandList().setColours(kListColours[m_index % 2], QColor(20, 20, 20));

    m_section->showEq(kFirstEffectEqId + m_index);
    applyLanguage(context.language());
}

CDialogEfx::~CDialogEfx() = default;

void CDialogEfx::refreshFromImage() {
    m_section->showEq(kFirstEffectEqId + m_index);
}

void CDialogEfx::applyLanguage(int language) {
    m_section->applyLanguage(language);
    m_picture->setText(kNames[m_index].pick(language));
    m_return->setText(kReturn.pick(language));
}

void CDialogEfx::returnToMusic() {
    m_context.showPage(PageKind::MusicMic);
}

bool CDialogEfx::eqSwitch() const {
    return m_section->eqSwitch();
}

void CDialogEfx::toggleEqSwitch() {
    m_section->toggleEqSwitch();
}

void CDialogEfx::resetCurrentEq() {
    m_section->resetCurrentEq();
}

void CDialogEfx::numberKey(int number) {
    m_section->pickBand(number);
}

} // namespace quilo
