// TAddSutGrF: the «Редактирование суточного графика» dialog.
#include "gui/graphs/TAddSutGrF.h"

#include "gui/graphs/GraphCellDelegate.h"
#include "gui/graphs/GraphEditorModel.h"
#include "gui/graphs/MeterImportDialog.h"
#include "gui/graphs/StepChart.h"
#include "gui/graphs/TsSutGrFm.h"

#include "core/Messages.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/dialogs/ModalDialog.h"
#include "gui/ui/InputProblemBox.h"
#include "gui/ui/SaveQuestion.h"
#include "gui/widgets/NumericEdit.h"
#include "gui/widgets/StepButton.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMetaMethod>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

namespace korvan {

namespace {

const QString TwoSeriesTitle = QStringLiteral("Суточные графики: P = f(T); Q = f(T)");

} // namespace

// One change of the table as the rows before and after it: a typed cell, a fill, a deletion.
class GraphEditStep : public QUndoCommand {
public:
    GraphEditStep(TAddSutGrF *editor, QList<QStringList> before, int beforeRow, QList<QStringList> after, int afterRow,
                  const QString &what)
        : QUndoCommand(what), m_editor(editor), m_before(std::move(before)), m_after(std::move(after)),
          m_beforeRow(beforeRow), m_afterRow(afterRow)
    {
    }
    void undo() override { m_editor->restoreRows(m_before, m_beforeRow); }
    void redo() override
    {
        // Pushed once the change is made: the first redo has nothing to do.
        if (m_done)
            m_editor->restoreRows(m_after, m_afterRow);
        m_done = true;
    }

private:
    TAddSutGrF *m_editor;
    QList<QStringList> m_before, m_after;
    int m_beforeRow, m_afterRow;
    bool m_done = false;
};

TAddSutGrF::TAddSutGrF(QWidget *parent)
    : QDialog(parent), m_model(new GraphEditorModel(m_table, this)), m_delegate(new GraphCellDelegate(this)),
      m_grid(new TypingGrid(this)), m_editB(new NumericEdit(NumericEdit::Decimal, this)),
      m_editE(new NumericEdit(NumericEdit::Decimal, this)), m_editShag(new NumericEdit(NumericEdit::Decimal, this)),
      m_clearPQ(new QCheckBox(QStringLiteral("При заполнении очищать столбцы P и Q"), this)),
      m_chkP(new QCheckBox(QStringLiteral("P = f(T)"), this)), m_chkQ(new QCheckBox(QStringLiteral("Q = f(T)"), this)),
      m_chart(new StepChart(this)), m_import(new MeterImportDialog(this)), m_undo(new QUndoStack(this)),
      m_chartTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("AddSutGrF"));
    setWindowTitle(QStringLiteral("Редактирование суточного графика."));

    // The table: typed in place, arrows and Tab move between the cells.
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(m_delegate);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setTypingEnabled(true);
    m_grid->setTabKeyNavigation(true);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->setMinimumWidth(260);
    connect(m_model, &GraphEditorModel::cellEdited, this, [this] {
        UpdateButtons();
        record(QStringLiteral("Ввод значения"));
    });
    // The chart follows the table once typing pauses.
    m_chartTimer->setSingleShot(true);
    m_chartTimer->setInterval(300);
    connect(m_chartTimer, &QTimer::timeout, this, &TAddSutGrF::refreshChart);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this, &TAddSutGrF::followCurrentCell);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        // A reset model gets a new selection model only when set anew; the current cell follows again.
        connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this, &TAddSutGrF::followCurrentCell,
                Qt::UniqueConnection);
    });

    auto *tableLabel = new QLabel(QStringLiteral("Таблица суточного графика нагрузки."), this);
    tableLabel->setBuddy(m_grid);
    auto *left = new QVBoxLayout;
    left->addWidget(tableLabel);
    left->addWidget(m_grid, 1);

    // Fill parameters with their step buttons (by 1 and by 0,1, never above 24, down to 0).
    auto *fill = new QGroupBox(QStringLiteral("Параметры замеров суточного графика:"), this);
    fill->setObjectName(QStringLiteral("GroupFill"));
    auto *fillGrid = new QGridLayout(fill);
    int row = 0;
    auto addParam = [&](QLineEdit *edit, const char *name, const QString &label, const QString &value,
                        const char *step1, const char *step01) {
        edit->setObjectName(QLatin1String(name));
        edit->setText(value);
        edit->setFixedWidth(70);
        edit->setAlignment(Qt::AlignRight);
        connect(edit, &QLineEdit::textChanged, this, &TAddSutGrF::UpdateButtons);
        auto *l = new QLabel(label, fill);
        l->setBuddy(edit);
        fillGrid->addWidget(l, row, 0);
        fillGrid->addWidget(edit, row, 1);
        int col = 2;
        for (auto [step, stepName] : {std::pair{1.0, step1}, std::pair{0.1, step01}}) {
            auto *b = new StepButton(edit, step, fill);
            b->setObjectName(QLatin1String(stepName));
            b->setUpBound(24);
            b->setDownToZero(true);
            b->setCaptionShown(true);
            fillGrid->addWidget(b, row, col++);
        }
        ++row;
    };
    addParam(m_editB, "EditB", QStringLiteral("Начало замеров, ч:"), QStringLiteral("0"), "SpinButtonB1",
             "SpinButtonB01");
    addParam(m_editE, "EditE", QStringLiteral("Окончание замеров, ч:"), QStringLiteral("24"), "SpinButtonE1",
             "SpinButtonE01");
    addParam(m_editShag, "EditShag", QStringLiteral("Период замеров, ч:"), QStringLiteral("1"), "btnA1", "btnA01");
    m_clearPQ->setObjectName(QStringLiteral("chkClearPQ"));
    m_clearPQ->setChecked(true);
    fillGrid->addWidget(m_clearPQ, row++, 0, 1, 4);
    m_btnPut = button(QStringLiteral("Заполнить"), "btnPut", QStringLiteral("Заполнить таблицу"));
    fillGrid->addWidget(m_btnPut, row, 0, 1, 4, Qt::AlignLeft);
    fillGrid->setColumnStretch(3, 1);

    auto group = [this](const QString &title, const char *name, std::initializer_list<QWidget *> widgets) {
        auto *g = new QGroupBox(title, this);
        g->setObjectName(QLatin1String(name));
        auto *l = new QHBoxLayout(g);
        for (QWidget *w : widgets) {
            w->setParent(g);
            l->addWidget(w);
        }
        l->addStretch();
        return g;
    };
    QWidget *rows = group(
        QStringLiteral("Операции со строками таблицы"), "GroupRows",
        {button(QStringLiteral("Добавить"), "btnAddRow", QStringLiteral("Добавить пустую строку таблицы")),
         button(QStringLiteral("Вставить"), "btnInsertRow", QStringLiteral("Вставить пустую строку таблицы")),
         m_btnDeleteRow = button(QStringLiteral("Удалить"), "btnDeleteRow", QStringLiteral("Удалить строку таблицы"))});
    QWidget *rowContents = group(
        QStringLiteral("Операции с содержимым строк таблицы"), "GroupRowContents",
        {m_btnCopy =
             button(QStringLiteral("Копировать"), "btnCopy", QStringLiteral("Копировать содержимое строки таблицы")),
         m_btnCut = button(QStringLiteral("Вырезать"), "btnCut", QStringLiteral("Вырезать содержимое строки таблицы")),
         m_btnPaste = button(QStringLiteral("Вставить"), "btnPaste",
                             QStringLiteral("Вставить скопированное (вырезанное) содержимое строки таблицы"))});
    m_btnCopyTable = button(QStringLiteral("Копировать"), "btnCopyTable", QStringLiteral("Копировать таблицу"));
    m_btnPasteTable =
        button(QStringLiteral("Вставить"), "btnPasteTable", QStringLiteral("Вставить скопированную таблицу"));
    m_btnClear = button(QStringLiteral("Очистить"), "btnClear", QStringLiteral("Очистить таблицу"));
    m_btnSprav = button(QStringLiteral("Справочник..."), "btnSprav",
                        QStringLiteral("Вставить характерный суточный график в таблицу"));
    m_btnImport =
        button(QStringLiteral("Импорт..."), "btnImport", QStringLiteral("Заполнить таблицу по файлу измерений"));
    QPushButton *test = button(QStringLiteral("Тест"), "btnTest", QStringLiteral("Тестировать таблицу"));
    QPushButton *undo =
        button(QStringLiteral("Отменить"), "btnUndo", QStringLiteral("Отменить последнее изменение таблицы (Ctrl+Z)"));
    QPushButton *redo = button(QStringLiteral("Повторить"), "btnRedo",
                               QStringLiteral("Повторить отмененное изменение таблицы (Ctrl+Y)"));
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(undo, &QPushButton::clicked, this, [this] {
        commitCell();
        m_undo->undo();
    });
    connect(redo, &QPushButton::clicked, this, [this] {
        commitCell();
        m_undo->redo();
    });
    connect(m_undo, &QUndoStack::canUndoChanged, undo, &QPushButton::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, redo, &QPushButton::setEnabled);
    // Ctrl+Z takes the last change back, Ctrl+Y (or Ctrl+Shift+Z) makes it again.
    const QList<QKeySequence> undoKeys{QKeySequence(Qt::CTRL | Qt::Key_Z)};
    const QList<QKeySequence> redoKeys{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    for (auto [keys, target] : {std::pair{undoKeys, undo}, std::pair{redoKeys, redo}}) {
        auto *shortcut = new QAction(this);
        shortcut->setShortcuts(keys);
        shortcut->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QAction::triggered, target, &QPushButton::click);
        addAction(shortcut);
    }
    auto *tableOps = new QGroupBox(QStringLiteral("Операции с содержимым таблицы"), this);
    tableOps->setObjectName(QStringLiteral("GroupTable"));
    auto *tableGrid = new QGridLayout(tableOps);
    tableGrid->addWidget(m_btnCopyTable, 0, 0);
    tableGrid->addWidget(m_btnPasteTable, 0, 1);
    tableGrid->addWidget(m_btnClear, 0, 2);
    tableGrid->addWidget(m_btnSprav, 1, 0);
    tableGrid->addWidget(m_btnImport, 1, 1);
    tableGrid->addWidget(test, 1, 2);
    tableGrid->addWidget(undo, 2, 0);
    tableGrid->addWidget(redo, 2, 1);

    auto *middle = new QVBoxLayout;
    middle->addWidget(fill);
    middle->addWidget(rows);
    middle->addWidget(rowContents);
    middle->addWidget(tableOps);
    middle->addStretch();

    m_chkP->setObjectName(QStringLiteral("chkP"));
    m_chkQ->setObjectName(QStringLiteral("chkQ"));
    m_chkP->setChecked(true);
    m_chkQ->setChecked(true);
    connect(m_chkP, &QCheckBox::clicked, this, &TAddSutGrF::refreshChart);
    connect(m_chkQ, &QCheckBox::clicked, this, &TAddSutGrF::refreshChart);
    m_chart->setObjectName(QStringLiteral("Chart1"));
    auto *draw = new QGroupBox(QStringLiteral("Построение графиков"), this);
    draw->setObjectName(QStringLiteral("GroupDraw"));
    auto *drawLayout = new QVBoxLayout(draw);
    auto *drawControls = new QHBoxLayout;
    drawControls->addWidget(m_chkP);
    drawControls->addWidget(m_chkQ);
    drawControls->addStretch();
    drawControls->addWidget(button(QStringLiteral("Обновить"), "Button1", QStringLiteral("Построение графиков")));
    drawLayout->addLayout(drawControls);
    drawLayout->addWidget(m_chart, 1);
    m_chart->setMinimumWidth(240);

    // Three parts the user can widen and narrow; the commands scroll when the window is low, so
    // the whole editor fits a 1024 x 768 screen.
    auto *leftPart = new QWidget(this);
    left->setContentsMargins(0, 0, 0, 0);
    leftPart->setLayout(left);
    auto *middlePart = new QWidget;
    middle->setContentsMargins(0, 0, 4, 0);
    middlePart->setLayout(middle);
    auto *middleScroll = new QScrollArea(this);
    middleScroll->setObjectName(QStringLiteral("ScrollCommands"));
    middleScroll->setWidget(middlePart);
    middleScroll->setWidgetResizable(true);
    middleScroll->setFrameShape(QFrame::NoFrame);
    middleScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    middleScroll->setMinimumWidth(middlePart->sizeHint().width() +
                                  middleScroll->verticalScrollBar()->sizeHint().width());
    auto *body = new QSplitter(Qt::Horizontal, this);
    body->setObjectName(QStringLiteral("SplitterBody"));
    body->setChildrenCollapsible(false);
    body->addWidget(leftPart);
    body->addWidget(middleScroll);
    body->addWidget(draw);
    body->setStretchFactor(0, 0);
    body->setStretchFactor(1, 0);
    body->setStretchFactor(2, 1);

    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto *help = new QPushButton(QStringLiteral("Справка"), this);
    help->setObjectName(QStringLiteral("btnHelp"));
    // Enter in a cell ends the typing, it does not close the dialog.
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TAddSutGrF::accept);
    connect(cancel, &QPushButton::clicked, this, &TAddSutGrF::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelpTopic(HelpContext); });
    auto *footer = new QHBoxLayout;
    footer->addStretch();
    footer->addWidget(ok);
    footer->addWidget(cancel);
    footer->addWidget(help);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(body, 1);
    layout->addLayout(footer);

    m_btnPaste->setEnabled(false);
    m_btnPasteTable->setEnabled(false);
    m_chart->clear(QStringLiteral("Суточные графики P = f(T), Q = f(T)."), m_table.axisTitle());
    resize(1180, 640);
}

