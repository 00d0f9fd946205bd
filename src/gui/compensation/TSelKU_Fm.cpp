// TSelKU_Fm: the «Выбор конденсаторной установки» dialog with the analysis table.
#include "gui/compensation/TSelKU_Fm.h"
#include "core/data/Fields.h"

#include "core/calc/AnalysisRules.h"
#include "core/compensation/AnalysisFilters.h"
#include "core/compensation/ResonanceCommands.h"
#include "core/data/TDataModule1.h"
#include "core/Messages.h"
#include "core/project/EconomicsCommands.h"
#include "gui/compensation/ModePanel.h"
#include "gui/compensation/ResonanceColumns.h"
#include "gui/compensation/TsKUForm.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/dialogs/ModalDialog.h"
#include "gui/project/EconomicsColumns.h"
#include "gui/ui/CommandGuard.h"
#include "gui/ui/InputProblemBox.h"
#include "gui/widgets/CommandProgressBar.h"
#include "gui/widgets/CursorGrid.h"
#include "gui/widgets/LongWork.h"
#include "gui/widgets/NumericEdit.h"
#include "gui/widgets/StepButton.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QSplitter>
#include <QToolButton>
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

struct CommandDef {
    const char *name;
    const char *text;
    const char *hint;
};

const CommandDef Commands[TSelKU_Fm::CommandCount] = {
    {"btnAdd", "Добавить", "Добавить конденсаторную установку в таблицу анализа"},
    {"btnAddAll", "Добавить все", "Добавить все конденсаторные установки компании в таблицу анализа"},
    {"btnReplace", "Заменить", "Заменить конденсаторную установку в таблице анализа"},
    {"btnDel", "Удалить", "Удалить конденсаторную установку из таблицы анализа"},
    {"btnDelAll", "Удалить все", "Удалить все конденсаторные установки из таблицы анализа"},
    {"btnFindSpr", "В справочнике", "Найти в справочнике конденсаторную установку, выбранную в таблице анализа"},
    {"btnFindTable", "В таблице", "Найти в таблице анализа конденсаторную установку, выбранную в справочнике"},
    {"btnOptimum", "Оптимум", "Перейти в таблице анализа на конденсаторную установку с оптимальными параметрами"},
    {"btnFiltCritSr", "Критерий cos(f) ср.",
     "Удалить из таблицы анализа конденсаторные установки, не удовлетворяющие критериям по среднесуточному "
     "значению cos(f)"},
    {"btnFiltCrit", "Критерий cos(f)",
     "Удалить из таблицы анализа конденсаторные установки, не удовлетворяющие критериям по текущим значениям "
     "cos(f)"},
    {"btnFiltInvalid", "Недопустимые",
     "Удалить из таблицы анализа конденсаторные установки с недопустимыми параметрами"},
    {"btnFiltNotFull", "Неполная мощность",
     "Удалить из таблицы анализа конденсаторные установки, неиспользуемые на полную мощность"},
    {"btnFiltValSr", "cos(f) ср.",
     "Удалить из таблицы анализа конденсаторные установки с заданным среднесуточным cos(f)"},
    {"btnFiltVal", "cos(f) тек.",
     "Удалить из таблицы анализа конденсаторные установки с заданными текущими значениями cos(f)"},
    {"btnFiltResonance", "Резонанс", "Удалить установки с риском резонанса"},
};

using Columns = QVector<CursorModel::Column>;

} // namespace

