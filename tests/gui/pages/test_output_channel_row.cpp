// The channel and page buttons shared by the four output-channel pages: where each button
// takes the user from each page, and which buttons show as current.
#include "PageHarness.h"
#include "pages/OutputChannelRow.h"
#include "widgets/CGdipButton.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

using Shown = std::vector<std::pair<PageKind, int>>;

void click(CGdipButton& b) {
    QTest::mouseClick(&b, Qt::LeftButton);
}

} // namespace

TEST(OutputChannelRow, ButtonsLeadToTheSiblingPagesFromEveryPage) {
    const PageKind siblings[] = {PageKind::Compressor, PageKind::Delay, PageKind::RoomLayout};
    for (PageKind page :
         {PageKind::Output, PageKind::Compressor, PageKind::Delay, PageKind::RoomLayout}) {
        SCOPED_TRACE(static_cast<int>(page));
        PageHarness h;
        h.state.outputChannel = 5;
        OutputChannelRow row(*h.context, page);
        row.show();
        std::vector<int> chosen;
        QObject::connect(&row, &OutputChannelRow::channelChosen,
                         [&chosen](int ch) { chosen.push_back(ch); });

        EXPECT_EQ(row.currentChannel(), 5);
        for (int ch = 0; ch < 8; ++ch)
            EXPECT_EQ(row.channelButton(ch).checkedState(), ch == 5);
        for (PageKind kind : siblings)
            EXPECT_EQ(row.pageButton(kind).checkedState(), kind == page);
        EXPECT_EQ(row.pageButton(PageKind::Delay).isVisible(), page != PageKind::Output);
        EXPECT_EQ(row.pageButton(PageKind::Compressor).isVisible(), page != PageKind::Output);

        click(row.channelButton(2));
        click(row.pageButton(PageKind::RoomLayout));
        Shown expected;
        if (page == PageKind::Output) {
            EXPECT_EQ(chosen, std::vector<int>{2});
        } else {
            EXPECT_TRUE(chosen.empty());
            expected.emplace_back(PageKind::Output, 2);
            EXPECT_EQ(h.state.outputChannel, 2);
        }
        if (page != PageKind::RoomLayout)
            expected.emplace_back(PageKind::RoomLayout, -1);
        if (page != PageKind::Output) {
            click(row.pageButton(PageKind::Delay));
            click(row.pageButton(PageKind::Compressor));
            for (PageKind kind : {PageKind::Delay, PageKind::Compressor})
                if (kind != page)
                    expected.emplace_back(kind, -1);
        }
        EXPECT_EQ(h.pagesShown, expected);

        row.setCurrentChannel(7);
        EXPECT_TRUE(row.channelButton(7).checkedState());
        EXPECT_FALSE(row.channelButton(5).checkedState());
    }
}

TEST(OutputChannelRow, TheHostingPagesTableLabelsTheButtons) {
    PageHarness h(kEnglish);
    QWidget page;
    auto* row = new OutputChannelRow(*h.context, PageKind::Output, &page);
    h.context->applyTable(&page, 385);
    EXPECT_EQ(row->channelButton(0).text(), QStringLiteral("CH 1"));
    EXPECT_EQ(row->channelButton(1).text(), QStringLiteral("CH 2"));
    EXPECT_EQ(row->channelButton(7).text(), QStringLiteral("CH 8"));
    EXPECT_EQ(row->pageButton(PageKind::RoomLayout).text(), QStringLiteral("Location"));
    h.language.set(kChinese);
    h.context->applyTable(&page, 385);
    EXPECT_EQ(row->channelButton(4).text(), QStringLiteral("通道5"));
}
