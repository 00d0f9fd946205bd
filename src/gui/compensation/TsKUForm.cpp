// TsKUForm: the «Конденсаторные установки» catalogue window.
#include "gui/compensation/TsKUForm.h"
#include "core/compensation/CatalogueUse.h"
#include "core/data/Fields.h"
#include "core/Messages.h"

#include "gui/compensation/ResonanceColumns.h"

#include "core/data/TDataModule1.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/ui/CommandGuard.h"
#include "gui/widgets/CursorGrid.h"
#include "gui/widgets/DBNavigator.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

namespace korvan {

namespace {

QLabel *boldLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

TsKUForm::TsKUForm(TDataModule1 &data, QWidget *parent) : QDialog(parent), m_data(data)
{
    setObjectName(QStringLiteral("sKUForm"));
    setWindowTitle(QStringLiteral("Конденсаторные установки."));
    setSizeGripEnabled(true);

    struct Level {
        TTable *table;
        const char *grid, *navigator, *label;
        QString caption;
        QVector<CursorModel::Column> columns;
    };
    const Level levels[3] = {
        {data.tblsKU0,
         "DBGrid0",
         "DBNavigator0",
         "lblCompany",
         QStringLiteral("Компании."),
         {{fld::Company, "Компания"}}},
        {data.tblsKU1,
         "DBGrid1",
         "DBNavigator1",
         "lblKU",
         QStringLiteral("Конденсаторные установки."),
         {{fld::Name, "Наименование"},
          {fld::Q, "Q, кВАр"},
          {fld::Pp, "Pп, кВт/кВАр"},
          {fld::Unom, "Uном, В"},
          {fld::Cena, "Цена, грн"},
          detuningColumn(data)}},
        {data.tblsKU2,
         "DBGrid2",
         "DBNavigator2",
         "lblModules",
         QStringLiteral("Модули."),
         {{fld::Qstup, "Qмод, кВАр"}, {fld::Kol_vo, "Количество, шт."}}},
    };
    QWidget *panels[3];
    for (int i = 0; i < 3; ++i) {
        const Level &l = levels[i];
        auto *panel = new QWidget(this);
        auto *column = new QVBoxLayout(panel);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        column->addWidget(boldLabel(l.label, l.caption, panel));
        auto *grid = new CursorGrid(l.table, panel);
        grid->setObjectName(QLatin1String(l.grid));
        grid->setColumns(l.columns);
        grid->setReadOnly(false);
        if (i == 0)
            grid->horizontalHeader()->setStretchLastSection(true);
        if (i == 2) {
            // The module groups are narrow: show both columns whole.
            int width = grid->verticalHeader()->sizeHint().width() + 2 * grid->frameWidth() +
                        grid->verticalScrollBar()->sizeHint().width();
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                width += grid->columnWidth(c);
            grid->setMinimumWidth(width);
        }
        column->addWidget(grid, 1);
        auto *navigator = new DBNavigator(l.table, panel);
        navigator->setObjectName(QLatin1String(l.navigator));
        navigator->setGrid(grid);
        auto *bar = new QHBoxLayout;
        bar->setSpacing(6);
        bar->addWidget(navigator);
        if (i == 1) {
            m_copy = new QPushButton(QStringLiteral("Копировать"), panel);
            m_copy->setObjectName(QStringLiteral("btnCopy"));
            m_copy->setToolTip(QStringLiteral("Копировать запись конденсаторной установки"));
            m_paste = new QPushButton(QStringLiteral("Вставить"), panel);
            m_paste->setObjectName(QStringLiteral("btnPaste"));
            m_paste->setToolTip(QStringLiteral("Вставить скопированную запись конденсаторной установки"));
            m_paste->setEnabled(false);
            for (QPushButton *b : {m_copy, m_paste}) {
                b->setAutoDefault(false);
                b->setFocusPolicy(Qt::NoFocus);
                bar->addWidget(b);
            }
            connect(m_copy, &QPushButton::clicked, this, &TsKUForm::btnCopyClick);
            connect(m_paste, &QPushButton::clicked, this, &TsKUForm::btnPasteClick);
        }
        bar->addStretch();
        column->addLayout(bar);
        m_grids[i] = grid;
        m_navigators[i] = navigator;
        navigator->setDeleteCheck([this, level = i] { return confirmDelete(level); });
        panels[i] = panel;
    }
    for (TTable *t : {data.tblsKU1})
        for (auto signal : {&TTable::rowsChanged, &TTable::currentChanged, &TTable::stateChanged})
            connect(t, signal, this, &TsKUForm::updateCopy);

    auto *lower = new QSplitter(Qt::Horizontal, this);
    lower->setChildrenCollapsible(false);
    lower->addWidget(panels[1]);
    lower->addWidget(panels[2]);
    lower->setStretchFactor(0, 3);
    lower->setStretchFactor(1, 1);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("Splitter1"));
    split->setChildrenCollapsible(false);
    split->addWidget(panels[0]);
    split->addWidget(lower);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 2);

    auto *close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    auto *help = new QPushButton(QStringLiteral("Справка"), this);
    help->setObjectName(QStringLiteral("btnHelp"));
    for (QPushButton *b : {close, help})
        b->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &TsKUForm::accept);
    connect(help, &QPushButton::clicked, this, [] { showHelpTopic(HelpContext); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(help);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);

    resize(820, 560);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    updateCopy();
}

void TsKUForm::updateCopy()
{
    const TTable &types = *m_data.tblsKU1;
    m_copy->setEnabled(types.active() && (types.editing() || !types.isEmpty()));
}

bool TsKUForm::confirmDelete(int level)
{
    CatalogueDeletion deletion;
    if (level == 0) {
        const TTable &t = *m_data.tblsKU0;
        deletion = companyDeletion(m_data.store(), t.value(fld::Kod), t.asString(fld::Company));
    } else if (level == 1) {
        const TTable &t = *m_data.tblsKU1;
        deletion = typeDeletion(m_data.store(), t.value(fld::Kod), t.asString(fld::Name));
    } else {
        const TTable &t = *m_data.tblsKU2;
        deletion.question =
            QStringLiteral("Удалить модули %1 кВАр (%2 шт.) установки «%3»?")
                .arg(t.asString(fld::Qstup), t.asString(fld::Kol_vo), m_data.tblsKU1->asString(fld::Name));
    }
    if (!deletion.refusal.isEmpty()) {
        Messages::warning(deletion.refusal);
        return false;
    }
    return Messages::cautiousQuestion(deletion.question);
}

void TsKUForm::btnCopyClick()
{
    TTable &types = *m_data.tblsKU1;
    if (!types.active() || (types.isEmpty() && !types.editing()))
        return;
    if (runGuarded([&] { m_buffer.copy(types); }))
        m_paste->setEnabled(true);
}

void TsKUForm::btnPasteClick()
{
    if (!m_buffer.filled())
        return;
    runGuarded([this] { m_buffer.paste(*m_data.tblsKU1); });
}

void TsKUForm::done(int result)
{
    // A refused row (a required field empty) stays being edited, with its message shown.
    runGuarded([this] {
        for (TTable *t : {m_data.tblsKU2, m_data.tblsKU1, m_data.tblsKU0})
            t->checkBrowseMode();
    });
    QDialog::done(result);
}

} // namespace korvan
