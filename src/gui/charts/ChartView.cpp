#include "gui/charts/ChartView.h"

#include <QChart>
#include <QLegend>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QValueAxis>
#include <iterator>

namespace korvan {

ChartView::ChartView(QWidget *parent) : QChartView(new QChart, parent)
{
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);
    setDragMode(QGraphicsView::NoDrag);
    chart()->setBackgroundBrush(Qt::white);
    chart()->setPlotAreaBackgroundBrush(Qt::white);
    chart()->setPlotAreaBackgroundVisible(true);
    chart()->setLocale(QLocale(QLocale::Russian, QLocale::Ukraine));
    chart()->setLocalizeNumbers(true);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    QFont title = chart()->titleFont();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() + 1);
    chart()->setTitleFont(title);
    setMinimumSize(400, 300);
}

QColor ChartView::seriesColour(int index)
{
    static const QColor colours[] = {
        QColor(0x1f, 0x5f, 0xbf), QColor(0xd0, 0x54, 0x2c), QColor(0x2e, 0x8b, 0x3e), QColor(0x8e, 0x44, 0xad),
        QColor(0xc9, 0x9a, 0x06), QColor(0x16, 0x9c, 0xb0), QColor(0xb0, 0x1e, 0x5a), QColor(0x5d, 0x40, 0x37),
        QColor(0x60, 0x7d, 0x8b), QColor(0x7c, 0xb3, 0x42), QColor(0xe6, 0x7e, 0x22), QColor(0x34, 0x49, 0x5e),
    };
    constexpr int n = int(std::size(colours));
    const QColor base = colours[index % n];
    // Past the first dozen the same hues come back lighter, so neighbours still differ.
    return index < n ? base : base.lighter(100 + 25 * (index / n));
}

void ChartView::rememberFullRanges()
{
    m_fullRanges.clear();
    for (QAbstractAxis *axis : chart()->axes())
        if (auto *v = qobject_cast<QValueAxis *>(axis))
            m_fullRanges.append({axis, {v->min(), v->max()}});
}

void ChartView::zoomBy(double fraction)
{
    for (QAbstractAxis *axis : chart()->axes())
        if (auto *v = qobject_cast<QValueAxis *>(axis)) {
            const double a = v->min(), b = v->max();
            const double d = (b - a) * fraction;
            v->setRange(a + d, b - d);
        }
    chart()->update();
}

void ChartView::resetZoom()
{
    const QList<QAbstractAxis *> axes = chart()->axes();
    for (const auto &[axis, range] : m_fullRanges)
        if (axes.contains(axis))
            static_cast<QValueAxis *>(axis)->setRange(range.first, range.second);
    chart()->update();
}

bool ChartView::savePicture(const QString &fileName)
{
    QPixmap picture(size());
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        render(&painter);
    }
    return picture.save(fileName, "PNG");
}

} // namespace korvan
