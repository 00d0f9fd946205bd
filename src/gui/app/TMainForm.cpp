// TMainForm: the main window, with the menu and toolbar of every command.
#include "gui/app/TMainForm.h"
#include "core/data/Fields.h"

#include "core/charts/ChartItems.h"
#include "core/compensation/AnalysisCommands.h"
#include "core/compensation/VariantCommands.h"
#include "core/data/Records.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/graphs/GraphCommands.h"
#include "core/graphs/GraphEditorTable.h"
#include "core/graphs/TypicalGraphCommands.h"
#include "core/Messages.h"
#include "core/project/EconomicsCommands.h"
#include "core/project/MainGrids.h"
#include "core/project/ProjectCommands.h"
#include "core/reports/DocumentOpener.h"
#include "core/reports/ProjectReport.h"
#include "core/reports/WordApplication.h"
#include "core/Version.h"
#include "gui/app/CharacteristicGrid.h"
#include "gui/app/MenuBarKeys.h"
#include "gui/app/StoreChoice.h"
#include "gui/app/TAboutForm.h"
#include "gui/app/TStoreForm.h"
#include "gui/app/ToolIcons.h"
#include "gui/charts/TDiagParF.h"
#include "gui/charts/TDiagSutF.h"
#include "gui/compensation/ResonanceColumns.h"
#include "gui/compensation/TSelKompF.h"
#include "gui/compensation/TSelKU_Fm.h"
#include "gui/compensation/TsKUForm.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/dialogs/ModalDialog.h"
#include "gui/graphs/TAddSutGrF.h"
#include "gui/graphs/TOtrPromF.h"
#include "gui/graphs/TsSutGrFm.h"
#include "gui/project/EconomicsColumns.h"
#include "gui/project/TEconomForm.h"
#include "gui/project/TOpenForm.h"
#include "gui/project/TProjForm.h"
#include "gui/project/TSupplyForm.h"
#include "gui/reports/ReportExportRun.h"
#include "gui/reports/TParRepFm.h"
#include "gui/ui/CommandGuard.h"
#include "gui/ui/GridHints.h"
#include "gui/ui/HintUnit.h"
#include "gui/ui/SavedNotice.h"
#include "gui/widgets/CommandProgressBar.h"
#include "gui/widgets/CursorGrid.h"
#include "gui/widgets/TzqFilterTabControl.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QSettings>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvan {

