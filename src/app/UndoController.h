#pragma once

#include "model/EditHistory.h"

#include <QObject>
#include <QPointF>

namespace quilo {

// Undo and redo of the user's edits. The setters and band operations record into the
// history of the image; this cuts the recording into steps at the user's actions: a mouse
// press or release and a key press or release end the step before them, so a slider or
// handle drag (press, moves, release), a linked edit or an import (one handler) is one step.
// Ctrl+Z takes the last step back, Ctrl+Shift+Z does it again (unless a text box holds text
// it can take back itself; the shortcut controller triggers these).
class UndoController : public QObject {
    Q_OBJECT
public:
    UndoController(DeviceImage& image, ReportSink& sink,
                   std::size_t limit = EditHistory::kDefaultLimit);
    ~UndoController() override;

    EditHistory& history() { return m_history; }
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }

    // Take the last step back, or do the last one taken back again; restored() follows.
    bool undo();
    bool redo();
    // The user's action is over: what it changed is one step.
    void endAction() { m_history.closeStep(); }
    // The image is replaced (read-back, mode file, preset, stored mode).
    void clear() { m_history.clear(); }

signals:
    // The image holds other values now: windows show them again.
    void restored();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct MouseMark {
        int type = 0;
        quint64 timestamp = 0;
        QPointF position;
        bool operator==(const MouseMark&) const = default;
    };

    DeviceImage& m_image;
    ReportSink& m_sink;
    EditHistory m_history;
    MouseMark m_lastMouse;
};

} // namespace quilo