TSelKU_Fm::TSelKU_Fm(TDataModule1 &data, TsKUForm *catalogue, QWidget *parent)
    : QDialog(parent), m_data(data), m_catalogue(catalogue)
{
    setObjectName(QStringLiteral("SelKU_Fm"));
    setWindowTitle(QStringLiteral("Выбор конденсаторной установки."));
    setSizeGripEnabled(true);

    auto *upper = new QWidget(this);
    auto *upperLayout = new QHBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    auto *left = new QVBoxLayout;
    left->addWidget(buildVariantFields());
    left->addWidget(buildCatalogue(), 1);
    upperLayout->addLayout(left, 1);

    // The mode, the project's range of reactive power and the recommended installation power.
    auto *right = new QVBoxLayout;
    m_mode = new ModePanel(upper);
    m_mode->setObjectName(QStringLiteral("ModePanel"));
    m_mode->field(VariantParams::CosfMin)->setExitCheck(true);
    right->addWidget(m_mode);
    auto *q = new QGridLayout;
    m_qmin = new QLineEdit(upper);
    m_qmin->setObjectName(QStringLiteral("EditQmin"));
    m_qmax = new QLineEdit(upper);
    m_qmax->setObjectName(QStringLiteral("EditQmax"));
    m_diapQku = new QLineEdit(upper);
    m_diapQku->setObjectName(QStringLiteral("EditDiapQku"));
    m_diapQku->setToolTip(
        QStringLiteral("Рекомендуемые ориентировочные пределы изменения мощности конденсаторной установки"));
    int row = 0;
    for (auto [edit, text] : {std::pair{m_qmin, "Qмин. - минимальная реактивная мощность установки, кВАр:"},
                              std::pair{m_qmax, "Qмакс. - максимальная реактивная мощность установки, кВАр:"},
                              std::pair{m_diapQku, "Qку, кВАр:"}}) {
        edit->setReadOnly(true);
        edit->setFixedWidth(edit == m_diapQku ? 110 : 80);
        edit->setAlignment(Qt::AlignRight);
        auto *l = new QLabel(QString::fromUtf8(text), upper);
        l->setBuddy(edit);
        l->setWordWrap(true);
        q->addWidget(l, row, 0);
        q->addWidget(edit, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
        ++row;
    }
    q->setColumnStretch(0, 1);
    right->addLayout(q);
    right->addStretch();
    upperLayout->addLayout(right);

    auto *split = new QSplitter(Qt::Vertical, this);
    split->setChildrenCollapsible(false);
    split->addWidget(upper);
    split->addWidget(buildAnalysis());
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);

    auto *spr = new QPushButton(QStringLiteral("Справочник..."), this);
    spr->setObjectName(QStringLiteral("btnSpr"));
    spr->setToolTip(QStringLiteral("Справочник конденсаторных установок"));
    m_ok = new QPushButton(QStringLiteral("ОК"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto *help = new QPushButton(QStringLiteral("Справка"), this);
    help->setObjectName(QStringLiteral("btnHelp"));
    for (QPushButton *b : {spr, m_ok, cancel, help})
        b->setAutoDefault(false);
    connect(spr, &QPushButton::clicked, this, &TSelKU_Fm::btnSprClick);
    connect(m_ok, &QPushButton::clicked, this, &TSelKU_Fm::accept);
    connect(cancel, &QPushButton::clicked, this, &TSelKU_Fm::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelpTopic(HelpContext); });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(spr);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    // The catalogue, the mode and the analysis rows are wider than a small screen: they scroll,
    // and the dialog's own buttons stay in view.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBody"));
    scroll->setWidget(split);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);

    connect(m_kp, &QLineEdit::textChanged, this, &TSelKU_Fm::UpdateSelectionButtons);
    connect(m_cosf, &QLineEdit::textChanged, this, &TSelKU_Fm::UpdateSelectionButtons);
    connect(m_mode, &ModePanel::cosfTextChanged, this, &TSelKU_Fm::UpdateSelectionButtons);
    connect(m_mode, &ModePanel::cosfTextChanged, this, &TSelKU_Fm::UpdateDiapQku);
    connect(m_mode, &ModePanel::modeChanged, this, &TSelKU_Fm::UpdateDiapQku);
    resize(1000, 760);
}

