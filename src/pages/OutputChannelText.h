#pragma once

#include <QString>

class QComboBox;

namespace quilo {

// "CH n" (Chinese "通道n") for output channel 0-7.
QString outputChannelName(int channel, int language);
// The eight channel names into a list, in the language, keeping its selection (none
// becomes the first entry).
void fillChannelList(QComboBox& list, int language);

} // namespace quilo
