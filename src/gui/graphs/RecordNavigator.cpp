#include "RecordNavigator.h"

#include "data/TTable.h"
#include "ui/CommandGuard.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace korvan {

namespace {

struct ButtonDef {
    const char *name;
    const char *text;
    const char *hint;
};

const ButtonDef Defs[RecordNavigator::Count] = {
    {"btnInsert", "+", "Вставка записи"},      {"btnDelete", "−", "Удаление записи"},
    {"btnEdit", "▲", "Редактирование записи"}, {"btnPost", "✓", "Сохранение записи"},
    {"btnCancel", "✗", "Отмена изменений"},    {"btnRefresh", "↻", "Обновление данных"},
};

} // namespace

RecordNavigator::RecordNavigator(TTable *table, QWidget *parent) : QWidget(parent), m_table(table)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (int i = 0; i < Count; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(Defs[i].name));
        b->setText(QString::fromUtf8(Defs[i].text));
        b->setToolTip(QString::fromUtf8(Defs[i].hint));
        b->setFixedSize(26, 24);
        connect(b, &QToolButton::clicked, this, [this, i] { run(Button(i)); });
        layout->addWidget(b);
        m_buttons[i] = b;
    }
    layout->addStretch();
    for (auto signal : {&TTable::stateChanged, &TTable::rowsChanged, &TTable::currentChanged})
        connect(table, signal, this, &RecordNavigator::updateButtons);
    updateButtons();
}

void RecordNavigator::updateButtons()
{
    const bool active = m_table->active();
    const bool editing = m_table->editing();
    const bool any = active && !m_table->isEmpty();
    m_buttons[Insert]->setEnabled(active);
    m_buttons[Delete]->setEnabled(any);
    m_buttons[Edit]->setEnabled(any && !editing);
    m_buttons[Post]->setEnabled(editing);
    m_buttons[Cancel]->setEnabled(editing);
    m_buttons[Refresh]->setEnabled(active);
}

void RecordNavigator::run(Button which)
{
    runGuarded([&] {
        switch (which) {
        case Insert: m_table->insert(); break;
        case Delete:
            if (m_table->editing() && m_table->state() == TTable::State::Insert)
                m_table->cancel();
            else
                m_table->remove();
            break;
        case Edit: m_table->edit(); break;
        case Post: m_table->post(); break;
        case Cancel: m_table->cancel(); break;
        case Refresh: m_table->refresh(); break;
        case Count: break;
        }
    });
    updateButtons();
}

} // namespace korvan