QWidget *TSelKU_Fm::buildVariantFields()
{
    auto *box = new QWidget(this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    m_var = new NumericEdit(NumericEdit::Whole, box);
    m_var->setObjectName(QStringLiteral("EditVar"));
    m_kp = new NumericEdit(NumericEdit::Decimal, box);
    m_kp->setObjectName(QStringLiteral("EditKp"));
    m_kp->setText(QStringLiteral("0,12"));
    for (NumericEdit *e : {m_var, m_kp}) {
        e->setFixedWidth(70);
        e->setAlignment(Qt::AlignRight);
    }
    auto *varStep = new StepButton(m_var, 1, box);
    varStep->setObjectName(QStringLiteral("SpinButtonVar"));
    auto *kpStep = new StepButton(m_kp, 0.01, box);
    kpStep->setObjectName(QStringLiteral("SpinButtonKp"));
    kpStep->setEnabledOnly(true);
    kpStep->setUpBound(1);
    kpStep->setUpCheck(QStringLiteral("коэффициента потерь"));

    auto *varLabel = new QLabel(QStringLiteral("Вариант компенсации:"), box);
    varLabel->setBuddy(m_var);
    auto *kpLabel = new QLabel(QStringLiteral("Коэффициент потерь в подводящих кабелях:"), box);
    kpLabel->setBuddy(m_kp);
    grid->addWidget(varLabel, 0, 0);
    grid->addWidget(m_var, 0, 1);
    grid->addWidget(varStep, 0, 2);
    grid->addWidget(kpLabel, 1, 0);
    grid->addWidget(m_kp, 1, 1);
    grid->addWidget(kpStep, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("( 0,08 - 0,16 )"), box), 1, 3);
    grid->setColumnStretch(4, 1);
    return box;
}

