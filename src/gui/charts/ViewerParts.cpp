#include "gui/charts/ViewerParts.h"

#include "gui/charts/ChartCheckList.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

QGroupBox *viewerGroup(const QString &title, QWidget *content)
{
    auto *box = new QGroupBox(title);
    auto *l = new QVBoxLayout(box);
    l->setContentsMargins(4, 4, 4, 4);
    l->addWidget(content);
    return box;
}

QPushButton *viewerButton(QWidget *parent, const char *name, const QString &text, const QString &hint)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    if (!hint.isEmpty()) {
        b->setToolTip(hint);
        b->setStatusTip(hint);
    }
    b->setAutoDefault(false);
    return b;
}

QStringList itemTexts(const QList<ChartItem> &items)
{
    QStringList texts;
    for (const ChartItem &i : items)
        texts << i.text;
    return texts;
}

QHBoxLayout *viewerListsRow(ChartCheckList *without, ChartCheckList *with, ChartCheckList *variants,
                            QCheckBox *autoDraw, QPushButton *update, QPushButton *word, QPushButton *help,
                            QPushButton *close)
{
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(autoDraw);
    buttons->addWidget(update);
    buttons->addWidget(word);
    buttons->addStretch(1);
    buttons->addWidget(help);
    buttons->addWidget(close);

    auto *lists = new QHBoxLayout;
    lists->addWidget(viewerGroup(QStringLiteral("Без учета компенсации"), without), 3);
    lists->addWidget(viewerGroup(QStringLiteral("С учетом компенсации"), with), 3);
    lists->addWidget(viewerGroup(QStringLiteral("Варианты компенсации"), variants), 2);
    lists->addLayout(buttons);
    for (ChartCheckList *l : {without, with, variants})
        l->setFixedHeight(150);
    return lists;
}

} // namespace korvan