TAddSutGrF::~TAddSutGrF() = default;

QPushButton *TAddSutGrF::button(const QString &caption, const char *name, const QString &hint)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setAutoDefault(false);
    // Each command by its object name; the slot carries the control's name.
    const QByteArray slot = QByteArray(name) + "Click()";
    const int index = metaObject()->indexOfSlot(slot.constData());
    if (index >= 0)
        connect(b, &QPushButton::clicked, this, [this, index] { metaObject()->method(index).invoke(this); });
    return b;
}

void TAddSutGrF::prime(const QStringList &headers, const QList<QStringList> &rows, bool spravEnabled)
{
    m_delegate->commitOpenEditor();
    m_table.prime(headers, rows);
    m_btnSprav->setEnabled(spravEnabled);
    m_btnImport->setEnabled(spravEnabled);
    m_undo->clear();
    m_recorded = m_table.rows();
    showTable(0);
}

bool TAddSutGrF::isModified() const { return !m_undo->isClean(); }

void TAddSutGrF::record(const QString &what)
{
    if (m_table.rows() == m_recorded)
        return;
    const int row = m_table.currentRow();
    m_undo->push(new GraphEditStep(this, m_recorded, row, m_table.rows(), row, what));
    m_recorded = m_table.rows();
    m_chartTimer->start();
}

