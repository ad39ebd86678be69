#pragma once

#include <QWidget>

namespace quilo {

// The picture beside the remote that names its keys 1-17 in the user-interface
// language.
class RemoteKeyList : public QWidget {
public:
    explicit RemoteKeyList(QWidget* parent = nullptr);

    void setLanguage(int language);
    int language() const { return m_language; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_language = 0;
};

} // namespace quilo
