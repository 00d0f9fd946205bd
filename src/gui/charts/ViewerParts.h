#pragma once

#include "charts/ChartItems.h"

#include <QList>
#include <QString>
#include <QStringList>

class QGroupBox;
class QPushButton;
class QWidget;

namespace korvan {

// Small pieces both chart viewers are made of.
QGroupBox *viewerGroup(const QString &title, QWidget *content);
QPushButton *viewerButton(QWidget *parent, const char *name, const QString &text, const QString &hint);
QStringList itemTexts(const QList<ChartItem> &items);

} // namespace korvan