void TAddSutGrF::restoreRows(const QList<QStringList> &rows, int currentRow)
{
    m_table.restore(rows, currentRow);
    m_recorded = m_table.rows();
    showTable();
    UpdateButtons();
    m_chartTimer->start();
}

void TAddSutGrF::refreshChart()
{
    if (!isVisible())
        return;
    if (m_table.check())
        ClearGraph();
    else
        DrawGraph();
}

void TAddSutGrF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    UpdateButtons();
    // A table that passes its check is drawn at once.
    refreshChart();
    m_grid->setFocus();
}

void TAddSutGrF::commitCell() { m_delegate->commitOpenEditor(); }

void TAddSutGrF::showTable(int column)
{
    const int col = column >= 0 ? column : qMax(0, m_grid->currentIndex().column());
    m_model->reload();
    m_grid->setCurrentIndex(m_model->index(m_table.currentRow(), col));
}

void TAddSutGrF::tableChanged(int column)
{
    showTable(column);
    UpdateButtons();
    record(QStringLiteral("Изменение таблицы"));
}

void TAddSutGrF::focusRowStart()
{
    m_grid->setCurrentIndex(m_model->index(m_table.currentRow(), 0));
    m_grid->setFocus(Qt::OtherFocusReason);
}

void TAddSutGrF::followCurrentCell()
{
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        m_table.setCurrentRow(current.row());
    UpdateButtons();
}

