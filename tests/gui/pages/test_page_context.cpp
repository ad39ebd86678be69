// A page made from its context alone, on an emulated processor: what it sends
// reaches the processor, where it asks to go is remembered, a language switch and
// a read-back reach it, and its questions are answered by the test.
#include "PageHarness.h"
#include "device/WireValue.h"
#include "support/Bytes.h"
#include "ui/WindowFactories.h"

#include <QLabel>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// A page such as the ones to come: reads the image, sends through the setters,
// follows the language, moves on to another page.
class ProbePage : public Page {
public:
    ProbePage(PageContext& context, QWidget* parent) : Page(parent), m_context(context) {
        label = new QLabel(this);
        label->setProperty("ctrlId", 2);
        QObject::connect(&context.languageSource(), &Language::changed, this,
                         [this](int) { m_context.applyTable(this, templateId()); });
    }
    PageKind kind() const override { return PageKind::Output; }
    int templateId() const override { return 513; }
    void refreshFromImage() override { shownVolume = m_context.image().params.micVolume; }
    void applyLanguage(int) override {}

    void muteMicrophones() { m_context.setters().set(&DspParams::micMute, 1); }
    void openCompressor(int channel) { m_context.showPage(PageKind::Compressor, channel); }

    QLabel* label;
    int shownVolume = -1;

private:
    PageContext& m_context;
};

} // namespace

TEST(PageContext, APageWorksFromItsContextAloneOnAnEmulatedProcessor) {
    PageHarness h;
    WindowFactories factories;
    factories.setPage(PageKind::Output, [](PageContext& context, QWidget* parent) {
        return new ProbePage(context, parent);
    });
    std::unique_ptr<Page> made(factories.createPage(PageKind::Output, *h.context, nullptr));
    auto* page = dynamic_cast<ProbePage*>(made.get());
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(h.connect());
    EXPECT_TRUE(h.context->connected());

    page->muteMicrophones();
    h.settle();
    const std::vector<Report> got = h.processor([](Emulator& e) { return e.received(); });
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back()[1], 0x09);
    EXPECT_EQ(wordAt(got.back(), 6), 0u); // muted: f32 0.0
    EXPECT_EQ(h.image->params.micMute, 1);

    page->openCompressor(3);
    EXPECT_EQ(h.pagesShown, (std::vector<std::pair<PageKind, int>>{{PageKind::Compressor, 3}}));
    EXPECT_EQ(h.context->pageState().outputChannel, 3);

    h.language.set(kEnglish);
    EXPECT_EQ(page->label->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(h.context->text(513, 2), QStringLiteral("Cancel"));

    h.processor([](Emulator& e) {
        EmulatorState s = e.state();
        s.params[{1, 14}] = {encodePctPlus(62)}; // micVolume
        e.restore(s);
    });
    h.context->startPull();
    EXPECT_FALSE(h.image->mainThreadOwns()); // the run has it now
    h.settle();
    page->refreshFromImage();
    EXPECT_EQ(page->shownVolume, 62);

    h.prompter.yesNo = {false};
    EXPECT_FALSE(h.context->prompter().askYesNo(page, QStringLiteral("c"), QStringLiteral("t")));
    h.context->notice(QStringLiteral("n"));
    ASSERT_NE(h.prompter.noticeWindow(), nullptr);
    EXPECT_EQ(&h.context->eqCopySource(), &h.copySource);
}
