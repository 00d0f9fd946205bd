#include "gui/graphs/StepChart.h"

#include "core/calc/Numbers.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QLocale>
#include <QValueAxis>
#include <algorithm>

namespace korvan {

StepChart::StepChart(QWidget *parent) : QChartView(new QChart, parent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->setBackgroundBrush(Qt::white);
    // Numbers on the axes with a decimal comma, as everywhere in the program.
    chart()->setLocale(QLocale(QLocale::Russian, QLocale::Ukraine));
    chart()->setLocalizeNumbers(true);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    setMinimumHeight(200);
}

void StepChart::clear(const QString &title, const QString &valueTitle) { draw({}, false, false, title, valueTitle); }

int StepChart::seriesCount() const { return int(chart()->series().size()); }

void StepChart::draw(const QList<LoadPeriod> &periods, bool showP, bool showQ, const QString &title,
                     const QString &valueTitle)
{
    QChart *c = chart();
    c->removeAllSeries();
    for (QAbstractAxis *axis : c->axes())
        c->removeAxis(axis);
    c->setTitle(title);

    auto *hours = new QCategoryAxis;
    hours->setTitleText(QStringLiteral("Т, час"));
    hours->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    auto *values = new QValueAxis;
    values->setTitleText(valueTitle);
    // With localised numbers the label format needs an explicit precision, or no label is drawn.
    values->setLabelFormat(QStringLiteral("%.6g"));
    c->addAxis(hours, Qt::AlignBottom);
    c->addAxis(values, Qt::AlignLeft);

    double maxValue = 0, minT = 0, maxT = 24;
    if (!periods.isEmpty()) {
        minT = periods.first().T1;
        maxT = periods.last().T2;
    }
    const auto add = [&](bool show, const QString &name, const QColor &colour, auto value) {
        if (!show || periods.isEmpty())
            return;
        auto *series = new QLineSeries;
        series->setName(name);
        series->setPen(QPen(colour, 3));
        for (const LoadPeriod &p : periods) {
            series->append(p.T1, value(p));
            series->append(p.T2, value(p));
            maxValue = std::max(maxValue, value(p));
        }
        c->addSeries(series);
        series->attachAxis(hours);
        series->attachAxis(values);
    };
    add(showP, QStringLiteral("P = f(T)"), QColor(0x1f, 0x5f, 0xbf), [](const LoadPeriod &p) { return p.P; });
    add(showQ, QStringLiteral("Q = f(T)"), QColor(0xd0, 0x54, 0x2c), [](const LoadPeriod &p) { return p.Q; });

    QList<double> ticks;
    for (const LoadPeriod &p : periods) {
        ticks << p.T1;
        ticks << p.T2;
    }
    // An empty chart still shows the hours of a day.
    if (ticks.isEmpty())
        for (int h = 0; h <= 24; h += 2)
            ticks << h;
    std::sort(ticks.begin(), ticks.end());
    ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());
    // Long graphs get fewer labels, so the hours stay readable.
    const int every = int(ticks.size() + 12) / 13;
    for (int i = 0; i < ticks.size(); i += every)
        hours->append(numberText(ticks[i]), ticks[i]);
    hours->setRange(minT, maxT);
    values->setRange(0, maxValue > 0 ? maxValue * 1.05 : 1);
    values->applyNiceNumbers();
}

} // namespace korvan
