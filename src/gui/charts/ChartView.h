#pragma once

#include <QChartView>
#include <QColor>
#include <QList>
#include <QPair>

class QAbstractAxis;

namespace korvan {

// The chart of a viewer: white, numbers with a decimal comma, legend below, no mouse zoom or
// pan. Zooming is done by the program on the value axes, and the ranges of the last drawing are
// kept so that every zoom can be undone.
class ChartView : public QChartView {
    Q_OBJECT
public:
    explicit ChartView(QWidget *parent = nullptr);

    // A colour per series index, distinct for the first dozen.
    static QColor seriesColour(int index);

    // Takes the ranges shown now as the full ones (after a drawing).
    void rememberFullRanges();
    // Every value axis from a–b to a+d … b−d with d = (b − a) × fraction: 0,1 zooms in, −0,1 out.
    void zoomBy(double fraction);
    // Back to the full ranges.
    void resetZoom();

    // The chart as a picture file on a white background (PNG); false when it cannot be written.
    bool savePicture(const QString &fileName);

private:
    QList<QPair<QAbstractAxis *, QPair<double, double>>> m_fullRanges;
};

} // namespace korvan
