#include "room/RoomEditor.h"

#include "device/WireValue.h"
#include "model/EditHistory.h"
#include "model/ParamTable.h"

#include <cmath>

namespace quilo {

RoomEditor::RoomEditor(DeviceImage& image, ReportSink& sink)
    : m_image(image), m_ops(sink), m_setters(image, sink),
      m_layout(decodeRoomLayout(image.roomLayout)) {}

void RoomEditor::reload() {
    m_layout = decodeRoomLayout(m_image.roomLayout);
}

int RoomEditor::writeLayout() {
    noteEdit(m_image, EditTarget::RoomLayout);
    m_image.roomLayout = encodeRoomLayout(m_layout);
    // From now on the page works with what the block keeps (tenths of a metre), as it
    // does when it is opened again: distances and corrections never change on reopening.
    m_layout = decodeRoomLayout(m_image.roomLayout);
    return m_ops.WriteMemory(kRoomLayoutBlockAddress, m_image.roomLayout);
}

int RoomEditor::setSpeakerGain(int speaker, float gainDb) {
    if (speaker < 0 || speaker >= kSpeakerCount) {
        return 0;
    }
    const std::int32_t code = kSpeakerLocationCodes[static_cast<std::size_t>(speaker)];
    for (int channel = 0; channel < 8; ++channel) {
        if (m_image.params.outLocation[channel] == code) {
            return m_setters.setRoomGain(channel, gainDb);
        }
    }
    return 0;
}

int RoomEditor::applyCorrection(int speaker) {
    if (speaker < 0 || speaker >= kSpeakerCount) {
        return 0;
    }
    return setSpeakerGain(speaker, speakerCorrection(m_layout, speaker).gainDb);
}

int RoomEditor::applyAllCorrections() {
    int result = 0;
    for (int k = 0; k < kSpeakerCount; ++k) {
        if (const int sent = applyCorrection(k); sent != 0) {
            result = sent;
        }
    }
    return result;
}

int RoomEditor::setPosition(int entry, RoomPoint point) {
    if (!RoomLayout::isEntry(entry)) {
        return 0;
    }
    m_layout.setPosition(
        entry, {std::isfinite(point.x) ? point.x : 0.0f, std::isfinite(point.y) ? point.y : 0.0f});
    const int written = writeLayout();
    // A loudspeaker that no output drives sends no correction.
    const int corrected = entry == 0 ? applyAllCorrections() : applyCorrection(entry - 1);
    return corrected != 0 ? corrected : written;
}

RoomPoint RoomEditor::editPosition(int entry, double x, double y) {
    const RoomPoint point{clampToRoom(x, m_layout.roomWidth), clampToRoom(y, m_layout.roomLength)};
    setPosition(entry, point);
    return RoomLayout::isEntry(entry) ? m_layout.position(entry) : point;
}

int RoomEditor::setRoomSize(long widthM, long lengthM) {
    m_layout.roomWidth = clampRoomSize(widthM);
    m_layout.roomLength = clampRoomSize(lengthM);
    return writeLayout();
}

int RoomEditor::center() {
    return setPosition(0, {});
}

int RoomEditor::reset() {
    for (int channel = 0; channel < 8; ++channel) {
        m_setters.setRoomGain(channel, 0.0f);
    }
    m_layout = decodeRoomLayout(kDefaultRoomLayout);
    return writeLayout();
}

int RoomEditor::locate(int channel) {
    if (channel < 0 || channel >= 8) {
        return 0;
    }
    const ParamAddress at = addressOf(param::kLocateSignal);
    return m_ops.SetParam(at.module, at.param, encodeInt(m_image.params.outLocation[channel]),
                          at.count);
}

int RoomEditor::stopLocate() {
    const ParamAddress at = addressOf(param::kLocateSignal);
    return m_ops.SetParam(at.module, at.param,
                          encodeInt(static_cast<std::int32_t>(param::kLocateNone)), at.count);
}

} // namespace quilo