QWidget *TSelKU_Fm::buildCatalogue()
{
    auto *box = new QWidget(this);
    auto *layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(2);
    auto grid = [&](TTable *table, const char *name, const Columns &columns) {
        auto *g = new CursorGrid(table, box);
        g->setObjectName(QLatin1String(name));
        g->setColumns(columns);
        return g;
    };
    CursorGrid *companies = grid(m_data.tblsKU0, "DBGrid0", {{fld::Company, "Компания"}});
    companies->horizontalHeader()->setStretchLastSection(true);
    CursorGrid *types = grid(m_data.tblsKU1, "DBGrid1",
                             {{fld::Name, "Наименование"},
                              {fld::Q, "Q, кВАр"},
                              {fld::Pp, "Pп, кВт/кВАр"},
                              {fld::Unom, "Uном, В"},
                              {fld::Cena, "Цена, грн"},
                              detuningColumn(m_data)});
    CursorGrid *modules = grid(m_data.tblsKU2, "DBGrid2", {{fld::Qstup, "Qмод, кВАр"}, {fld::Kol_vo, "Кол-во, шт."}});
    layout->addWidget(boldLabel("lblCompany", QStringLiteral("Компании."), box), 0, 0, 1, 2);
    layout->addWidget(companies, 1, 0, 1, 2);
    layout->addWidget(boldLabel("lblKU", QStringLiteral("Конденсаторные установки."), box), 2, 0);
    layout->addWidget(boldLabel("lblModules", QStringLiteral("Модули."), box), 2, 1);
    layout->addWidget(types, 3, 0);
    layout->addWidget(modules, 3, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
    layout->setRowStretch(3, 2);
    return box;
}

QWidget *TSelKU_Fm::buildAnalysis()
{
    auto *box = new QWidget(this);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(boldLabel("lblSel", QStringLiteral("Таблица анализа выбора конденсаторной установки."), box));

    // Three rows, so the dialog fits a small screen: filling the table, finding in it, filtering it.
    auto *commands = new QHBoxLayout;
    commands->setSpacing(2);
    auto *finding = new QHBoxLayout;
    finding->setSpacing(2);
    auto *filters = new QHBoxLayout;
    filters->setSpacing(2);
    for (int i = 0; i < CommandCount; ++i) {
        auto *b = new QToolButton(box);
        b->setObjectName(QLatin1String(Commands[i].name));
        b->setText(QString::fromUtf8(Commands[i].text));
        b->setToolTip(QString::fromUtf8(Commands[i].hint));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, i] { runCommand(i); });
        m_commands[i] = b;
        QHBoxLayout *row = i <= cmdDeleteAll ? commands : i <= cmdOptimum ? finding : filters;
        row->addWidget(b);
        if (i == cmdDeleteAll || i == cmdNotFull || i == cmdPeriodValue)
            row->addSpacing(8);
    }
    // The whole catalogue at once, and the optimum that counts money, each beside its kin.
    const auto extra = [&](Command after, const char *name, const QString &text, const QString &hint,
                           void (TSelKU_Fm::*slot)()) {
        auto *b = new QToolButton(box);
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        b->setToolTip(hint);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, slot);
        QHBoxLayout *row = after <= cmdDeleteAll ? commands : finding;
        row->insertWidget(row->indexOf(m_commands[after]) + 1, b);
        return b;
    };
    m_addCatalogue =
        extra(cmdAddAll, "btnAddCatalogue", QStringLiteral("Добавить все установки справочника"),
              QStringLiteral("Добавить в таблицу анализа все конденсаторные установки всех компаний справочника"),
              &TSelKU_Fm::btnAddCatalogueClick);
    m_optimumNpv = extra(cmdOptimum, "btnOptimumNpv", QStringLiteral("Оптимум по ЧДД"),
                         QStringLiteral("Перейти в таблице анализа на конденсаторную установку с наибольшим чистым "
                                        "дисконтированным доходом среди удовлетворяющих критериям по среднесуточному "
                                        "значению cos(f)"),
                         &TSelKU_Fm::btnOptimumNpvClick);
    for (QHBoxLayout *row : {commands, finding, filters}) {
        row->addStretch();
        layout->addLayout(row);
    }

    auto *controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("Сортировать таблицу:"), box));
    m_sort = new QComboBox(box);
    m_sort->setObjectName(QStringLiteral("cmbSort"));
    m_sort->setToolTip(QStringLiteral("Выбор поля сортировки таблицы"));
    for (const AnalysisSortOrder &o : analysisSortOrders())
        m_sort->addItem(o.caption, o.indexName);
    m_sort->setCurrentIndex(m_sort->count() - 1);
    connect(m_sort, &QComboBox::activated, this, [this](int index) {
        const QString name = m_sort->itemData(index).toString();
        runGuarded([&] { sortAnalysis(m_data, name); });
    });
    controls->addWidget(m_sort);
    controls->addSpacing(12);
    controls->addWidget(new QLabel(QStringLiteral("cos(f):"), box));
    m_comparison = new QComboBox(box);
    m_comparison->setObjectName(QStringLiteral("cmbCompare"));
    m_comparison->addItems(
        {QStringLiteral("<"), QStringLiteral("<="), QStringLiteral("="), QStringLiteral(">"), QStringLiteral(">=")});
    controls->addWidget(m_comparison);
    m_cosf = new NumericEdit(NumericEdit::Decimal, box);
    m_cosf->setObjectName(QStringLiteral("EditCosf"));
    m_cosf->setText(QStringLiteral("0,9"));
    m_cosf->setFixedWidth(60);
    m_cosf->setAlignment(Qt::AlignRight);
    controls->addWidget(m_cosf);
    for (auto [step, name] : {std::pair{0.1, "SpinButtonCosf01"}, std::pair{0.01, "SpinButtonCosf001"}}) {
        auto *b = new StepButton(m_cosf, step, box);
        b->setObjectName(QLatin1String(name));
        b->setEnabledOnly(true);
        b->setUpBound(1);
        b->setUpCheck(QStringLiteral("коэффициента мощности"));
        b->setCaptionShown(true);
        controls->addWidget(b);
    }
    controls->addSpacing(12);
    controls->addWidget(new QLabel(QStringLiteral("Процесс:"), box));
    m_progress = new CommandProgressBar(box);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setFixedWidth(160);
    controls->addWidget(m_progress);
    controls->addStretch();
    layout->addLayout(controls);

    auto *grids = new QHBoxLayout;
    auto *results = new CursorGrid(m_data.tblSel_KU, box);
    results->setObjectName(QStringLiteral("DBGridSel"));
    results->setColumns(Columns{{fld::Company, "Компания"},
                                {fld::TipKU, "Тип КУ"},
                                {fld::Qk, "Q, кВАр"},
                                {fld::Qku_min, "Qмин, кВАр"},
                                {fld::Qku_max, "Qмакс, кВАр"},
                                {fld::Cosf_sr, "cos(f)"},
                                {fld::Cosf_min, "cos(f)мин"},
                                {fld::Cosf_max, "cos(f)макс"},
                                {fld::Tgf_sr, "tg(f)"},
                                {fld::DSWsk, "d$Wsк, грн"},
                                {fld::DSWskm, "d$Wsкм, грн"},
                                {fld::DSWskg, "d$Wsкг, грн"},
                                {fld::Srok, "Срок, лет"}} +
                        analysisEconomicsColumns(m_data));
    results->setColumns(results->cursorModel()->columns() +
                        resonanceColumns(m_data.store(), ResonanceRows::Candidates));
    // A row chosen by the user (the grid has the keyboard), not one a command passes over.
    connect(results->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this, results] {
        if (results->hasFocus())
            QMetaObject::invokeMethod(this, &TSelKU_Fm::followCandidate, Qt::QueuedConnection);
    });
    auto *modes = new CursorGrid(m_data.tblSel_KU, box);
    modes->setObjectName(QStringLiteral("DBGridRejim"));
    modes->setColumns({{fld::Rejim, "Режим подбора"},
                       {fld::PCosf_min, "cos(f)мин"},
                       {fld::PCosf_max, "cos(f)макс"},
                       {fld::PCosf_tr, "cos(f)тр"}});
    modes->setColumnWidth(
        0, modes->fontMetrics().horizontalAdvance(QStringLiteral("cos(f) в заданном диапазоне значений")) + 12);
    auto *modeColumn = new QVBoxLayout;
    modeColumn->setSpacing(2);
    modeColumn->addWidget(boldLabel("lblRejim", QStringLiteral("Режим компенсации."), box));
    modeColumn->addWidget(modes, 1);
    auto *resultColumn = new QVBoxLayout;
    resultColumn->setSpacing(2);
    resultColumn->addSpacing(modeColumn->itemAt(0)->sizeHint().height() + 2);
    resultColumn->addWidget(results, 1);
    grids->addLayout(resultColumn, 3);
    grids->addLayout(modeColumn, 1);
    layout->addLayout(grids, 1);
    return box;
}