namespace {

const QString Title = QStringLiteral(KORVAN_TITLE ".");

// The grid colours of the window: cream cells, the monthly columns of the variants on money
// green and the yearly ones on sky blue.
const QColor Cream(255, 251, 240);
const QColor MoneyGreen(192, 220, 192);
const QColor SkyBlue(166, 202, 240);

using Columns = QVector<CursorModel::Column>;

// The window's grids show the columns the reports and charts use, coloured by their block.
Columns gridColumns(const QList<GridColumn> &list)
{
    Columns out;
    for (const GridColumn &c : list) {
        const QColor colour = c.block == ColumnBlock::Monthly  ? MoneyGreen
                              : c.block == ColumnBlock::Yearly ? SkyBlue
                                                               : QColor();
        out.append({c.field, c.title, colour});
    }
    return out;
}

// One command of the menu: its item, its hint, its toolbar button if it has one.
struct CommandDef {
    const char *name; // the menu item; the toolbar button is "btn" + the name without "mn"
    const char *text;
    const char *hint;
    std::optional<ToolIcon> icon;
    void (TMainForm::*slot)();
};

const CommandDef Commands[] = {
    {"mnCreate", "&Создать...", "Создать новый проект", ToolIcon::Create, &TMainForm::mnCreateClick},
    {"mnOpen", "&Открыть...", "Открыть существующий проект", ToolIcon::Open, &TMainForm::mnOpenClick},
    {"mnEdit", "&Редактировать...", "Редактировать параметры проекта", {}, &TMainForm::mnEditClick},
    {"mnEconom",
     "&Экономические параметры...",
     "Экономические параметры проекта: ставка дисконтирования, срок службы, "
     "обслуживание, монтаж",
     {},
     &TMainForm::mnEconomClick},
    {"mnSupply",
     "&Питание и гармоники...",
     "Трансформатор, сеть и гармоники нагрузки для проверки резонанса",
     {},
     &TMainForm::mnSupplyClick},
    {"mnDelete", "&Удалить...", "Удалить проект", {}, &TMainForm::mnDeleteClick},
    {"mnSaveAs", "Со&хранить как...", "", {}, &TMainForm::mnSaveAsClick},
    {"mnRecalc", "П&ересчет данных", "Пересчет данных проекта", ToolIcon::Recalc, &TMainForm::mnRecalcClick},
    {"mnDiagSut", "Просмотр суточных &графиков...", "Просмотр суточных графиков нагрузок...", ToolIcon::DailyGraphs,
     &TMainForm::mnDiagSutClick},
    {"mnDiagPar", "Просмотр &диаграмм...", "Просмотр диаграмм проекта", ToolIcon::Diagrams, &TMainForm::mnDiagParClick},
    {"mnWordReport", "Экспорт отчета в Microsoft &Word...", "Экспорт основного отчета в Microsoft Word...",
     ToolIcon::Report, &TMainForm::mnWordReportClick},
    {"mnPdfReport", "Экспорт отчета в P&DF...", "Экспорт основного отчета в PDF...", {}, &TMainForm::mnPdfReportClick},
    {"mnExit", "&Выход", "", {}, &TMainForm::mnExitClick},
    {"mnAddSutGraf", "&Добавить суточный график...", "Добавить суточный график", ToolIcon::AddGraph,
     &TMainForm::mnAddSutGrafClick},
    {"mnEditSutGraf", "&Редактировать суточный график...", "Редактировать суточный график", ToolIcon::EditGraph,
     &TMainForm::mnEditSutGrafClick},
    {"mnAddSutGrafSpr", "Добавить суточный график в &справочник...", "", {}, &TMainForm::mnAddSutGrafSprClick},
    {"mnKUAdd", "&Добавить...", "Добавить конденсаторную установку", ToolIcon::KUAdd, &TMainForm::mnKUAddClick},
    {"mnKUEdit", "&Редактировать...", "Изменить конденсаторную установку", ToolIcon::KUEdit, &TMainForm::mnKUEditClick},
    {"mnKUDelete", "&Удалить...", "Удалить конденсаторную установку", ToolIcon::KUDelete, &TMainForm::mnKUDeleteClick},
    {"mnKUPodbor", "Подбор модулей &текущей КУ...", "Подбор модулей текущей конденсаторной установки",
     ToolIcon::KUSelectOne, &TMainForm::mnKUPodborClick},
    {"mnKUPodborAll", "Подбор модулей &всех КУ...", "Подбор модулей всех конденсаторных установок",
     ToolIcon::KUSelectAll, &TMainForm::mnKUPodborAllClick},
    {"mnWordRepKU", "Экспорт отчета в Microsoft &Word...",
     "Экспорт отчета отдельной конденсаторной установки в Microsoft Word...", ToolIcon::KUReport,
     &TMainForm::mnWordRepKUClick},
    {"mnPdfRepKU",
     "Экспорт отчета в P&DF...",
     "Экспорт отчета отдельной конденсаторной установки в PDF...",
     {},
     &TMainForm::mnPdfRepKUClick},
    {"mnsKU", "&Конденсаторные установки...", "", {}, &TMainForm::mnsKUClick},
    {"mnsSutGr", "&Характерные суточные графики...", "", {}, &TMainForm::mnsSutGrClick},
    {"mnParRep", "&Параметры отчетов проекта...", "", {}, &TMainForm::mnParRepClick},
    {"mnStore",
     "&Хранилище данных...",
     "Каталог данных на этом компьютере или общее хранилище на сервере PostgreSQL",
     {},
     &TMainForm::mnStoreClick},
    {"mnHelp", "&Справка...", "Справочная система программы", ToolIcon::Help, &TMainForm::mnHelpClick},
    {"mnAbout", "&О программе...", "", {}, &TMainForm::mnAboutClick},
};

QLabel *caption(const char *name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

TMainForm::TMainForm(TDataModule1 &data, QWidget *parent)
    : QMainWindow(parent), m_data(data), m_word(std::make_unique<WordApplication>())
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(Title);
    setWindowIcon(QIcon(programPicture(64, 64)));

    buildActions();
    buildMenus();
    buildToolBar();

    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(6);
    m_splitter->addWidget(buildUpperPanel());
    m_splitter->addWidget(buildLowerPanel());
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    m_statusPanel = new QLabel(this);
    m_statusPanel->setObjectName(QStringLiteral("StatusPanel"));
    statusBar()->addWidget(m_statusPanel, 1);

    // The windows of the program's commands, created once.
    m_projForm = new TProjForm(this);
    m_economForm = new TEconomForm(this);
    m_supplyForm = new TSupplyForm(this);
    m_openForm = new TOpenForm(data, this);
    m_aboutForm = new TAboutForm(this);
    m_sKUForm = new TsKUForm(data, this);
    m_selKUForm = new TSelKU_Fm(data, m_sKUForm, this);
    m_selKompForm = new TSelKompF(data, this);
    m_addSutGrForm = new TAddSutGrF(this);
    m_sutGrForm = new TsSutGrFm(data, this);
    m_otrPromForm = new TOtrPromF(data, this);
    m_addSutGrForm->setCatalogue(m_sutGrForm);
    m_sutGrForm->setEditor(m_addSutGrForm);
    m_diagSutF = new TDiagSutF(data, *m_word, this);
    m_diagParF = new TDiagParF(data, *m_word, this);
    connect(m_diagSutF, &TDiagSutF::hintChanged, this, &TMainForm::setStatusHint);
    connect(m_diagParF, &TDiagParF::hintChanged, this, &TMainForm::setStatusHint);
    m_hintForm = new THintForm(data, this);
    m_parRepFm = new TParRepFm(data, this);
    m_storeForm = new TStoreForm(this);

    // Both come once after a command's commit, never from inside it.
    connect(data.tblProj0, &TTable::currentChanged, this, &TMainForm::refreshCharacteristicsIfMoved);
    connect(data.tblProj0, &TTable::rowsChanged, this, &TMainForm::refreshCharacteristicsIfMoved);
    // Moving to another project or variant changes what the commands can act on.
    for (TTable *t : {data.tblProj0, data.tblProj1, data.tblProj2, data.tblProj3}) {
        connect(t, &TTable::rowsChanged, this, &TMainForm::scheduleUpdateCommands);
        connect(t, &TTable::currentChanged, this, &TMainForm::scheduleUpdateCommands);
    }

    // Field hints under the mouse and the pop-up menus that attach them.
    const HintServices hints = hintServices();
    for (CursorGrid *g : dataGrids())
        attachHints(g, hints);
    attachHints(m_gridS, tbl::project0, gridColumnFields(dailyCharacteristicColumns()), hints);
    attachHints(m_gridM, tbl::project0, gridColumnFields(monthlyCharacteristicColumns()), hints);
    attachHints(m_gridG, tbl::project0, gridColumnFields(yearlyCharacteristicColumns()), hints);
    // The catalogue windows and the selection dialog show and attach hints the same way.
    for (QWidget *window : std::initializer_list<QWidget *>{m_sKUForm, m_sutGrForm, m_selKUForm})
        for (CursorGrid *g : window->findChildren<CursorGrid *>())
            attachHints(g, hints);

    // The grids' own commands: Insert and Delete on the variants, and the pop-up menus of both
    // editable grids; the keyboard reaches the menu bar with F10 and Alt.
    addGridCommands(m_grid2, {"mnKUAdd", "mnKUEdit", "mnKUDelete"}, true);
    addGridCommands(m_grid1, {"mnAddSutGraf", "mnEditSutGraf"}, false);
    new MenuBarKeys(this);

    // On a shared server the window follows what other users commit. The store hears of it
    // without asking the server, so polling often costs nothing; the cursors concerned re-read
    // at their next use and the grids bound to them follow at once.
    if (m_data.store().onServer()) {
        auto *follow = new QTimer(this);
        connect(follow, &QTimer::timeout, this, [this] {
            runGuarded([this] {
                if (m_data.store().pollChanges())
                    afterProjectCommand();
            });
        });
        follow->start(500);
    }

    SetCaption();
    SetCharacteristicHeaders();
    RefreshCharacteristics();
    UpdateCommands();
    resize(1200, 800);
}

TMainForm::~TMainForm() = default;

QAction *TMainForm::action(const char *name) const { return m_actions.value(QLatin1String(name)); }

void TMainForm::addGridCommands(CursorGrid *grid, std::initializer_list<const char *> names, bool keys)
{
    const QList<const char *> commands(names);
    if (QMenu *menu = grid->findChild<QMenu *>()) {
        QAction *first = menu->actions().value(0);
        for (const char *name : commands)
            menu->insertAction(first, action(name));
        menu->insertSeparator(first);
    }
    if (!keys)
        return;
    // Add with Insert, delete with Delete, edit with Enter, while the grid has the keyboard.
    const std::pair<QKeySequence, const char *> bindings[] = {{QKeySequence(Qt::Key_Insert), commands.value(0)},
                                                              {QKeySequence(Qt::Key_Delete), commands.value(2)},
                                                              {QKeySequence(Qt::Key_Return), commands.value(1)}};
    for (const auto &[key, name] : bindings) {
        if (!name)
            continue;
        auto *shortcut = new QAction(grid);
        shortcut->setShortcut(key);
        shortcut->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QAction::triggered, this, [this, name] {
            if (action(name)->isEnabled())
                action(name)->trigger();
        });
        grid->addAction(shortcut);
    }
}

