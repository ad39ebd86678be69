#pragma once

#include "widgets/ResponsePlotRenderer.h"

#include <QWidget>

namespace quilo {

// The system response plot: shows the curves it is given in one view and, under the
// mouse, the frequency and every drawn curve's value there.
class ResponsePlot : public QWidget {
    Q_OBJECT
public:
    explicit ResponsePlot(QWidget* parent = nullptr);

    // The curves with a colour and a name each (for the read-out).
    void setCurves(ShownCurves shown, std::vector<QColor> colours, QStringList names);
    void setView(ResponseView view);
    void setEmptyText(const QString& text);

    const ShownCurves& shown() const { return m_shown; }
    ResponseView view() const { return m_view.view; }
    // The read-out for the point nearest to x (plot pixels); empty away from the plot.
    QStringList readoutAt(double x) const;
    // Hover as the mouse would: at x, or nowhere with a negative x.
    void hoverAt(double x);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int pointAt(double x) const;

    ShownCurves m_shown;
    QStringList m_names;
    ResponsePlotView m_view;
};

} // namespace quilo
