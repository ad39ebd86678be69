#pragma once

#include <QString>

class QComboBox;

namespace quilo {

// "CH n" (Chinese "通道n") for output channel 0-7.
QString outputChannelName(int channel, int language);
// The name of an outLocation code 0-7 ("CH-L" ... "CH-SR", Chinese "前置左" ... "侧环绕右");
// other codes show as their number.
QString outputLocationName(int code, int language);
// The eight channel names into a list, in the language, keeping its selection (none
// becomes the first entry).
void fillChannelList(QComboBox& list, int language);

} // namespace quilo