void TMainForm::buildActions()
{
    for (const CommandDef &c : Commands) {
        auto *a = new QAction(QString::fromUtf8(c.text), this);
        a->setObjectName(QLatin1String(c.name));
        const QString hint = QString::fromUtf8(c.hint);
        if (!hint.isEmpty()) {
            a->setToolTip(hint);
            a->setStatusTip(hint);
        }
        if (c.icon)
            a->setIcon(toolIcon(*c.icon));
        connect(a, &QAction::triggered, this, c.slot);
        m_actions.insert(a->objectName(), a);
    }
    action("mnHelp")->setShortcut(QKeySequence::HelpContents);
    action("mnCreate")->setShortcut(QKeySequence::New);
    action("mnOpen")->setShortcut(QKeySequence::Open);
    action("mnRecalc")->setShortcut(QKeySequence(Qt::Key_F5));
    action("mnWordReport")->setShortcut(QKeySequence::Print);
    action("mnExit")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void TMainForm::buildMenus()
{
    auto menu = [this](const char *name, const QString &title, std::initializer_list<const char *> items) {
        QMenu *m = menuBar()->addMenu(title);
        m->setObjectName(QLatin1String(name));
        m->setToolTipsVisible(false);
        for (const char *item : items) {
            if (item)
                m->addAction(action(item));
            else
                m->addSeparator();
        }
    };
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    menu("mnProject", QStringLiteral("&Проект"),
         {"mnCreate", "mnOpen", "mnEdit", "mnEconom", "mnSupply", "mnDelete", "mnSaveAs", nullptr, "mnRecalc",
          "mnDiagSut", "mnDiagPar", nullptr, "mnWordReport", "mnPdfReport", nullptr, "mnExit"});
    menu("mnLoad", QStringLiteral("&Нагрузка"), {"mnAddSutGraf", "mnEditSutGraf", nullptr, "mnAddSutGrafSpr"});
    menu("mnKU", QStringLiteral("&КУ"),
         {"mnKUAdd", "mnKUEdit", "mnKUDelete", nullptr, "mnKUPodbor", "mnKUPodborAll", nullptr, "mnWordRepKU",
          "mnPdfRepKU"});
    menu("mnSprav", QStringLiteral("&Справочники"), {"mnsKU", "mnsSutGr"});
    menu("mnParam", QStringLiteral("П&араметры"), {"mnParRep", nullptr, "mnStore"});
    menu("mnHelpMenu", QStringLiteral("Помо&щь"), {"mnHelp", "mnAbout"});
}

void TMainForm::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Панель инструментов"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->toggleViewAction()->setVisible(false);
    const std::initializer_list<const char *> groups[] = {
        {"mnCreate", "mnOpen", "mnRecalc", "mnDiagSut", "mnDiagPar", "mnWordReport"},
        {"mnAddSutGraf", "mnEditSutGraf"},
        {"mnKUAdd", "mnKUEdit", "mnKUDelete", "mnKUPodbor", "mnKUPodborAll", "mnWordRepKU"},
        {"mnHelp"}};
    bool first = true;
    for (const auto &group : groups) {
        if (!first)
            m_toolBar->addSeparator();
        first = false;
        for (const char *name : group) {
            QAction *a = action(name);
            m_toolBar->addAction(a);
            m_toolBar->widgetForAction(a)->setObjectName(QStringLiteral("btn") + a->objectName().mid(2));
        }
    }
    auto *spacer = new QWidget(m_toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(spacer);
    auto *label = new QLabel(QStringLiteral("Процесс:"), m_toolBar);
    label->setObjectName(QStringLiteral("lblProcess"));
    label->setContentsMargins(0, 0, 6, 0);
    m_toolBar->addWidget(label);
    m_progress = new CommandProgressBar(m_toolBar);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setFixedWidth(180);
    m_toolBar->addWidget(m_progress);
}

QWidget *TMainForm::buildUpperPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PanelTop"));
    panel->setMinimumHeight(234);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 2);
    layout->setSpacing(2);

    m_gridS = new CharacteristicGrid(11, Cream, panel);
    m_gridS->setObjectName(QStringLiteral("StrGridS"));
    m_gridM = new CharacteristicGrid(6, Cream, panel);
    m_gridM->setObjectName(QStringLiteral("StrGridM"));
    m_gridG = new CharacteristicGrid(6, Cream, panel);
    m_gridG->setObjectName(QStringLiteral("StrGridG"));

    layout->addWidget(caption("lblSut", QStringLiteral("Суточные характеристики без компенсации."), panel));
    auto *daily = new QHBoxLayout;
    daily->addWidget(m_gridS);
    daily->addStretch();
    layout->addLayout(daily);

    auto *periods = new QHBoxLayout;
    periods->setSpacing(12);
    for (auto [grid, name, text] : {std::tuple{m_gridM, "lblMonth", "Месячные характеристики без компенсации."},
                                    std::tuple{m_gridG, "lblYear", "Годовые характеристики без компенсации."}}) {
        auto *column = new QVBoxLayout;
        column->setSpacing(2);
        column->addWidget(caption(name, QString::fromUtf8(text), panel));
        column->addWidget(grid);
        periods->addLayout(column);
    }
    periods->addStretch();
    layout->addLayout(periods);

    m_grid1 = new CursorGrid(m_data.tblProj1, panel);
    m_grid1->setObjectName(QStringLiteral("DBGrid1"));
    m_grid1->setDefaultBackground(Cream);
    m_grid1->setColumns(gridColumns(loadPeriodColumns()));
    layout->addWidget(caption("lblGraph", QStringLiteral("Суточный график нагрузки без компенсации."), panel));
    layout->addWidget(m_grid1, 1);
    return panel;
}

