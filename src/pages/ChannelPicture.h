#pragma once

#include <QWidget>

namespace quilo {

// The picture of the output channel being edited: a loudspeaker with the channel's name in
// the current language. Drawn in code at the screen's pixel ratio, so it stays crisp.
class ChannelPicture : public QWidget {
    Q_OBJECT

public:
    explicit ChannelPicture(QWidget* parent = nullptr);

    // Channel 0-7 and language index.
    void setChannel(int channel, int language);
    int channel() const { return m_channel; }
    // The name it shows: "CH 1" ... "CH 8" or "通道1" ... "通道8".
    QString caption() const;

    QSize sizeHint() const override { return QSize(150, 180); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_channel = 0;
    int m_language = 0;
};

} // namespace quilo
