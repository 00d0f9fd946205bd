#include "ViewerParts.h"

#include <QGroupBox>
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

} // namespace korvan