QWidget *TMainForm::buildLowerPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PanelBottom"));
    panel->setMinimumHeight(225);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(2);

    m_grid2 = new CursorGrid(m_data.tblProj2, panel);
    m_grid2->setObjectName(QStringLiteral("DBGrid2"));
    m_grid2->setDefaultBackground(Cream);
    m_grid2->setColumns(gridColumns(variantColumns()) + variantEconomicsColumns(m_data, SkyBlue) +
                        resonanceColumns(m_data.store(), ResonanceRows::Variants));
    layout->addWidget(caption("lblKU", QStringLiteral("Конденсаторные установки."), panel));
    layout->addWidget(m_grid2, 1);

    m_grid5 = new CursorGrid(m_data.tblProj5, panel);
    m_grid5->setObjectName(QStringLiteral("DBGrid5"));
    m_grid3 = new CursorGrid(m_data.tblProj3, panel);
    m_grid3->setObjectName(QStringLiteral("DBGrid3"));
    m_grid4 = new CursorGrid(m_data.tblProj4, panel);
    m_grid4->setObjectName(QStringLiteral("DBGrid4"));
    m_grid5->setDefaultBackground(Cream);
    m_grid5->setColumns(gridColumns(moduleColumns()));
    m_grid3->setDefaultBackground(Cream);
    m_grid3->setColumns(gridColumns(compensatedPeriodColumns()));
    m_grid4->setDefaultBackground(Cream);
    m_grid4->setColumns(gridColumns(moduleColumns()));
    for (CursorGrid *g : {m_grid5, m_grid4}) {
        g->setColumnWidth(0, 90);
        g->setColumnWidth(1, 90);
        g->setFixedWidth(90 * 2 + g->verticalHeader()->sizeHint().width() + 2 * g->frameWidth() +
                         g->verticalScrollBar()->sizeHint().width());
    }

    auto *details = new QHBoxLayout;
    details->setSpacing(6);
    for (auto [grid, name, text, stretch] :
         {std::tuple{m_grid5, "lblModules", "Модули КУ", 0},
          std::tuple{m_grid3, "lblGraphKomp", "Суточный график нагрузки с компенсацией.", 1},
          std::tuple{m_grid4, "lblUsedModules", "Используемые модули КУ", 0}}) {
        auto *column = new QVBoxLayout;
        column->setSpacing(2);
        column->addWidget(caption(name, QString::fromUtf8(text), panel));
        column->addWidget(grid, 1);
        details->addLayout(column, stretch);
    }
    layout->addLayout(details, 1);
    return panel;
}

