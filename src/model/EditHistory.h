#pragma once

#include "device/ReportSink.h"
#include "model/DeviceImage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <thread>
#include <vector>

namespace quilo {

// What an edit can change, each restored through its own setter.
enum class EditTarget : std::uint8_t {
    Word,       // a DspParams word (index 0-215)
    BandRecord, // an EqBandStore record (index 0-178)
    MicBoost,   // the MicBoostWord
    RoomGain,   // the room compensation of one output (index 0-7)
    RoomLayout, // the RoomLayoutBlock
};

// One thing one step changed, with its bytes before and after.
struct EditItem {
    using Bytes = std::array<std::uint8_t, kRoomLayoutBlockSize>; // the widest target
    EditTarget target = EditTarget::Word;
    std::uint16_t index = 0;
    Bytes before{};
    Bytes after{};
};

// The user's undo and redo history over one image. The setters and band operations tell it
// what they are about to change (the note* functions below); what they change between two
// closeStep() calls is one step. Taking a step back or doing it again stores the values and
// sends them through the same setters and band operations, so the processor follows.
//
// Only edits made on the thread that created the history while that thread owns the image are
// recorded (a synchronisation run or a worker thread never is), and nothing is recorded while a
// step is being restored. All calls belong on that thread.
class EditHistory {
public:
    static constexpr std::size_t kDefaultLimit = 200;

    // Attaches itself to `image` until destroyed.
    explicit EditHistory(DeviceImage& image, std::size_t limit = kDefaultLimit);
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // Called before a change; the first note of a target in a step keeps its old bytes.
    void note(EditTarget target, std::size_t index);

    // Ends the step being recorded. Targets that ended as they began are dropped, and a step
    // that changed nothing is no step. A new step forgets what could be redone.
    void closeStep();
    bool stepOpen() const { return !m_open.empty(); }

    bool canUndo() const { return stepOpen() || !m_undo.empty(); }
    bool canRedo() const { return !stepOpen() && !m_redo.empty(); }
    std::size_t undoSteps() const { return m_undo.size(); }
    std::size_t redoSteps() const { return m_redo.size(); }

    // Closes the open step, then restores the last step's old values (or the last undone
    // step's new ones) through the setters on `sink`. False when there is nothing to do or the
    // image is not this thread's now.
    bool undo(ReportSink& sink);
    bool redo(ReportSink& sink);

    // Forgets everything (the image was replaced: a read-back, a file or a preset).
    void clear();

private:
    using Step = std::vector<EditItem>;

    bool recording() const;
    bool mayRestore() const;
    EditItem::Bytes current(EditTarget target, std::size_t index) const;
    // Restores the last step of `from` and moves it to `to`.
    bool travel(std::deque<Step>& from, std::deque<Step>& to, bool undoing, ReportSink& sink);
    void restore(const Step& step, bool undoing, ReportSink& sink);

    DeviceImage& m_image;
    std::size_t m_limit;
    std::thread::id m_thread;
    bool m_restoring = false;
    Step m_open;
    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
};

// The hooks the setters call; they do nothing when the image keeps no history.
inline void noteEdit(DeviceImage& image, EditTarget target, std::size_t index = 0) {
    if (EditHistory* h = image.edits.load(std::memory_order_acquire)) {
        h->note(target, index);
    }
}

} // namespace quilo
