#pragma once

#include "core/graphs/GraphTable.h"

#include <QChartView>

namespace korvan {

// A daily load graph drawn as steps: each period a level from T1 to T2, hours labelled on the
// horizontal axis "Т, час", the value axis from 0.
class StepChart : public QChartView {
    Q_OBJECT
public:
    explicit StepChart(QWidget *parent = nullptr);
    // Draws P and/or Q of the periods under the title; the value axis gets its own title.
    void draw(const QList<LoadPeriod> &periods, bool showP, bool showQ, const QString &title,
              const QString &valueTitle);
    void clear(const QString &title, const QString &valueTitle);
    int seriesCount() const;
};

} // namespace korvan
