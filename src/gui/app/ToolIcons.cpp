#include "gui/app/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace korvan {

namespace {

const QColor Ink(40, 52, 70);
const QColor Blue(35, 105, 190);
const QColor Green(30, 150, 60);
const QColor Red(200, 40, 40);

void page(QPainter &p, const QRectF &r)
{
    QPainterPath path;
    const qreal fold = r.width() * 0.3;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(Ink, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void textLines(QPainter &p, const QRectF &r, int n)
{
    p.setPen(QPen(QColor(120, 130, 150), 1.2));
    for (int i = 0; i < n; ++i) {
        const qreal y = r.top() + (i + 1) * r.height() / (n + 1);
        p.drawLine(QPointF(r.left(), y), QPointF(r.right() - (i % 2) * r.width() * 0.3, y));
    }
}

void plus(QPainter &p, const QPointF &c, qreal s, const QColor &color = Green)
{
    p.setPen(QPen(color, s * 0.45, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - s, c.y()), QPointF(c.x() + s, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - s), QPointF(c.x(), c.y() + s));
}

void cross(QPainter &p, const QPointF &c, qreal s)
{
    p.setPen(QPen(Red, s * 0.45, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - s, c.y() - s), QPointF(c.x() + s, c.y() + s));
    p.drawLine(QPointF(c.x() - s, c.y() + s), QPointF(c.x() + s, c.y() - s));
}

void pencil(QPainter &p, const QPointF &tip, qreal len)
{
    p.save();
    p.translate(tip);
    p.rotate(-45);
    p.setPen(QPen(Ink, 0.8));
    p.setBrush(QColor(240, 190, 60));
    p.drawRect(QRectF(len * 0.25, -len * 0.14, len * 0.75, len * 0.28));
    QPolygonF nib{QPointF(0, 0), QPointF(len * 0.25, -len * 0.14), QPointF(len * 0.25, len * 0.14)};
    p.setBrush(QColor(250, 230, 200));
    p.drawPolygon(nib);
    p.restore();
}

// Two plates with their leads: the capacitor of the schematics.
void capacitor(QPainter &p, const QRectF &r, const QColor &color = Blue)
{
    const qreal cx = r.center().x(), gap = r.width() * 0.12;
    p.setPen(QPen(Ink, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(cx - gap, r.center().y()));
    p.drawLine(QPointF(cx + gap, r.center().y()), QPointF(r.right(), r.center().y()));
    p.setPen(QPen(color, r.width() * 0.11, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(cx - gap, r.top()), QPointF(cx - gap, r.bottom()));
    p.drawLine(QPointF(cx + gap, r.top()), QPointF(cx + gap, r.bottom()));
}

void axes(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(Ink, 1.2));
    p.drawLine(r.bottomLeft(), r.topLeft());
    p.drawLine(r.bottomLeft(), r.bottomRight());
}

void stepLine(QPainter &p, const QRectF &r, const QColor &color)
{
    const qreal h[] = {0.55, 0.2, 0.35, 0.7, 0.45};
    QPolygonF line;
    const qreal w = r.width() / 5;
    for (int i = 0; i < 5; ++i) {
        const qreal y = r.top() + h[i] * r.height();
        line << QPointF(r.left() + i * w, y) << QPointF(r.left() + (i + 1) * w, y);
    }
    p.setPen(QPen(color, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(line);
}

void badge(QPainter &p, const QPointF &c, qreal radius, const QString &text, const QColor &color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(c, radius, radius);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(int(radius * 1.6));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), Qt::AlignCenter, text);
}

QPixmap draw(ToolIcon kind, int s)
{
    QPixmap pm(s, s);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(s / 24.0, s / 24.0);
    switch (kind) {
    case ToolIcon::Create:
        page(p, QRectF(3.5, 2.5, 14, 19));
        plus(p, QPointF(17.5, 17.5), 4.5);
        break;
    case ToolIcon::Open: {
        p.setPen(QPen(QColor(150, 110, 20), 1.2));
        p.setBrush(QColor(240, 200, 90));
        QPainterPath back;
        back.moveTo(2.5, 5.5);
        back.lineTo(9, 5.5);
        back.lineTo(11, 7.5);
        back.lineTo(20.5, 7.5);
        back.lineTo(20.5, 19.5);
        back.lineTo(2.5, 19.5);
        back.closeSubpath();
        p.drawPath(back);
        p.setBrush(QColor(252, 222, 120));
        p.drawPolygon(QPolygonF{QPointF(2.5, 19.5), QPointF(5.5, 10.5), QPointF(23, 10.5), QPointF(20.5, 19.5)});
        break;
    }
    case ToolIcon::Recalc: {
        p.setPen(QPen(Blue, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        const QRectF ring(4.5, 4.5, 15, 15);
        p.drawArc(ring, 30 * 16, 150 * 16);
        p.drawArc(ring, 210 * 16, 150 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(Blue);
        p.drawPolygon(QPolygonF{QPointF(19.5, 3.5), QPointF(20.5, 10.5), QPointF(14, 8.5)});
        p.drawPolygon(QPolygonF{QPointF(4.5, 20.5), QPointF(3.5, 13.5), QPointF(10, 15.5)});
        break;
    }
    case ToolIcon::DailyGraphs:
        axes(p, QRectF(3, 3, 18, 18));
        stepLine(p, QRectF(4, 5, 17, 14), Red);
        break;
    case ToolIcon::Diagrams: {
        axes(p, QRectF(3, 3, 18, 18));
        const QColor colors[] = {Blue, Green, QColor(230, 140, 30)};
        const qreal heights[] = {9, 14, 6};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i) {
            p.setBrush(colors[i]);
            p.drawRect(QRectF(5.5 + i * 5, 21 - heights[i], 4, heights[i]));
        }
        break;
    }
    case ToolIcon::Report:
        page(p, QRectF(4.5, 2.5, 15, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(Blue);
        p.drawRect(QRectF(6.5, 6, 7, 3));
        textLines(p, QRectF(6.5, 9, 11, 11), 4);
        break;
    case ToolIcon::AddGraph:
        axes(p, QRectF(2, 3, 16, 17));
        stepLine(p, QRectF(3, 5, 15, 12), Red);
        plus(p, QPointF(18, 17), 4.5);
        break;
    case ToolIcon::EditGraph:
        axes(p, QRectF(2, 3, 16, 17));
        stepLine(p, QRectF(3, 5, 15, 12), Red);
        pencil(p, QPointF(12, 21), 12);
        break;
    case ToolIcon::KUAdd:
        capacitor(p, QRectF(1.5, 3.5, 15, 13));
        plus(p, QPointF(18, 18), 4.5);
        break;
    case ToolIcon::KUEdit:
        capacitor(p, QRectF(1.5, 3.5, 15, 13));
        pencil(p, QPointF(12, 22), 12);
        break;
    case ToolIcon::KUDelete:
        capacitor(p, QRectF(1.5, 3.5, 15, 13));
        cross(p, QPointF(18, 18), 3.8);
        break;
    case ToolIcon::KUSelectOne:
        capacitor(p, QRectF(1.5, 3.5, 15, 13));
        badge(p, QPointF(18, 17.5), 5, QStringLiteral("1"), Green);
        break;
    case ToolIcon::KUSelectAll:
        capacitor(p, QRectF(0.5, 1.5, 11, 9));
        capacitor(p, QRectF(12.5, 1.5, 11, 9));
        capacitor(p, QRectF(0.5, 13.5, 11, 9));
        capacitor(p, QRectF(12.5, 13.5, 11, 9), Green);
        break;
    case ToolIcon::KUReport:
        page(p, QRectF(4.5, 2.5, 15, 19));
        capacitor(p, QRectF(6.5, 6, 11, 7));
        textLines(p, QRectF(6.5, 13, 11, 7), 2);
        break;
    case ToolIcon::Help:
        badge(p, QPointF(12, 12), 10, QStringLiteral("?"), Blue);
        break;
    }
    return pm;
}

} // namespace

QIcon toolIcon(ToolIcon kind)
{
    QIcon icon;
    for (int s : {16, 24, 32, 48})
        icon.addPixmap(draw(kind, s));
    return icon;
}

QPixmap programPicture(int width, int height)
{
    QPixmap pm(width, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(28, 62, 110));
    sky.setColorAt(1, QColor(12, 28, 56));
    p.fillRect(pm.rect(), sky);
    p.scale(width / 200.0, height / 240.0);

    // The power triangle: P along the bottom, Q up, S the hypotenuse; the compensated S' lower.
    const QPointF o(28, 200), pEnd(172, 200), qEnd(172, 60), qComp(172, 150);
    p.setPen(QPen(QColor(120, 200, 255), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(o, pEnd);
    p.setPen(QPen(QColor(255, 120, 100), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(pEnd, qEnd);
    p.setPen(QPen(QColor(255, 220, 120), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(o, qEnd);
    p.setPen(QPen(QColor(140, 230, 140), 3, Qt::DashLine, Qt::RoundCap));
    p.drawLine(o, qComp);
    QFont f = p.font();
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(120, 200, 255));
    p.drawText(QPointF(92, 222), QStringLiteral("P"));
    p.setPen(QColor(255, 120, 100));
    p.drawText(QPointF(178, 118), QStringLiteral("Q"));
    p.setPen(QColor(255, 220, 120));
    p.drawText(QPointF(80, 118), QStringLiteral("S"));
    p.setPen(QColor(140, 230, 140));
    p.drawText(QPointF(62, 196), QStringLiteral("φ"));

    // The capacitor bank that takes Q down: three capacitors between two bus bars.
    p.setPen(QPen(QColor(220, 230, 240), 2.5));
    p.drawLine(QPointF(30, 22), QPointF(130, 22));
    for (int i = 0; i < 3; ++i) {
        const qreal x = 45 + i * 35;
        p.setPen(QPen(QColor(220, 230, 240), 2));
        p.drawLine(QPointF(x, 22), QPointF(x, 36));
        p.setPen(QPen(QColor(120, 200, 255), 4, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(x - 10, 36), QPointF(x + 10, 36));
        p.drawLine(QPointF(x - 10, 44), QPointF(x + 10, 44));
        p.setPen(QPen(QColor(220, 230, 240), 2));
        p.drawLine(QPointF(x, 44), QPointF(x, 54));
    }
    p.drawLine(QPointF(45, 54), QPointF(115, 54));
    return pm;
}

} // namespace korvan