QList<CursorGrid *> TMainForm::dataGrids() const { return {m_grid1, m_grid2, m_grid3, m_grid4, m_grid5}; }

QList<CharacteristicGrid *> TMainForm::characteristicGrids() const { return {m_gridS, m_gridM, m_gridG}; }

// ---- state -----------------------------------------------------------------------------------

QString TMainForm::captionFor(const QString &projectName, bool anyProject)
{
    return anyProject ? QStringLiteral(KORVAN_TITLE ". ") + projectName + QStringLiteral(".") : Title;
}

void TMainForm::SetCaption()
{
    const TTable &p = *m_data.tblProj0;
    const bool any = !p.isEmpty();
    setWindowTitle(captionFor(any ? p.asString(fld::Name) : QString(), any));
}

void TMainForm::SetCharacteristicHeaders()
{
    m_gridS->setHeaders(gridColumnTitles(dailyCharacteristicColumns()));
    m_gridM->setHeaders(gridColumnTitles(monthlyCharacteristicColumns()));
    m_gridG->setHeaders(gridColumnTitles(yearlyCharacteristicColumns()));
}

void TMainForm::refreshCharacteristicsIfMoved()
{
    // A command's commit, the window's own follow-up and its activation all ask; the grids are
    // read again only when the store moved since they were filled.
    if (m_data.store().epoch() != m_shownEpoch)
        RefreshCharacteristics();
}

void TMainForm::RefreshCharacteristics()
{
    const TTable &p = *m_data.tblProj0;
    const bool any = p.active() && !p.isEmpty();
    auto values = [&](const QStringList &fields) {
        QStringList out;
        if (any)
            for (const QString &f : fields)
                out << p.asString(f);
        return out;
    };
    m_gridS->setValues(values(gridColumnFields(dailyCharacteristicColumns())));
    m_gridM->setValues(values(gridColumnFields(monthlyCharacteristicColumns())));
    m_gridG->setValues(values(gridColumnFields(yearlyCharacteristicColumns())));
    m_shownEpoch = m_data.store().epoch();
}

