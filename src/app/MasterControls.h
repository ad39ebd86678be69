#pragma once

#include "app/RibbonIds.h"

#include <QObject>
#include <QString>

namespace quilo {

class CMyMFCRibbonBar;
class FieldSetters;
class Language;
class Prompter;
struct DeviceImage;

// The master volumes, pitch and noise gate on the ribbon, and the four mutes: both
// copies of every control move together, each change is stored and sent, volumes
// keep to the maxima of the machine settings.
class MasterControls : public QObject {
    Q_OBJECT
public:
    MasterControls(DeviceImage& image, FieldSetters& setters, CMyMFCRibbonBar& ribbon,
                   Language& language, Prompter& prompter);

    // A ribbon slider moved to `value` (either copy), or a key stepped it there.
    void moveVolume(ribbon::Slider which, int value);
    void toggleMute(ribbon::Mute which);
    // A volume key: one step up or down from the setting (1 with the left Ctrl key,
    // else 5 below 50 and 2 from there), then as if the slider moved.
    void stepVolume(ribbon::Slider which, bool up, bool leftCtrl);
    // Every slider, label and mute from the image.
    void refresh();
    // The mute marks alone.
    void showMutes();

private:
    int volumeLimit(ribbon::Slider which) const;
    QString volumeLabel(ribbon::Slider which, int value) const;

    DeviceImage& m_image;
    FieldSetters& m_setters;
    CMyMFCRibbonBar& m_ribbon;
    Language& m_language;
    Prompter& m_prompter;
};

} // namespace quilo
