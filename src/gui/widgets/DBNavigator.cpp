#include "gui/widgets/DBNavigator.h"

#include "core/data/TTable.h"
#include "gui/ui/CommandGuard.h"
#include "gui/widgets/CursorGrid.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace korvan {

namespace {

struct ButtonDef {
    const char *name;
    const char *hint;
    const char *glyph;
};

const ButtonDef Defs[DBNavigator::ButtonCount] = {
    {"btnInsert", "Вставка записи", "+"},      {"btnDelete", "Удаление записи", "−"},
    {"btnEdit", "Редактирование записи", "✎"}, {"btnPost", "Сохранение записи", "✓"},
    {"btnCancel", "Отмена изменений", "✗"},    {"btnRefresh", "Обновление данных", "↻"},
};

} // namespace

DBNavigator::DBNavigator(TTable *table, QWidget *parent) : QWidget(parent), m_table(table)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < ButtonCount; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(Defs[i].name));
        b->setText(QString::fromUtf8(Defs[i].glyph));
        b->setToolTip(QString::fromUtf8(Defs[i].hint));
        b->setFixedSize(26, 24);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, i] { click(Button(i)); });
        layout->addWidget(b);
        m_buttons[i] = b;
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    if (table) {
        connect(table, &TTable::stateChanged, this, &DBNavigator::updateButtons);
        connect(table, &TTable::rowsChanged, this, &DBNavigator::updateButtons);
        connect(table, &TTable::currentChanged, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::click(Button b)
{
    if (!m_table)
        return;
    TTable &t = *m_table;
    runGuarded([&] {
        switch (b) {
        case Insert:
            t.insert();
            break;
        case Delete:
            // A new row not yet written has nothing to delete but itself.
            if (t.state() == TTable::State::Insert)
                t.cancel();
            else if (!t.isEmpty() && (!m_deleteCheck || m_deleteCheck()))
                t.remove();
            break;
        case Edit:
            t.edit();
            break;
        case Post:
            t.post();
            break;
        case Cancel:
            t.cancel();
            break;
        case Refresh:
            t.refresh();
            break;
        case ButtonCount:
            break;
        }
    });
    if ((b == Insert || b == Edit) && m_grid && t.editing()) {
        m_grid->setFocus(Qt::OtherFocusReason);
        const int row = t.recNo();
        // A new row is typed from its first cell; an edited one where the user was.
        const int column = b == Insert ? 0 : qMax(0, m_grid->currentIndex().column());
        if (row >= 0 && m_grid->model()->columnCount() > 0)
            m_grid->setCurrentIndex(m_grid->model()->index(row, column));
    }
    updateButtons();
}

void DBNavigator::updateButtons()
{
    const bool active = m_table && m_table->active();
    const bool editing = active && m_table->editing();
    const bool rows = active && (m_table->recordCount() > 0 || editing);
    m_buttons[Insert]->setEnabled(active);
    m_buttons[Delete]->setEnabled(rows);
    m_buttons[Edit]->setEnabled(rows && !editing);
    m_buttons[Post]->setEnabled(editing);
    m_buttons[Cancel]->setEnabled(editing);
    m_buttons[Refresh]->setEnabled(active && !editing);
}

} // namespace korvan