void TAddSutGrF::UpdateButtons()
{
    m_btnPut->setEnabled(m_table.canFill(m_editB->text(), m_editE->text(), m_editShag->text()));
    const bool notEmpty = m_table.canDeleteOrCopyTable();
    m_btnDeleteRow->setEnabled(notEmpty);
    m_btnCopyTable->setEnabled(notEmpty);
    m_btnClear->setEnabled(notEmpty);
    m_btnCopy->setEnabled(m_table.canCopyRow());
    m_btnCut->setEnabled(m_table.canCopyRow());
    m_btnPaste->setEnabled(m_table.canPasteRow());
    m_btnPasteTable->setEnabled(m_table.canPasteTable());
}

void TAddSutGrF::ClearGraph() { m_chart->clear(m_chart->chart()->title(), m_table.axisTitle()); }

void TAddSutGrF::DrawGraph()
{
    const bool p = m_chkP->isChecked(), q = m_chkQ->isChecked();
    QString title = TwoSeriesTitle, valueTitle = m_table.axisTitle();
    if (p && !q) {
        title = QStringLiteral("Суточный график: P = f(T)");
        valueTitle = m_table.headers().value(2);
    } else if (q && !p) {
        title = QStringLiteral("Суточный график: Q = f(T)");
        valueTitle = m_table.headers().value(3);
    }
    m_chart->draw(graphPeriods(m_table.rows()), p, q, title, valueTitle);
}