void TMainForm::UpdateCommands()
{
    const int projects = m_data.tblProj0->recordCount();
    const bool periods = projects > 0 && m_data.tblProj1->recordCount() > 0;
    const bool variants = projects > 0 && m_data.tblProj2->recordCount() > 0;
    const bool compensated = variants && m_data.tblProj3->recordCount() > 0;
    auto enable = [this](std::initializer_list<const char *> names, bool on) {
        for (const char *n : names)
            action(n)->setEnabled(on);
    };
    enable({"mnOpen"}, projects > 1);
    enable({"mnEdit", "mnEconom", "mnSupply", "mnDelete", "mnSaveAs", "mnAddSutGraf", "mnEditSutGraf"}, projects > 0);
    enable({"mnRecalc", "mnDiagSut", "mnDiagPar", "mnWordReport", "mnPdfReport", "mnAddSutGrafSpr", "mnKUAdd"},
           periods);
    enable({"mnKUEdit", "mnKUDelete", "mnWordRepKU", "mnPdfRepKU"}, variants);
    enable({"mnKUPodbor", "mnKUPodborAll"}, compensated);
    if (QWidget *b = m_toolBar->widgetForAction(action("mnKUDelete")))
        if (auto *button = qobject_cast<QToolButton *>(b))
            button->setDown(false);
}

void TMainForm::scheduleUpdateCommands()
{
    // Runs once the current command is over, however many rows it moved through.
    if (m_updatePending)
        return;
    m_updatePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_updatePending = false;
            UpdateCommands();
        },
        Qt::QueuedConnection);
}

HintServices TMainForm::hintServices()
{
    return {&m_data, m_hintForm, [this](const QString &hint) { setStatusHint(hint); }};
}

void TMainForm::setStatusHint(const QString &text) { m_statusPanel->setText(text); }
QString TMainForm::statusHint() const { return m_statusPanel->text(); }

void TMainForm::FormActivate()
{
    SetCaption();
    SetCharacteristicHeaders();
    refreshCharacteristicsIfMoved();
    UpdateCommands();
    if (isVisible() && !isMaximized())
        showMaximized();
}

void TMainForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TMainForm::afterProjectCommand()
{
    SetCaption();
    refreshCharacteristicsIfMoved();
    UpdateCommands();
}

// ---- "Проект" --------------------------------------------------------------------------------

void TMainForm::mnCreateClick()
{
    m_projForm->setParams(newProjectParams(m_data));
    openModal(m_projForm, [this](int result) {
        if (result == QDialog::Accepted)
            runGuarded([this] { createProject(m_data, m_projForm->params()); });
        afterProjectCommand();
    });
}

void TMainForm::mnEditClick()
{
    if (m_data.tblProj0->isEmpty())
        return;
    editProjectParams(currentProjectParams(m_data));
}

void TMainForm::editProjectParams(const ProjectParams &params)
{
    m_projForm->setParams(params);
    openModal(m_projForm, [this](int result) {
        const bool refused =
            result == QDialog::Accepted && !runGuarded([this] { editProject(m_data, m_projForm->params()); });
        afterProjectCommand();
        // A refused edit (on a server: another user changed the project meanwhile, and the data
        // are re-read) must not lose what the user typed: the window opens again with it, to be
        // written over the fresh row or given up.
        if (refused && !m_data.tblProj0->isEmpty()) {
            const ProjectParams typed = m_projForm->params();
            QMetaObject::invokeMethod(
                this, [this, typed] { editProjectParams(typed); }, Qt::QueuedConnection);
        }
    });
}

void TMainForm::mnEconomClick()
{
    if (m_data.tblProj0->isEmpty())
        return;
    m_economForm->setInput(EconomicInput::of(currentEconomics(m_data)));
    openModal(m_economForm, [this](int result) {
        if (result == QDialog::Accepted)
            runGuarded([this] { setProjectEconomics(m_data, m_economForm->input()); });
    });
}

void TMainForm::mnSupplyClick()
{
    if (m_data.tblProj0->isEmpty())
        return;
    m_supplyForm->setInput(currentSupplyInput(m_data), currentProjectHasSupply(m_data));
    openModal(m_supplyForm, [this](int result) {
        if (result == TSupplyForm::Set)
            runGuarded([this] { setSupply(m_data, m_supplyForm->input()); });
        else if (result == TSupplyForm::Clear)
            runGuarded([this] { clearSupply(m_data); });
        // The check's columns are kept beside the variants' table: show what it found now.
        m_grid2->viewport()->update();
        afterProjectCommand();
    });
}