void TSelKU_Fm::setVariantFields(const QString &varNum, const QString &kp)
{
    m_var->setText(varNum);
    m_kp->setText(kp);
}

VariantParams TSelKU_Fm::params() const
{
    VariantParams p;
    p.varNum = m_var->text();
    p.kp = m_kp->text();
    p.mode = m_mode->input();
    return p;
}

SelectionInput TSelKU_Fm::selectionInput() const
{
    SelectionInput in;
    in.kp = m_kp->text();
    in.mode = m_mode->input();
    return in;
}

QWidget *TSelKU_Fm::fieldOf(int which) const
{
    switch (which) {
    case VariantParams::VarNum:
        return m_var;
    case VariantParams::Kp:
        return m_kp;
    case EditCosfField:
        return m_cosf;
    default:
        return m_mode->field(which);
    }
}

void TSelKU_Fm::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        m_mode->takeFromVariant(*m_data.tblProj2);
        const TTable &project = *m_data.tblProj0;
        const bool any = project.active() && !project.isEmpty();
        m_qmin->setText(any ? project.asString(fld::Qmin) : QString());
        m_qmax->setText(any ? project.asString(fld::Qmax) : QString());
        UpdateDiapQku();
        UpdateSelectionButtons();
        m_var->setFocus();
        m_var->selectAll();
    }
    QDialog::showEvent(event);
}

void TSelKU_Fm::UpdateDiapQku()
{
    QString text;
    runGuarded([&] { text = recommendedRangeText(m_data, m_mode->input()); });
    m_diapQku->setText(text);
}

void TSelKU_Fm::UpdateSelectionButtons()
{
    AnalysisButtons b;
    runGuarded([&] { b = analysisButtons(m_data, selectionInput(), m_cosf->text()); });
    const bool states[CommandCount] = {
        b.add,          b.addAll,       b.replace,         b.remove,          b.removeAll,        b.findInCatalogue,
        b.findInTable,  b.optimum,      b.criteriaFilters, b.criteriaFilters, b.parameterFilters, b.parameterFilters,
        b.valueFilters, b.valueFilters, b.parameterFilters};
    for (int i = 0; i < CommandCount; ++i)
        m_commands[i]->setEnabled(states[i]);
    m_addCatalogue->setEnabled(b.addCatalogue);
    m_optimumNpv->setEnabled(b.optimum);
    m_ok->setEnabled(b.ok);
}

bool TSelKU_Fm::checkInput()
{
    return !refuseInput(checkSelectionInput(m_kp->text(), m_mode->input()), [this](int f) { return fieldOf(f); });
}

