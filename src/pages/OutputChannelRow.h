#pragma once

#include "ui/Page.h"

#include <array>

namespace quilo {

class CGdipButton;
class PageContext;

// The row of buttons across the top of the four pages that work on one output channel: the
// output page, the compressor page, the delay page and the room layout page.
//
//   "CH 1" ... "CH 8"   control ids kChannelIds (left to right); the current channel is drawn
//                       pressed (setCurrentChannel).
//   "Location"          kLocationId (1073): the room layout page.
//   "Response"          kResponseId (1990): the system response window.
//   "Delay", "Comp"     kDelayId (1074), kCompId (1075): the delay and compressor pages; both
//                       hidden on the output page.
//
// The button of the page the row sits on is drawn pressed and does nothing. On the output
// page a channel button only emits channelChosen (the page selects the channel itself); on
// the other three it replaces the page with the output page for that channel
// (PageContext::showPage(PageKind::Output, channel), which also remembers the channel in
// PageState::outputChannel). A page button shows its page for the remembered channel.
//
// The row sets no texts: the hosting page's language table labels the buttons by their
// "ctrlId" (keys IDD<template>_1069 ... IDD<template>_1079 and IDD<template>_1990).
class OutputChannelRow : public QWidget {
    Q_OBJECT

public:
    static constexpr std::array<int, 8> kChannelIds = {1069, 1072, 1070, 1071,
                                                       1076, 1077, 1078, 1079};
    static constexpr int kLocationId = 1073;
    static constexpr int kDelayId = 1074;
    static constexpr int kCompId = 1075;
    static constexpr int kResponseId = 1990;

    // `page` is the kind of the hosting page: Output, Compressor, Delay or RoomLayout.
    OutputChannelRow(PageContext& context, PageKind page, QWidget* parent = nullptr);

    // Draws channel `channel` (0-7) pressed and the others raised.
    void setCurrentChannel(int channel);
    int currentChannel() const { return m_current; }

    CGdipButton& channelButton(int channel) { return *m_channels.at(channel); }
    // The button of the room layout, delay or compressor page.
    CGdipButton& pageButton(PageKind kind);

signals:
    // A channel button was pressed on the output page.
    void channelChosen(int channel);

private:
    void onChannelClicked(int channel);
    void onPageClicked(PageKind kind);

    PageContext& m_context;
    PageKind m_page;
    int m_current = -1;
    std::array<CGdipButton*, 8> m_channels{};
    CGdipButton* m_location = nullptr;
    CGdipButton* m_response = nullptr;
    CGdipButton* m_delay = nullptr;
    CGdipButton* m_comp = nullptr;
};

} // namespace quilo
