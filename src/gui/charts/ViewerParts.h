#pragma once

#include "core/charts/ChartItems.h"

#include <QList>
#include <QString>
#include <QStringList>

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace korvan {

// Small pieces both chart viewers are made of.
QGroupBox *viewerGroup(const QString &title, QWidget *content);
QPushButton *viewerButton(QWidget *parent, const char *name, const QString &text, const QString &hint);
QStringList itemTexts(const QList<ChartItem> &items);

class ChartCheckList;

// The lower row of a viewer: the three lists in their groups and the column of its buttons.
QHBoxLayout *viewerListsRow(ChartCheckList *without, ChartCheckList *with, ChartCheckList *variants,
                            QCheckBox *autoDraw, QPushButton *update, QPushButton *word, QPushButton *help,
                            QPushButton *close);

} // namespace korvan