void TSelKU_Fm::runLong(const std::function<void(const Progress &)> &command)
{
    // Work over many types shows the progress dialog with «Отмена» once it takes a moment; a
    // cancel rolls the command back.
    LongWork work(this, QStringLiteral("Анализ конденсаторных установок"));
    const Progress dialog = work.progress();
    const Progress bar = m_progress->progress();
    const Progress progress = [&](int value, int maximum) {
        bar(value, maximum);
        dialog(value, maximum);
    };
    std::optional<InputProblem> refused;
    runBusy(
        [&] {
            try {
                work.here([&] { command(progress); });
            } catch (const InputError &e) {
                // Shown below, once the hourglass is gone, so that the focus can go to the refused field.
                refused = InputProblem{e.field(), e.message()};
            }
        },
        [this] { m_progress->finish(); });
    refuseInput(refused, [this](int f) { return fieldOf(f); });
}

void TSelKU_Fm::runCommand(int command)
{
    const Comparison op = comparisonByCaption(m_comparison->currentText()).value_or(Comparison::Less);
    switch (command) {
    case cmdAdd:
    case cmdReplace:
        if (!checkInput())
            return;
        runLong([&](const Progress &) {
            if (command == cmdAdd)
                addCandidate(m_data, selectionInput());
            else
                replaceCandidate(m_data, selectionInput());
        });
        break;
    case cmdAddAll:
        if (!checkInput())
            return;
        runLong([&](const Progress &p) { addCompanyCandidates(m_data, selectionInput(), p); });
        break;
    case cmdDelete:
        runGuarded([this] { deleteCandidate(m_data); });
        break;
    case cmdDeleteAll:
        runLong([&](const Progress &p) { deleteAllCandidates(m_data, p); });
        break;
    case cmdFindInCatalogue:
        runGuarded([this] { findCandidateInCatalogue(m_data); });
        return;
    case cmdFindInTable:
        runGuarded([this] { findCandidateInTable(m_data); });
        return;
    case cmdOptimum:
        runLong([&](const Progress &) { gotoOptimum(m_data, m_mode->input()); });
        followCandidate();
        return;
    case cmdDailyCriteria:
        runLong([&](const Progress &p) { dropByDailyCriteria(m_data, p); });
        break;
    case cmdPeriodCriteria:
        runLong([&](const Progress &p) { dropByPeriodCriteria(m_data, p); });
        break;
    case cmdInvalid:
        runLong([&](const Progress &p) { dropInvalidCandidates(m_data, p); });
        break;
    case cmdNotFull:
        runLong([&](const Progress &p) { dropNotFullPower(m_data, p); });
        break;
    case cmdDailyValue:
        runLong([&](const Progress &p) { dropByDailyValue(m_data, op, m_cosf->text(), p); });
        break;
    case cmdPeriodValue:
        runLong([&](const Progress &p) { dropByPeriodValue(m_data, op, m_cosf->text(), p); });
        break;
    case cmdResonance:
        runLong([&](const Progress &p) { dropResonanceRisk(m_data, p); });
        break;
    default:
        return;
    }
    UpdateSelectionButtons();
}

void TSelKU_Fm::btnAddCatalogueClick()
{
    if (!checkInput())
        return;
    runLong([&](const Progress &p) { addCatalogueCandidates(m_data, selectionInput(), p); });
    UpdateSelectionButtons();
}

void TSelKU_Fm::btnOptimumNpvClick()
{
    runLong([&](const Progress &) {
        if (!gotoNpvOptimum(m_data))
            Messages::information(noNpvOptimumMessage());
    });
    followCandidate();
}

void TSelKU_Fm::followCandidate()
{
    const TTable &candidates = *m_data.tblSel_KU;
    if (!candidates.active() || candidates.isEmpty())
        return;
    runGuarded([&] {
        if (m_data.tblsKU0->locate(fld::Kod, candidates.value(fld::KodKU0)))
            m_data.tblsKU1->locate(fld::Kod, candidates.value(fld::KodKU1));
    });
}

void TSelKU_Fm::btnSprClick()
{
    if (!m_catalogue)
        return;
    openModal(m_catalogue, [this](int) { UpdateSelectionButtons(); });
}

void TSelKU_Fm::accept()
{
    const VariantParams p = params();
    std::optional<InputProblem> problem;
    if (!runGuarded([&] { problem = checkVariantParams(m_data, p, m_adding); }))
        return;
    if (refuseInput(problem, [this](int f) { return fieldOf(f); }))
        return;
    QDialog::accept();
}

} // namespace korvan
