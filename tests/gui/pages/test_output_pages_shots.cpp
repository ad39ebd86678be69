// What a person sees on the compressor, delay and room layout pages at the page area's
// smallest size, in both languages: every text fits its control. With QUILO_SHOTS=DIR
// the pages are written there as comp_zh.png ... room_en.png.
#include "PageHarness.h"
#include "pages/CCompDlg.h"
#include "pages/CDelayDlg.h"
#include "room/gui/CSSVCDlg.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

using namespace quilo;
using namespace quilo::test;

namespace {

// Texts wider than their control, as "id: text".
QStringList clippedTexts(QWidget& root) {
    QStringList bad;
    for (QWidget* w : root.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&root)) {
            continue;
        }
        const int id = w->property("ctrlId").toInt();
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty()) {
            if (l->fontMetrics().horizontalAdvance(l->text()) > l->contentsRect().width()) {
                bad << QStringLiteral("%1: %2").arg(id).arg(l->text());
            }
        } else if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty()) {
            if (b->width() < b->sizeHint().width()) {
                bad << QStringLiteral("%1: %2").arg(id).arg(b->text());
            }
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            if (e->fontMetrics().horizontalAdvance(e->text()) > e->width() - 8) {
                bad << QStringLiteral("%1: %2").arg(id).arg(e->text());
            }
        }
    }
    return bad;
}

// A setting with something to show on every page.
void fillImage(DeviceImage& image) {
    DspParams& p = image.params;
    for (int ch = 0; ch < 8; ++ch) {
        p.outLocation[ch] = ch;
        p.outLevel[ch] = 100 + 10 * ch;
        p.outDelayMs[ch] = 1.5f + 9.5f * static_cast<float>(ch);
        p.outDelayMode[ch] = ch % 3 == 2 ? 1 : 0;
        p.outDelayBypass[ch] = ch == 6 ? 1 : 0;
        p.outCompThreshold[ch] = -24.0f;
        p.outCompRatio[ch] = 4.0f;
        p.outCompAttackMs[ch] = 12.0f;
        p.outCompReleaseMs[ch] = 240.0f;
    }
    RoomLayout room;
    room.roomWidth = 5;
    room.roomLength = 5; // odd sizes: edge labels on half metres
    room.listener = {0.3f, -0.8f};
    room.speakers[3] = {-2.0f, -2.5f};
    room.speakers[5] = {2.5f, -2.5f}; // in the corner: its label still inside the plan
    image.roomLayout = encodeRoomLayout(room);
}

template <typename PageT> void shootPage(const char* name, int channel) {
    for (int language : {kChinese, kEnglish}) {
        PageHarness h(language);
        fillImage(*h.image);
        h.state.outputChannel = channel;
        h.state.locateChannel = 3;
        auto page = std::make_unique<PageT>(*h.context);
        h.language.applyTable(page.get(), page->templateId());
        page->applyLanguage(language);
        page->refreshFromImage();
        page->resize(1024, 520);
        page->show();
        QCoreApplication::processEvents();
        const QString lang = language == kEnglish ? QStringLiteral("en") : QStringLiteral("zh");
        EXPECT_TRUE(clippedTexts(*page).isEmpty())
            << name << " " << lang.toStdString() << ": "
            << clippedTexts(*page).join(QStringLiteral("; ")).toStdString();
        const QString dir = qEnvironmentVariable("QUILO_SHOTS");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            page->grab().save(
                QDir(dir).filePath(QStringLiteral("%1_%2.png").arg(QLatin1String(name), lang)));
        }
    }
}

} // namespace

TEST(OutputPagesShots, CompressorPage) {
    shootPage<CCompDlg>("comp", 2);
}

TEST(OutputPagesShots, DelayPage) {
    shootPage<CDelayDlg>("delay", 0);
}

TEST(OutputPagesShots, RoomLayoutPage) {
    shootPage<CSSVCDlg>("room", 0);
}
