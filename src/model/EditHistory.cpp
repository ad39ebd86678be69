#include "model/EditHistory.h"

#include "device/BigEndian.h"
#include "device/DeviceOps.h"
#include "model/BandOps.h"
#include "model/EqBand.h"
#include "model/FieldSetters.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

namespace quilo {

namespace {

// The equaliser band (or the boost band, eqId -1) a store record belongs to.
struct RecordOwner {
    int eqId = -1;
    int band = 0;
};

const std::array<RecordOwner, kEqBandRecords>& recordOwners() {
    static const auto owners = [] {
        std::array<RecordOwner, kEqBandRecords> o{};
        for (int eqId = 0; eqId < kEqCount; ++eqId) {
            const EqInfo eq = *eqInfo(eqId);
            for (int b = 0; b < eq.storedBands; ++b) {
                const std::size_t r = bandAddress(eq.module, eq.firstBand + b) / kEqBandRecordSize;
                o[r] = {eqId, b};
            }
        }
        return o;
    }();
    return owners;
}

bool validIndex(EditTarget target, std::size_t index) {
    switch (target) {
    case EditTarget::Word:
        return index < DspParams::kWords;
    case EditTarget::BandRecord:
        return index < kEqBandRecords;
    case EditTarget::RoomGain:
        return index < 8;
    case EditTarget::MicBoost:
    case EditTarget::RoomLayout:
        return index == 0;
    }
    return false;
}

} // namespace

EditHistory::EditHistory(DeviceImage& image, std::size_t limit)
    : m_image(image), m_limit(std::max<std::size_t>(limit, 1)),
      m_thread(std::this_thread::get_id()) {
    m_image.edits.store(this, std::memory_order_release);
}

EditHistory::~EditHistory() {
    EditHistory* self = this;
    m_image.edits.compare_exchange_strong(self, nullptr);
}

bool EditHistory::mayRestore() const {
    return std::this_thread::get_id() == m_thread && m_image.mainThreadOwns();
}

bool EditHistory::recording() const {
    return !m_restoring && mayRestore();
}

EditItem::Bytes EditHistory::current(EditTarget target, std::size_t index) const {
    EditItem::Bytes bytes{};
    switch (target) {
    case EditTarget::Word: {
        const std::uint32_t w = m_image.params.word(index);
        std::memcpy(bytes.data(), &w, sizeof w);
        break;
    }
    case EditTarget::BandRecord:
        std::copy_n(m_image.eqBands.begin() + std::ptrdiff_t(index * kEqBandRecordSize),
                    kEqBandRecordSize, bytes.begin());
        break;
    case EditTarget::MicBoost:
        std::copy(m_image.micBoost.begin(), m_image.micBoost.end(), bytes.begin());
        break;
    case EditTarget::RoomGain:
        std::copy_n(m_image.roomGain.begin() + std::ptrdiff_t(index * 4), 4, bytes.begin());
        break;
    case EditTarget::RoomLayout:
        std::copy(m_image.roomLayout.begin(), m_image.roomLayout.end(), bytes.begin());
        break;
    }
    return bytes;
}

void EditHistory::note(EditTarget target, std::size_t index) {
    if (!recording() || !validIndex(target, index)) {
        return;
    }
    const auto idx = static_cast<std::uint16_t>(index);
    for (const EditItem& item : m_open) {
        if (item.target == target && item.index == idx) {
            return;
        }
    }
    EditItem item;
    item.target = target;
    item.index = idx;
    item.before = current(target, index);
    m_open.push_back(item);
}

void EditHistory::closeStep() {
    if (m_open.empty()) {
        return;
    }
    Step step = std::move(m_open);
    m_open.clear();
    for (EditItem& item : step) {
        item.after = current(item.target, item.index);
    }
    std::erase_if(step, [](const EditItem& item) { return item.before == item.after; });
    if (step.empty()) {
        return;
    }
    m_undo.push_back(std::move(step));
    while (m_undo.size() > m_limit) {
        m_undo.pop_front();
    }
    m_redo.clear();
}

void EditHistory::clear() {
    m_open.clear();
    m_undo.clear();
    m_redo.clear();
}

bool EditHistory::undo(ReportSink& sink) {
    return travel(m_undo, m_redo, true, sink);
}

bool EditHistory::redo(ReportSink& sink) {
    return travel(m_redo, m_undo, false, sink);
}

bool EditHistory::travel(std::deque<Step>& from, std::deque<Step>& to, bool undoing,
                         ReportSink& sink) {
    if (!mayRestore()) {
        return false;
    }
    closeStep();
    if (from.empty()) {
        return false;
    }
    Step step = std::move(from.back());
    from.pop_back();
    restore(step, undoing, sink);
    to.push_back(std::move(step));
    return true;
}

void EditHistory::restore(const Step& step, bool undoing, ReportSink& sink) {
    m_restoring = true;
    FieldSetters setters(m_image, sink);
    BandOps bands(m_image, sink);
    DeviceOps ops(sink);

    const auto put = [&](const EditItem& item) {
        const EditItem::Bytes& bytes = undoing ? item.before : item.after;
        switch (item.target) {
        case EditTarget::Word: {
            std::uint32_t bits;
            std::memcpy(&bits, bytes.data(), sizeof bits);
            const ParamRow* row = firstRowOfWord(item.index);
            const double value = row && row->field.isFloat
                                     ? double(std::bit_cast<float>(bits))
                                     : double(static_cast<std::int32_t>(bits));
            setters.setWord(item.index, value);
            break;
        }
        case EditTarget::BandRecord: {
            EqBandRecord record;
            std::copy_n(bytes.begin(), record.size(), record.begin());
            const EqBand v = decodeBand(record);
            const RecordOwner owner = recordOwners()[item.index];
            if (owner.eqId < 0) {
                bands.applyBoostBand(v.type, v.gainDb, v.freqHz, v.q);
            } else {
                bands.applyBand(owner.eqId, owner.band, v.type, v.gainDb, v.freqHz, v.q);
            }
            break;
        }
        case EditTarget::MicBoost: {
            MicBoostWord word;
            std::copy_n(bytes.begin(), word.size(), word.begin());
            setters.setMicBoost(micBoostDb(word));
            break;
        }
        case EditTarget::RoomGain:
            setters.setRoomGain(item.index, std::bit_cast<float>(readU32(bytes, 0)));
            break;
        case EditTarget::RoomLayout:
            std::copy_n(bytes.begin(), m_image.roomLayout.size(), m_image.roomLayout.begin());
            ops.WriteMemory(kRoomLayoutBlockAddress, m_image.roomLayout);
            break;
        }
    };

    // Words first: some send band records of their own (the delay mode sends the split
    // bands), which the step's records then set exactly as they were.
    const auto pass = [&](bool words) {
        if (undoing) {
            for (auto it = step.rbegin(); it != step.rend(); ++it) {
                if ((it->target == EditTarget::Word) == words) {
                    put(*it);
                }
            }
        } else {
            for (const EditItem& item : step) {
                if ((item.target == EditTarget::Word) == words) {
                    put(item);
                }
            }
        }
    };
    pass(true);
    pass(false);
    m_restoring = false;
}

} // namespace quilo
