#pragma once

#include <QIcon>

namespace quilo {

// The program's icons, drawn once in code so that they stay sharp at any size.
enum class AppIcon {
    Application,
    OpenFile,
    SaveFile,
    LoadMode,
    SaveMode,
    Features,
    Reset,
    SmartPlug,
    Remote,
    Phone,
    InputSource,
    Language,
    About,
    SubDecay,
    Undo,
    Redo,
};

QIcon appIcon(AppIcon which);

} // namespace quilo
