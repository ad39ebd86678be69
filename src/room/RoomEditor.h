#pragma once

#include "device/DeviceOps.h"
#include "model/DeviceImage.h"
#include "model/FieldSetters.h"
#include "room/DistanceCorrection.h"
#include "room/RoomLayout.h"

namespace quilo {

// What the room page does to the image and the processor, without its widgets:
// it holds the layout the page edits, writes it as RoomLayoutBlock on every
// change and sends the distance corrections as room level compensation of the
// outputs that drive the moved loudspeakers. Runs on the user-interface thread.
// Results are those of the last report sent (61, or 0 with no processor or when
// nothing was sent).
class RoomEditor {
public:
    // Starts from the layout the image holds.
    RoomEditor(DeviceImage& image, ReportSink& sink);

    const RoomLayout& layout() const { return m_layout; }
    // Takes the layout from the image again (after a read-back or a mode load).
    void reload();

    // Encodes the layout into the image's RoomLayoutBlock and writes it to memory.
    int writeLayout();
    // Room compensation of the first output whose outLocation is loudspeaker k's
    // code; nothing when no output drives it.
    int setSpeakerGain(int speaker, float gainDb);
    // The distance correction of loudspeaker k (0-7), sent with setSpeakerGain.
    int applyCorrection(int speaker);
    int applyAllCorrections();

    // An entry (0 listener, k + 1 loudspeaker k) placed as given (the floor plan
    // reports where it put it; a coordinate that is not finite counts as 0):
    // store, write the layout, correct the moved loudspeaker or all eight when the
    // listener moved. Entries outside 0-8 change and send nothing.
    int setPosition(int entry, RoomPoint point);
    // The same from the position boxes and spins: the numbers are first taken into
    // the room. Returns the position stored.
    RoomPoint editPosition(int entry, double x, double y);
    // Both sizes taken into 1-10 m, stored and written; positions outside the new
    // room stay where they are, so no correction is sent.
    int setRoomSize(long widthM, long lengthM);
    // The listener to the centre of the room, then all eight corrections.
    int center();
    // 0 dB on all eight outputs, whatever their location, then the default layout.
    int reset();

    // Makes the processor play its locating signal on output `channel` (0-7): the
    // channel's location code goes to the locate parameter. stopLocate() sends 8.
    int locate(int channel);
    int stopLocate();

private:
    DeviceImage& m_image;
    DeviceOps m_ops;
    FieldSetters m_setters;
    RoomLayout m_layout;
};

} // namespace quilo
