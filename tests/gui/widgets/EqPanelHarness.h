#pragma once

#include "widgets/CEqPanel.h"

#include <QMenu>
#include <QTest>

#include <cmath>
#include <vector>

namespace quilo::test {

// The editor with its menus answered by the test: the texts offered are recorded and a
// preset command is "chosen".
class MenuPanel : public CEqPanel {
public:
    int nextCommand = 0;
    std::vector<QStringList> menus;

protected:
    int runMenu(QMenu& menu, const QPoint&) override {
        QStringList texts;
        for (const QAction* a : menu.actions())
            texts << a->text();
        menus.push_back(texts);
        return nextCommand;
    }
};

// Every notification of the editor, in order.
struct Notices {
    struct Entry {
        char kind; // 'c' changed, 'b' background, 'p' picked, 'x' copy/paste
        int a;
        int b;
        EqBandState band;
    };
    std::vector<Entry> log;

    void attach(CEqPanel& panel) {
        QObject::connect(&panel, &CEqPanel::eqBandChanged, [this](const EqBandState& s, int i) {
            log.push_back({'c', i, 0, s});
        });
        QObject::connect(&panel, &CEqPanel::eqBackgroundClicked, [this] {
            log.push_back({'b', 0, 0, {}});
        });
        QObject::connect(&panel, &CEqPanel::eqBandPicked, [this](const EqBandState& s, int i) {
            log.push_back({'p', i, 0, s});
        });
        QObject::connect(&panel, &CEqPanel::eqCopyPasteRequest, [this](int cmd, int id) {
            log.push_back({'x', cmd, id, {}});
        });
    }
    int count(char kind) const {
        int n = 0;
        for (const Entry& e : log)
            n += e.kind == kind ? 1 : 0;
        return n;
    }
    void clear() { log.clear(); }
};

// Widget point of a handle: x = W log10(f/18)/log10(23000/18), y = (15 - g) H / 30, offset
// by the plot's 36/18 pixel inset; rounded to the pixel a pointer can reach.
inline QPoint handlePoint(const CEqPanel& panel, double freq, double gain) {
    const double w = panel.plotRect().width();
    const double h = panel.plotRect().height();
    const double x = w * std::log10(freq / 18.0) / std::log10(23000.0 / 18.0);
    const double y = (15.0 - gain) * h / 30.0;
    return QPoint(static_cast<int>(std::lround(36 + x)), static_cast<int>(std::lround(18 + y)));
}

inline void press(QWidget& w, Qt::MouseButton b, QPoint p) {
    QTest::mousePress(&w, b, {}, p);
}
inline void release(QWidget& w, Qt::MouseButton b, QPoint p) {
    QTest::mouseRelease(&w, b, {}, p);
}
inline void moveTo(QWidget& w, QPoint p) {
    QTest::mouseMove(&w, p);
}

} // namespace quilo::test
