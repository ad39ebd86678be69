#include "pages/OutputChannelRow.h"

#include "ui/ControlTag.h"
#include "ui/PageContext.h"
#include "widgets/CGdipButton.h"

#include <QHBoxLayout>

namespace quilo {

namespace {

constexpr QSize kChannelButtonSize{84, 28};
constexpr QSize kPageButtonSize{88, 28};
constexpr int kSpacing = 4;

CGdipButton* makeButton(int ctrlId, QSize size, QWidget* parent) {
    auto* b = tagControl(new CGdipButton(parent), ctrlId);
    b->setFixedSize(size);
    return b;
}

} // namespace

OutputChannelRow::OutputChannelRow(PageContext& context, PageKind page, QWidget* parent)
    : QWidget(parent), m_context(context), m_page(page) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    for (int ch = 0; ch < static_cast<int>(m_channels.size()); ++ch) {
        m_channels[ch] = makeButton(kChannelIds[ch], kChannelButtonSize, this);
        connect(m_channels[ch], &CGdipButton::clicked, this, [this, ch] { onChannelClicked(ch); });
        row->addWidget(m_channels[ch]);
    }
    row->addStretch(1);
    m_location = makeButton(kLocationId, kPageButtonSize, this);
    m_response = makeButton(kResponseId, kPageButtonSize, this);
    connect(m_response, &CGdipButton::clicked, this,
            [this] { m_context.openToolWindow(ToolWindowId::SystemResponse); });
    m_delay = makeButton(kDelayId, kPageButtonSize, this);
    m_comp = makeButton(kCompId, kPageButtonSize, this);
    for (const auto& [button, kind] :
         {std::pair{m_location, PageKind::RoomLayout}, std::pair{m_delay, PageKind::Delay},
          std::pair{m_comp, PageKind::Compressor}}) {
        button->setCheckedState(kind == m_page);
        connect(button, &CGdipButton::clicked, this, [this, k = kind] { onPageClicked(k); });
        row->addWidget(button);
        if (button == m_location) {
            row->addWidget(m_response);
        }
    }
    // The output page reaches the delay and compressor through its own groups.
    m_delay->setVisible(page != PageKind::Output);
    m_comp->setVisible(page != PageKind::Output);
    setCurrentChannel(context.pageState().outputChannel);
}

void OutputChannelRow::setCurrentChannel(int channel) {
    m_current = channel;
    for (int ch = 0; ch < static_cast<int>(m_channels.size()); ++ch) {
        m_channels[ch]->setCheckedState(ch == channel);
    }
}

CGdipButton& OutputChannelRow::pageButton(PageKind kind) {
    return kind == PageKind::Delay        ? *m_delay
           : kind == PageKind::Compressor ? *m_comp
                                          : *m_location;
}

void OutputChannelRow::onChannelClicked(int channel) {
    if (m_page == PageKind::Output) {
        emit channelChosen(channel);
        return;
    }
    // Replaces the page this row sits on; the host destroys it once the click is handled.
    m_context.showPage(PageKind::Output, channel);
}

void OutputChannelRow::onPageClicked(PageKind kind) {
    if (kind != m_page) {
        m_context.showPage(kind);
    }
}

} // namespace quilo
