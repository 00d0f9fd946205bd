#include "gui/ui/GridHints.h"

#include "core/data/TTable.h"
#include "core/hints/Hints.h"
#include "gui/ui/Lib.h"
#include "gui/widgets/CursorGrid.h"

#include <QMenu>
#include <QMouseEvent>
#include <QTableWidget>

namespace korvan {

namespace {

// The pop-up menu of a grid, shown without a nested event loop.
void addHintMenu(QAbstractItemView *grid, const HintServices &services, const char *menuName, const char *editName,
                 const char *removeName)
{
    auto *menu = new QMenu(grid);
    menu->setObjectName(QLatin1String(menuName));
    QAction *edit = menu->addAction(QStringLiteral("Подключение подсказки..."));
    edit->setObjectName(QLatin1String(editName));
    QAction *remove = menu->addAction(QStringLiteral("Отключение подсказки"));
    remove->setObjectName(QLatin1String(removeName));
    QObject::connect(edit, &QAction::triggered, grid, [grid, services] {
        if (services.data && services.form)
            EditHint(*services.data, *services.form, grid);
    });
    QObject::connect(remove, &QAction::triggered, grid, [grid, services] {
        if (services.data)
            RemoveHint(*services.data, grid);
    });
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(grid, &QWidget::customContextMenuRequested, menu,
                     [grid, menu](const QPoint &pos) { menu->popup(grid->viewport()->mapToGlobal(pos)); });
}

// The mouse over a string grid's cells: the hint of the column; a press of any button on a cell
// makes it current.
class StringGridHints : public QObject {
public:
    StringGridHints(QTableWidget *grid, HintServices services)
        : QObject(grid), m_grid(grid), m_services(std::move(services))
    {
        grid->setMouseTracking(true);
        grid->viewport()->setMouseTracking(true);
        grid->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseMove: {
            const QPoint at =
                m_grid->viewport()->mapTo(m_grid, static_cast<QMouseEvent *>(event)->position().toPoint());
            show(GetGridHintAt(*m_services.data, m_grid, at.x(), at.y()));
            break;
        }
        case QEvent::Leave:
            show(QString());
            break;
        case QEvent::MouseButtonPress: {
            const QModelIndex index = m_grid->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint());
            if (index.isValid())
                m_grid->setCurrentCell(index.row(), index.column());
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    void show(const QString &hint)
    {
        if (m_services.showHint)
            m_services.showHint(hint);
    }

    QTableWidget *m_grid;
    HintServices m_services;
};

} // namespace

void attachHints(CursorGrid *grid, const HintServices &services)
{
    QObject::connect(grid, &CursorGrid::mouseOverField, grid, [services](const QString &table, const QString &field) {
        if (!services.showHint)
            return;
        services.showHint(field.isEmpty() || !services.data ? QString() : LookUpHint(*services.data, table, field));
    });
    addHintMenu(grid, services, "PopupMenu1", "MenuItem1", "MenuItem2");
}

void attachHints(QTableWidget *grid, const QString &tableName, const QStringList &fields, const HintServices &services)
{
    grid->setProperty("hintTable", tableName);
    grid->setProperty("hintFields", fields);
    if (services.data)
        new StringGridHints(grid, services);
    addHintMenu(grid, services, "PopupMenu2", "MenuItem3", "MenuItem4");
}

} // namespace korvan