void TMainForm::mnOpenClick()
{
    const TTable::Bookmark before = m_data.tblProj0->bookmark();
    openModal(m_openForm, [this, before](int result) {
        TzqFilterTabControl *tabs = m_openForm->tabControl();
        TTable &projects = *m_data.tblProj0;
        runGuarded([&] {
            if (result == QDialog::Accepted) {
                // The chosen project stays current when all projects are shown again.
                if (tabs->tabBar()->currentIndex() != 0) {
                    const TTable::Bookmark chosen = projects.bookmark();
                    tabs->selectTab(0);
                    projects.gotoBookmark(chosen);
                }
            } else {
                tabs->selectTab(0);
                projects.gotoBookmark(before);
            }
        });
        afterProjectCommand();
    });
}

void TMainForm::mnDeleteClick()
{
    if (m_data.tblProj0->isEmpty())
        return;
    // The name tells the user which project goes; No is the default, a deletion cannot be undone.
    const QString name = m_data.tblProj0->asString(fld::Name);
    if (!Messages::cautiousQuestion(QStringLiteral("Удалить текущий проект «%1»?").arg(name)))
        return;
    runGuarded([this] { deleteProject(m_data); });
    afterProjectCommand();
}

void TMainForm::mnRecalcClick()
{
    if (m_data.tblProj0->isEmpty())
        return;
    runBusy([this] { recalculateProject(m_data); });
    RefreshCharacteristics();
}

