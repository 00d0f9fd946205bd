#include "gui/charts/ChartCheckList.h"

#include <QAction>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

namespace korvan {

ChartCheckList::ChartCheckList(int columns, QWidget *parent) : QListWidget(parent), m_columns(columns)
{
    setSelectionMode(QAbstractItemView::NoSelection);
    setMouseTracking(true);
    if (m_columns > 1) {
        // Rows of equal cells filled left to right: two items side by side.
        setFlow(QListView::LeftToRight);
        setWrapping(true);
        setResizeMode(QListView::Adjust);
    }

    const auto addCommand = [this](const char *name, const QString &text, void (ChartCheckList::*command)()) {
        auto *a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, command);
        addAction(a);
    };
    addCommand("mnCheckAll", QStringLiteral("Выделить все"), &ChartCheckList::checkAll);
    addCommand("mnUncheckAll", QStringLiteral("Сбросить все"), &ChartCheckList::uncheckAll);
    addCommand("mnInvertAll", QStringLiteral("Обратить все"), &ChartCheckList::invertAll);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (!m_quiet)
            emit userToggled(row(item));
    });
    connect(this, &QListWidget::itemEntered, this, [this](QListWidgetItem *item) { emit hovered(row(item)); });
}

void ChartCheckList::setItems(const QStringList &texts)
{
    ++m_quiet;
    clear();
    for (const QString &t : texts)
        insertItemAt(count(), t, false);
    --m_quiet;
    updateGrid();
}

void ChartCheckList::insertItemAt(int row, const QString &text, bool checked)
{
    ++m_quiet;
    auto *item = new QListWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    insertItem(row, item);
    --m_quiet;
}

QString ChartCheckList::text(int row) const
{
    const QListWidgetItem *i = item(row);
    return i ? i->text() : QString();
}

bool ChartCheckList::isChecked(int row) const
{
    const QListWidgetItem *i = item(row);
    return i && i->checkState() == Qt::Checked;
}

void ChartCheckList::setChecked(int row, bool checked)
{
    if (QListWidgetItem *i = item(row)) {
        ++m_quiet;
        i->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
        --m_quiet;
    }
}

QList<int> ChartCheckList::checkedRows() const
{
    QList<int> rows;
    for (int r = 0; r < count(); ++r)
        if (isChecked(r))
            rows << r;
    return rows;
}

QStringList ChartCheckList::checkedTexts() const
{
    QStringList texts;
    for (int r : checkedRows())
        texts << text(r);
    return texts;
}

void ChartCheckList::checkAll()
{
    runCommand([](QListWidgetItem *i) { i->setCheckState(Qt::Checked); });
}
void ChartCheckList::uncheckAll()
{
    runCommand([](QListWidgetItem *i) { i->setCheckState(Qt::Unchecked); });
}
void ChartCheckList::invertAll()
{
    runCommand(
        [](QListWidgetItem *i) { i->setCheckState(i->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); });
}

void ChartCheckList::runCommand(const std::function<void(QListWidgetItem *)> &change)
{
    ++m_quiet;
    for (int r = 0; r < count(); ++r)
        change(item(r));
    --m_quiet;
    emit commandRun();
}

void ChartCheckList::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    updateGrid();
}

void ChartCheckList::updateGrid()
{
    if (m_columns <= 1)
        return;
    // Room for the scroll bar is kept either way, or its coming would push the second column away.
    const QScrollBar *bar = verticalScrollBar();
    const int width = viewport()->width() - (bar->isVisible() ? 0 : bar->sizeHint().width());
    setGridSize(QSize(std::max(1, width / m_columns - 1), fontMetrics().height() + 6));
}

} // namespace korvan