bool TAddSutGrF::CheckTable()
{
    commitCell();
    const auto problem = m_table.check();
    if (!problem)
        return true;
    Messages::error(problem->message);
    m_table.setCurrentRow(problem->row);
    m_grid->setCurrentIndex(m_model->index(problem->row, problem->column));
    m_grid->setFocus(Qt::OtherFocusReason);
    return false;
}

void TAddSutGrF::accept()
{
    if (CheckTable())
        QDialog::accept();
}

void TAddSutGrF::reject()
{
    commitCell();
    record(QStringLiteral("Ввод значения"));
    if (isModified()) {
        switch (askSaveChanges(this)) {
        case SaveAnswer::Save:
            accept();
            return;
        case SaveAnswer::Cancel:
            return;
        case SaveAnswer::Discard:
            break;
        }
    }
    QDialog::reject();
}

void TAddSutGrF::btnPutClick()
{
    commitCell();
    if (const auto problem =
            m_table.fill(m_editB->text(), m_editE->text(), m_editShag->text(), m_clearPQ->isChecked())) {
        QLineEdit *fields[] = {m_editB, m_editE, m_editShag};
        refuseAt(problem->field >= 0 && problem->field < 3 ? fields[problem->field] : nullptr, problem->message);
        ClearGraph();
        return;
    }
    tableChanged();
}

void TAddSutGrF::btnAddRowClick()
{
    commitCell();
    m_table.addRow();
    tableChanged(0);
    focusRowStart();
}

void TAddSutGrF::btnInsertRowClick()
{
    commitCell();
    m_table.insertRow();
    tableChanged(0);
    focusRowStart();
}

void TAddSutGrF::btnDeleteRowClick()
{
    commitCell();
    m_table.deleteRow();
    tableChanged();
}

void TAddSutGrF::btnCopyClick()
{
    commitCell();
    m_table.copyRow();
    UpdateButtons();
}

void TAddSutGrF::btnCutClick()
{
    commitCell();
    m_table.cutRow();
    tableChanged();
}

void TAddSutGrF::btnPasteClick()
{
    commitCell();
    m_table.pasteRow();
    tableChanged();
}

void TAddSutGrF::btnCopyTableClick()
{
    commitCell();
    m_table.copyTable();
    UpdateButtons();
}

void TAddSutGrF::btnPasteTableClick()
{
    commitCell();
    m_table.pasteTable();
    tableChanged();
}

void TAddSutGrF::btnClearClick()
{
    commitCell();
    m_table.clear();
    tableChanged();
}

void TAddSutGrF::btnSpravClick()
{
    commitCell();
    if (!m_catalogue)
        return;
    m_catalogue->setSelectionMode(true);
    openModal(m_catalogue, [this](int result) {
        if (result != QDialog::Accepted)
            return;
        m_table.insertTypical(m_catalogue->currentGraph(), m_catalogue->pmax(), m_catalogue->qmax());
        tableChanged(0);
    });
}

void TAddSutGrF::btnImportClick()
{
    commitCell();
    openModal(m_import, [this](int result) {
        if (result != QDialog::Accepted || m_import->periods().isEmpty())
            return;
        m_table.prime(m_table.headers(), GraphEditorTable::rowsOf(m_import->periods()));
        tableChanged(0);
    });
}

void TAddSutGrF::btnTestClick()
{
    if (CheckTable())
        Messages::information(QStringLiteral("Ошибки не найдены."));
}

void TAddSutGrF::Button1Click()
{
    if (CheckTable())
        DrawGraph();
}

} // namespace korvan
