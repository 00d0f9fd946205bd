#include "gui/widgets/CursorGrid.h"

#include "core/data/TTable.h"
#include "gui/ui/CommandGuard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include <functional>

namespace korvan {

namespace {

// The mouse over a column's title: the column it is over (-1 on leaving), for its field's hint.
class HeaderHover : public QObject {
public:
    HeaderHover(QHeaderView *header, std::function<void(int)> over)
        : QObject(header), m_header(header), m_over(std::move(over))
    {
        header->setMouseTracking(true);
        header->viewport()->setMouseTracking(true);
        header->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove)
            m_over(m_header->logicalIndexAt(static_cast<QMouseEvent *>(event)->position().toPoint()));
        else if (event->type() == QEvent::Leave)
            m_over(-1);
        return false;
    }

private:
    QHeaderView *m_header;
    std::function<void(int)> m_over;
};

} // namespace

CursorGrid::CursorGrid(TTable *table, QWidget *parent) : TypingGrid(parent), m_model(new CursorModel(table, this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(false);
    setMouseTracking(true);
    setWordWrap(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("►")) + 10);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setHighlightSections(false);
    // A column's title shows its field's hint, as its cells do.
    new HeaderHover(horizontalHeader(), [this](int column) {
        reportField(column >= 0 && column < m_model->columnCount() ? m_model->fieldAt(column) : QString());
    });

    // The current row of a grid without the focus stays visible but quiet.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, QColor(204, 218, 236));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::Text));
    setPalette(p);

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &CursorGrid::onCurrentRowChanged);
    connect(m_model, &CursorModel::rowsReset, this, &CursorGrid::followCursor);
    connect(m_model, &CursorModel::rowsReset, this, &CursorGrid::widenColumns);
    connect(table, &TTable::currentChanged, this, &CursorGrid::followCursor);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_syncing = true; });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { m_syncing = false; });
    followCursor();
}

void CursorGrid::setColumns(const QVector<CursorModel::Column> &columns)
{
    m_model->setColumns(columns);
    resizeColumnsToContents();
    for (int c = 0; c < m_model->columnCount(); ++c)
        setColumnWidth(c, qMax(columnWidth(c), 48));
}

// Names (companies, types, projects) are read whole, and so are the numbers a command writes
// into a grid the user only reads (a compensated current of 438,25 A must not show as "438,…"):
// such a column fits its rows' widest visible text after every change of the rows, up to a
// limit and never narrower than its title, so a wide value of one project does not leave its
// column wide in the next. Numbers being typed keep their column's width.
void CursorGrid::widenColumns()
{
    const TTable *t = table();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const int position = t->def().fieldIndex(m_model->fieldAt(c));
        if (position < 0)
            continue;
        const FieldType type = t->fieldDef(position).type;
        const bool text = type == FieldType::String || type == FieldType::Memo;
        const bool readOnly = m_model->readOnly() || m_model->columns()[c].readOnly;
        if (!text && !readOnly)
            continue;
        const int title = qMax(horizontalHeader()->sectionSizeHint(c), 48);
        const int wanted = qMax(qMin(sizeHintForColumn(c), 280), title);
        if (wanted != columnWidth(c))
            setColumnWidth(c, wanted);
    }
}

void CursorGrid::setReadOnly(bool on)
{
    m_model->setReadOnly(on);
    setTypingEnabled(!on);
}

void CursorGrid::setDefaultBackground(const QColor &color)
{
    m_model->setDefaultBackground(color);
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

// The cursor moved (or re-read its rows): show its current row here.
void CursorGrid::followCursor()
{
    TTable *t = table();
    if (!t || !t->active())
        return;
    const int row = t->recNo();
    QScopedValueRollback guard(m_syncing, true);
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clearSelection();
        return;
    }
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex target = m_model->index(row, column);
    if (currentIndex() != target || !selectionModel()->isRowSelected(row, {}))
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // Down to the row, keeping the columns the user scrolled to.
    const int across = horizontalScrollBar()->value();
    scrollTo(target);
    horizontalScrollBar()->setValue(across);
}

void CursorGrid::onCurrentRowChanged(const QModelIndex &current, const QModelIndex &)
{
    if (m_syncing || !current.isValid())
        return;
    TTable *t = table();
    if (t->recNo() == current.row())
        return;
    // Leaving a row posts its edits; when the post is refused the grid stays on that row.
    runGuarded([&] { t->moveTo(current.row()); });
    if (t->recNo() != current.row())
        followCursor();
}

QString CursorGrid::fieldAt(const QPoint &viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? m_model->fieldAt(index.column()) : QString();
}

QString CursorGrid::currentField() const
{
    return currentIndex().isValid() ? m_model->fieldAt(currentIndex().column()) : QString();
}

void CursorGrid::reportField(const QString &field)
{
    if (m_hovering && field == m_hoveredField)
        return;
    m_hovering = true;
    m_hoveredField = field;
    emit mouseOverField(table()->tableName(), field);
}

void CursorGrid::mouseMoveEvent(QMouseEvent *event)
{
    TypingGrid::mouseMoveEvent(event);
    reportField(fieldAt(event->position().toPoint()));
}

bool CursorGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Leave)
        reportField(QString());
    return TypingGrid::viewportEvent(event);
}

void CursorGrid::keyPressEvent(QKeyEvent *event)
{
    // Escape outside a cell editor drops the row's unposted edits, as in a data-bound grid.
    if (event->key() == Qt::Key_Escape && state() != QAbstractItemView::EditingState && table()->editing()) {
        runGuarded([this] { table()->cancel(); });
        return;
    }
    // Ctrl+C copies the current cell's text; Ctrl+V puts the clipboard's text into an editable cell.
    const QModelIndex cell = currentIndex();
    if (cell.isValid() && state() != QAbstractItemView::EditingState) {
        if (event->matches(QKeySequence::Copy)) {
            QGuiApplication::clipboard()->setText(cell.data(Qt::EditRole).toString());
            return;
        }
        if (event->matches(QKeySequence::Paste)) {
            const QString text = QGuiApplication::clipboard()->text().trimmed();
            if ((model()->flags(cell) & Qt::ItemIsEditable) && !text.isEmpty() && !text.contains(u'\n'))
                model()->setData(cell, text, Qt::EditRole);
            return;
        }
    }
    TypingGrid::keyPressEvent(event);
}

} // namespace korvan
