#pragma once

#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace quilo {

// One panel of a ribbon category: its controls above, its title in a band below.
class RibbonPanel : public QWidget {
    Q_OBJECT
public:
    explicit RibbonPanel(const QString& title, QWidget* parent = nullptr);

    QVBoxLayout* content() const { return m_content; }
    void setTitle(const QString& title);
    QString title() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_content;
    QLabel* m_title;
};

// The look shared by the ribbon's painted parts.
namespace ribbonlook {
constexpr int kTitleHeight = 18;
QColor background();
QColor border();
QColor titleBand();
QColor text();
} // namespace ribbonlook

} // namespace quilo
