#pragma once

#include "PageHarness.h"
#include "app/ToolWindows.h"
#include "app/WindowFactories.h"
#include "device/Command.h"
#include "support/Bytes.h"
#include "ui/CInfoDlg.h"
#include "widgets/CXBmpSlider.h"

#include <QAbstractButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <optional>

namespace quilo::test {

// The tool windows as the program keeps them (one of each, made by the program's
// factories), over a page harness on an emulated processor.
struct ToolWindowHarness : PageHarness {
    WindowFactories factories;
    ToolWindows windows{factories, language};

    explicit ToolWindowHarness(int lang = kChinese) : PageHarness(lang) {
        registerWindows(factories);
        windows.setContext(context.get(), nullptr);
        QObject::connect(&language, &Language::changed, &windows, [this] { windows.relabelAll(); });
    }
    ~ToolWindowHarness() override { windows.closeAll(); }

    template <typename W> W& open(ToolWindowId id) {
        auto* w = dynamic_cast<W*>(windows.open(id));
        EXPECT_NE(w, nullptr);
        return *w;
    }

    std::vector<Report> received() {
        settle();
        return processor([](Emulator& e) { return e.received(); });
    }
    void clearReceived() {
        settle();
        processor([](Emulator& e) { e.clearLog(); });
    }
    QString notice() const {
        return prompter.noticeWindow() != nullptr ? prompter.noticeWindow()->text() : QString();
    }
};

// Runs the event loop until `done` holds, at most `ms`.
inline bool waitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

// One SetParam as the processor received it.
struct Param {
    int module;
    int param;
    std::uint32_t word;
    bool operator==(const Param&) const = default;
};

inline std::vector<Param> paramsIn(const std::vector<Report>& reports) {
    std::vector<Param> out;
    for (const Report& r : reports) {
        if (r[1] == static_cast<std::uint8_t>(Command::SetParam)) {
            out.push_back({r[3], r[4], wordAt(r, 6)});
        }
    }
    return out;
}

inline std::uint32_t f32(float v) {
    return std::bit_cast<std::uint32_t>(v);
}

// Clicks a check box on its box, which a click in the middle of a wide one would miss.
inline void clickBox(QAbstractButton& box) {
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(7, box.height() / 2));
}

// Moves a slider to `value` the way a user does: from one step away, with an arrow key.
inline void moveSlider(CXBmpSlider& slider, int value) {
    const bool fromBelow = value > slider.minimum();
    slider.setPosition(fromBelow ? value - 1 : value + 1);
    slider.setFocus();
    QTest::keyClick(&slider, fromBelow ? Qt::Key_Right : Qt::Key_Left);
}

} // namespace quilo::test