void TMainForm::mnSaveAsClick()
{
    if (m_data.tblProj0->isEmpty())
        return;
    auto *dialog = new QInputDialog(this);
    dialog->setObjectName(QStringLiteral("SaveAsDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("Сохранить как..."));
    dialog->setLabelText(QStringLiteral("Наименование проекта:"));
    dialog->setTextValue(m_data.tblProj0->asString(fld::Name) + QStringLiteral("_1"));
    dialog->setOkButtonText(QStringLiteral("OK"));
    dialog->setCancelButtonText(QStringLiteral("Отмена"));
    // Wide enough for its title and a long project name.
    dialog->setMinimumWidth(420);
    openModal(dialog, [this, dialog](int result) {
        if (result != QDialog::Accepted)
            return;
        const QString name = dialog->textValue();
        repaint();
        runBusy(
            [&] {
                copyProject(m_data, name, m_progress->progress());
                SetCaption();
                RefreshCharacteristics();
            },
            [this] {
                m_progress->finish();
                UpdateCommands();
            });
    });
}

void TMainForm::mnExitClick() { close(); }

// Commands whose windows come with later versions keep their places, states and handlers.
void TMainForm::mnDiagSutClick()
{
    m_diagSutF->setVariantLines(WalkVariantLines(m_data));
    openModal(m_diagSutF, [](int) {});
}

void TMainForm::mnDiagParClick()
{
    m_diagParF->setVariantLines(WalkVariantLines(m_data));
    openModal(m_diagParF, [](int) {});
}
void TMainForm::exportReport(bool allVariants, bool pdf)
{
    TDataModule1 &d = m_data;
    if (d.tblProj0->isEmpty() || d.tblProj1->isEmpty() || (!allVariants && d.tblProj2->isEmpty()))
        return;
    QString path;
    runGuarded([&] { path = runReportExport(this, d, *m_word, allVariants, pdf); });
    if (path.isEmpty())
        return;
    // The document opens as Word stayed open with it; the notice says where it is either way.
    DocumentOpener::current().open(path);
    announceSaved(this, path);
}

void TMainForm::mnWordReportClick() { exportReport(true); }

void TMainForm::mnPdfReportClick() { exportReport(true, true); }

// ---- "Нагрузка", "КУ", "Справочники", "Параметры" --------------------------------------------

void TMainForm::afterGraphCommand()
{
    RefreshCharacteristics();
    UpdateCommands();
}

void TMainForm::mnAddSutGrafClick()
{
    if (m_data.tblProj0->isEmpty())
        return;
    m_sutGrForm->setSelectionMode(true);
    openModal(m_sutGrForm, [this](int result) {
        if (result != QDialog::Accepted)
            return;
        runGuarded([this] {
            replaceProjectGraph(m_data,
                                scaledTypicalGraph(*m_data.tblSutGr2, m_sutGrForm->pmax(), m_sutGrForm->qmax()));
        });
        afterGraphCommand();
    });
}

void TMainForm::mnEditSutGrafClick()
{
    if (m_data.tblProj0->isEmpty())
        return;
    const QList<LoadPeriod> periods = loadPeriodsOf(*m_data.tblProj1);
    m_addSutGrForm->prime(
        {QStringLiteral("Т1, ч"), QStringLiteral("Т2, ч"), QStringLiteral("P, кВт"), QStringLiteral("Q, кВАр")},
        GraphEditorTable::rowsOf(periods), true);
    openModal(m_addSutGrForm, [this](int result) {
        if (result != QDialog::Accepted)
            return;
        runGuarded([this] { replaceProjectGraph(m_data, graphPeriods(m_addSutGrForm->rows())); });
        afterGraphCommand();
    });
}

void TMainForm::mnAddSutGrafSprClick()
{
    if (m_data.tblProj1->isEmpty())
        return;
    openModal(m_otrPromForm, [this](int result) {
        if (result != QDialog::Accepted)
            return;
        runGuarded(
            [this] { addProjectGraphToCatalogue(m_data, m_otrPromForm->industry(), m_otrPromForm->enterprise()); });
        afterGraphCommand();
    });
}
void TMainForm::mnWordRepKUClick() { exportReport(false); }

void TMainForm::mnPdfRepKUClick() { exportReport(false, true); }
void TMainForm::mnsSutGrClick()
{
    m_sutGrForm->setSelectionMode(false);
    openModal(m_sutGrForm, [this](int) { UpdateCommands(); });
}
void TMainForm::mnParRepClick() { openModal(m_parRepFm, {}); }

void TMainForm::mnStoreClick()
{
    const StoreChoice remembered = StoreChoice::load(*StoreChoice::userSettings());
    m_storeForm->setChoice(remembered, &m_data.store());
    openModal(m_storeForm, [this, remembered](int result) {
        if (result != QDialog::Accepted)
            return;
        const StoreChoice chosen = m_storeForm->choice();
        if (chosen == remembered)
            return;
        const std::unique_ptr<QSettings> settings = StoreChoice::userSettings();
        chosen.save(*settings);
        if (settings->status() != QSettings::NoError) {
            Messages::error(QStringLiteral("Не удалось сохранить выбор хранилища данных в файле настроек «%1».")
                                .arg(QDir::toNativeSeparators(settings->fileName())));
            return;
        }
        Messages::information(
            QStringLiteral("Выбор хранилища данных сохранен. Программа будет использовать его со следующего запуска."));
    });
}

// ---- "КУ" ------------------------------------------------------------------------------------

void TMainForm::afterVariantCommand()
{
    RefreshCharacteristics();
    UpdateCommands();
}

void TMainForm::mnKUAddClick()
{
    if (m_data.tblProj0->isEmpty())
        return;
    if (!runGuarded([this] { restrictAnalysisToProject(m_data); }))
        return;
    m_selKUForm->setVariantFields(nextVariantNumber(m_data), QStringLiteral("0,12"));
    m_selKUForm->setAdding(true);
    openModal(m_selKUForm, [this](int result) {
        if (result == QDialog::Accepted) {
            runBusy([this] { addVariant(m_data, m_selKUForm->params()); });
        }
        afterVariantCommand();
    });
}

void TMainForm::mnKUEditClick()
{
    TTable &variant = *m_data.tblProj2;
    if (m_data.tblProj0->isEmpty() || variant.isEmpty())
        return;
    const bool primed = runGuarded([&] {
        // The catalogue shows the variant's installation, as far as the catalogue still has it.
        if (m_data.tblsKU0->locate(fld::Kod, variant.value(fld::KodKU0)))
            m_data.tblsKU1->locate(fld::Kod, variant.value(fld::KodKU1));
        restrictAnalysisToProject(m_data);
    });
    if (!primed)
        return;
    m_selKUForm->setVariantFields(variant.asString(fld::VarNum), variant.asString(fld::Kp));
    m_selKUForm->setAdding(false);
    openModal(m_selKUForm, [this](int result) {
        if (result == QDialog::Accepted) {
            runBusy([this] { editVariant(m_data, m_selKUForm->params()); });
        }
        afterVariantCommand();
    });
}

void TMainForm::mnKUDeleteClick()
{
    if (m_data.tblProj0->isEmpty() || m_data.tblProj2->isEmpty())
        return;
    // The question names the variant; No is the default, a deletion cannot be undone.
    const TTable &v = *m_data.tblProj2;
    if (!Messages::cautiousQuestion(QStringLiteral("Удалить вариант %1 (конденсаторная установка «%2»)?")
                                        .arg(v.asString(fld::VarNum), v.asString(fld::TipKU))))
        return;
    runGuarded([this] { deleteVariant(m_data); });
    afterVariantCommand();
}

void TMainForm::podbor(bool allVariants)
{
    if (m_data.tblProj0->isEmpty() || m_data.tblProj2->isEmpty())
        return;
    openModal(m_selKompForm, [this, allVariants](int result) {
        if (result == QDialog::Accepted) {
            runBusy([&] { reselectModules(m_data, m_selKompForm->input(), allVariants); });
        }
        afterVariantCommand();
    });
}

void TMainForm::mnKUPodborClick() { podbor(false); }
void TMainForm::mnKUPodborAllClick() { podbor(true); }

// ---- "Справочники" ---------------------------------------------------------------------------

void TMainForm::mnsKUClick()
{
    openModal(m_sKUForm, [this](int) { UpdateCommands(); });
}

// ---- "Помощь" --------------------------------------------------------------------------------

void TMainForm::mnHelpClick() { showHelpContents(); }

void TMainForm::mnAboutClick() { openModal(m_aboutForm, {}); }

} // namespace korvan
