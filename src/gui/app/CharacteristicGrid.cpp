#include "gui/app/CharacteristicGrid.h"

#include <QHeaderView>
#include <QScrollBar>

namespace korvan {

CharacteristicGrid::CharacteristicGrid(int columns, const QColor &valueColor, QWidget *parent)
    : QTableWidget(2, columns, parent), m_valueColor(valueColor)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrap(false);
    setMouseTracking(true);
    const int rowHeight = fontMetrics().height() + 6;
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int c = 0; c < columns; ++c) {
        auto *head = new QTableWidgetItem;
        head->setTextAlignment(Qt::AlignCenter);
        head->setBackground(palette().button());
        head->setForeground(palette().buttonText());
        setItem(0, c, head);
        auto *value = new QTableWidgetItem;
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setBackground(m_valueColor);
        setItem(1, c, value);
    }
    setFixedHeight(2 * rowHeight + 2 * frameWidth());
}

void CharacteristicGrid::setHeaders(const QStringList &headers)
{
    for (int c = 0; c < columnCount(); ++c)
        item(0, c)->setText(headers.value(c));
    fitColumns();
}

void CharacteristicGrid::setValues(const QStringList &values)
{
    for (int c = 0; c < columnCount(); ++c)
        item(1, c)->setText(values.value(c));
    fitColumns();
}

QString CharacteristicGrid::header(int column) const { return item(0, column)->text(); }
QString CharacteristicGrid::value(int column) const { return item(1, column)->text(); }

int CharacteristicGrid::columnAtPoint(const QPoint &viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? index.column() : -1;
}

void CharacteristicGrid::fitColumns()
{
    const QFontMetrics fm = fontMetrics();
    for (int c = 0; c < columnCount(); ++c) {
        const int text = qMax(fm.horizontalAdvance(item(0, c)->text()), fm.horizontalAdvance(item(1, c)->text()));
        setColumnWidth(c, qMax(text + 14, fm.horizontalAdvance(QStringLiteral("000000,00")) + 14));
    }
    updateGeometry();
}

QSize CharacteristicGrid::sizeHint() const
{
    int width = 2 * frameWidth();
    for (int c = 0; c < columnCount(); ++c)
        width += columnWidth(c);
    return {width, height()};
}

} // namespace korvan
