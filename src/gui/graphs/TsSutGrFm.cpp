// TsSutGrFm: the «Характерные суточные графики нагрузки» catalogue window.
#include "gui/graphs/TsSutGrFm.h"
#include "core/data/Fields.h"

#include "gui/graphs/StepChart.h"
#include "gui/graphs/TAddSutGrF.h"
#include "gui/ui/InputProblemBox.h"
#include "gui/widgets/DBNavigator.h"

#include "core/calc/Numbers.h"
#include "core/data/Records.h"
#include "core/data/TDataModule1.h"
#include "core/graphs/TypicalGraphCommands.h"
#include "core/Messages.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/dialogs/ModalDialog.h"
#include "gui/ui/CommandGuard.h"
#include "gui/ui/Lib.h"
#include "gui/widgets/CursorGrid.h"
#include "gui/widgets/NumericEdit.h"
#include "gui/widgets/StepButton.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace korvan {

namespace {

const QString GraphFields[] = {fld::T1, fld::T2, fld::P, fld::Q};

} // namespace

TsSutGrFm::TsSutGrFm(TDataModule1 &data, QWidget *parent)
    : QDialog(parent), m_data(data), m_chkP(new QCheckBox(QStringLiteral("P = f(T)"), this)),
      m_chkQ(new QCheckBox(QStringLiteral("Q = f(T)"), this)), m_chart(new StepChart(this)), m_maxima(new QWidget(this))
{
    setObjectName(QStringLiteral("sSutGrFm"));
    setWindowTitle(QStringLiteral("Характерные суточные графики нагрузки."));

    TTable *tables[] = {data.tblSutGr0, data.tblSutGr1, data.tblSutGr2};
    for (int i = 0; i < 3; ++i) {
        m_grids[i] = new CursorGrid(tables[i], this);
        m_grids[i]->setObjectName(QStringLiteral("DBGrid%1").arg(i));
    }
    m_grids[0]->setColumns({{fld::Otrasl, QStringLiteral("Отрасль промышленности")}});
    m_grids[1]->setColumns({{fld::Name, QStringLiteral("Наименование предприятия")}});
    m_grids[2]->setColumns({{fld::T1, QStringLiteral("T1, час")},
                            {fld::T2, QStringLiteral("T2, час")},
                            {fld::P, QStringLiteral("P, %")},
                            {fld::Q, QStringLiteral("Q, %")}});
    for (int i = 0; i < 2; ++i) {
        m_grids[i]->setReadOnly(false);
        m_grids[i]->horizontalHeader()->setStretchLastSection(true);
    }
    m_grids[2]->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto box = [this](const QString &title, const char *name) {
        auto *g = new QGroupBox(title, this);
        g->setObjectName(QLatin1String(name));
        return g;
    };
    auto *industries = box(QStringLiteral("Отрасли."), "GroupOtrasl");
    auto *enterprises = box(QStringLiteral("Предприятия."), "GroupName");
    for (int i = 0; i < 2; ++i) {
        m_navigators[i] = new DBNavigator(tables[i], this);
        m_navigators[i]->setObjectName(QStringLiteral("DBNavigator%1").arg(i));
        m_navigators[i]->setGrid(m_grids[i]);
        auto *l = new QVBoxLayout(i == 0 ? industries : enterprises);
        l->addWidget(m_navigators[i]);
        l->addWidget(m_grids[i]);
    }

    auto *graph = box(QStringLiteral("Суточный график."), "GroupGraph");
    auto *graphLayout = new QVBoxLayout(graph);
    auto *graphButtons = new QHBoxLayout;
    auto command = [this, graphButtons](const QString &caption, const char *name, const QString &hint,
                                        void (TsSutGrFm::*slot)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        graphButtons->addWidget(b);
        return b;
    };
    command(QStringLiteral("Редактировать..."), "btnEditSutGr",
            QStringLiteral("Редактировать суточный график нагрузки"), &TsSutGrFm::btnEditSutGrClick);
    command(QStringLiteral("Копировать"), "btnCopy", QStringLiteral("Копировать суточный график нагрузки"),
            &TsSutGrFm::btnCopyClick);
    m_btnPaste = command(QStringLiteral("Вставить"), "btnPaste",
                         QStringLiteral("Вставить скопированный суточный график нагрузки"), &TsSutGrFm::btnPasteClick);
    m_btnPaste->setEnabled(false);
    graphButtons->addStretch();
    graphLayout->addLayout(graphButtons);
    graphLayout->addWidget(m_grids[2]);

    auto *drawing = box(QStringLiteral("Отображение суточных графиков:"), "GroupDraw");
    auto *drawLayout = new QVBoxLayout(drawing);
    auto *boxes = new QHBoxLayout;
    m_chkP->setObjectName(QStringLiteral("chkP"));
    m_chkQ->setObjectName(QStringLiteral("chkQ"));
    m_chkP->setChecked(true);
    m_chkQ->setChecked(true);
    connect(m_chkP, &QCheckBox::clicked, this, &TsSutGrFm::DrawCatalogueGraph);
    connect(m_chkQ, &QCheckBox::clicked, this, &TsSutGrFm::DrawCatalogueGraph);
    boxes->addWidget(m_chkP);
    boxes->addWidget(m_chkQ);
    boxes->addStretch();
    drawLayout->addLayout(boxes);
    m_chart->setObjectName(QStringLiteral("Chart1"));
    drawLayout->addWidget(m_chart, 1);

    auto *lists = new QHBoxLayout;
    lists->addWidget(industries, 1);
    lists->addWidget(enterprises, 1);
    lists->addWidget(graph, 1);

    // Footer: the maxima for a selection, then the buttons.
    m_maxima->setObjectName(QStringLiteral("PanelMaxima"));
    auto *maxLayout = new QHBoxLayout(m_maxima);
    maxLayout->setContentsMargins(0, 0, 0, 0);
    m_editPmax = maximum(
        "EditPmax", QStringLiteral("Максимальное значение активной мощности реального суточного графика нагрузки"));
    m_editQmax = maximum(
        "EditQmax", QStringLiteral("Максимальное значение реактивной мощности реального суточного графика нагрузки"));
    auto addMaximum = [&](const QString &label, NumericEdit *edit,
                          std::initializer_list<std::pair<double, const char *>> steps) {
        auto *l = new QLabel(label, m_maxima);
        l->setBuddy(edit);
        maxLayout->addWidget(l);
        maxLayout->addWidget(edit);
        for (const auto &[step, name] : steps) {
            auto *b = new StepButton(edit, step, m_maxima);
            b->setObjectName(QLatin1String(name));
            b->setCaptionShown(true);
            maxLayout->addWidget(b);
        }
        maxLayout->addSpacing(16);
    };
    addMaximum(QStringLiteral("Pмакс, кВт:"), m_editPmax, {{100, "btnP100"}, {10, "btnP10"}, {1, "btnP1"}});
    addMaximum(QStringLiteral("Qмакс, кВАр:"), m_editQmax, {{100, "btnQ100"}, {10, "btnQ10"}, {1, "btnQ1"}});

    m_btnOK = new QPushButton(QStringLiteral("ОК"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto *help = new QPushButton(QStringLiteral("Справка"), this);
    help->setObjectName(QStringLiteral("btnHelp"));
    for (QPushButton *b : {m_btnOK, m_btnCancel, help})
        b->setAutoDefault(false);
    connect(m_btnOK, &QPushButton::clicked, this, &TsSutGrFm::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &TsSutGrFm::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelpTopic(HelpContext); });
    auto *footer = new QHBoxLayout;
    footer->addWidget(m_maxima);
    footer->addStretch();
    footer->addWidget(m_btnOK);
    footer->addWidget(m_btnCancel);
    footer->addWidget(help);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists, 2);
    layout->addWidget(drawing, 3);
    layout->addLayout(footer);

    connect(data.tblSutGr1, &TTable::currentChanged, this, &TsSutGrFm::DrawCatalogueGraph);
    connect(data.tblSutGr1, &TTable::rowsChanged, this, &TsSutGrFm::DrawCatalogueGraph);
    connect(data.tblSutGr2, &TTable::rowsChanged, this, &TsSutGrFm::drawWhenBrowsing);

    setSelectionMode(false);
    resize(1100, 760);
}

NumericEdit *TsSutGrFm::maximum(const char *name, const QString &hint)
{
    auto *e = new NumericEdit(NumericEdit::Decimal, m_maxima);
    e->setObjectName(QLatin1String(name));
    e->setText(QStringLiteral("100"));
    e->setToolTip(hint);
    e->setFixedWidth(80);
    e->setAlignment(Qt::AlignRight);
    return e;
}

void TsSutGrFm::setSelectionMode(bool on)
{
    m_selection = on;
    m_maxima->setVisible(on);
    m_btnOK->setVisible(on);
    m_btnCancel->setText(on ? QStringLiteral("Отмена") : QStringLiteral("Закрыть"));
}

QList<LoadPeriod> TsSutGrFm::currentGraph() const
{
    if (m_data.tblSutGr1->isEmpty())
        return {};
    return loadPeriodsOf(*m_data.tblSutGr2);
}

double TsSutGrFm::pmax() const { return parseNumber(m_editPmax->text()).value_or(0); }
double TsSutGrFm::qmax() const { return parseNumber(m_editQmax->text()).value_or(0); }

void TsSutGrFm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    DrawCatalogueGraph();
}

void TsSutGrFm::drawWhenBrowsing()
{
    if (!m_data.tblSutGr2->editing())
        DrawCatalogueGraph();
}

void TsSutGrFm::DrawCatalogueGraph()
{
    // Drawn when shown; while hidden the commands walking the catalogue need no drawing.
    if (!isVisible())
        return;
    const bool p = m_chkP->isChecked(), q = m_chkQ->isChecked();
    QString title = QStringLiteral("Суточные графики P = f(T), Q = f(T)"), valueTitle = QStringLiteral("P, %; Q, %");
    if (p && !q) {
        title = QStringLiteral("Суточный график P = f(T)");
        valueTitle = QStringLiteral("P, %");
    } else if (q && !p) {
        title = QStringLiteral("Суточный график Q = f(T)");
        valueTitle = QStringLiteral("Q, %");
    }
    m_chart->draw(currentGraph(), p, q, title, valueTitle);
}

void TsSutGrFm::accept()
{
    if (!CheckPositiveNumber(m_editPmax, QStringLiteral("максимальной активной мощности"), true))
        return;
    if (!CheckPositiveNumber(m_editQmax, QStringLiteral("максимальной реактивной мощности"), true))
        return;
    if (m_data.tblSutGr1->isEmpty() || m_data.tblSutGr2->isEmpty()) {
        refuseAt(m_grids[2], QStringLiteral("Заполнение таблицы суточного графика обязательно."));
        return;
    }
    QDialog::accept();
}

void TsSutGrFm::done(int result)
{
    // A name typed in a grid and not yet posted is kept when the window closes.
    runGuarded([this] {
        m_data.tblSutGr0->checkBrowseMode();
        m_data.tblSutGr1->checkBrowseMode();
    });
    QDialog::done(result);
}

void TsSutGrFm::btnEditSutGrClick()
{
    if (const auto problem = typicalGraphEditProblem(m_data)) {
        Messages::error(*problem);
        return;
    }
    if (!m_editor)
        return;
    QList<QStringList> rows;
    const TTable &t = *m_data.tblSutGr2;
    for (const TTable::Row &row : t.rows()) {
        QStringList cells;
        for (const QString &f : GraphFields) {
            const int i = t.fieldIndex(f);
            cells << t.valueText(i, row[i]);
        }
        rows << cells;
    }
    m_editor->prime({QStringLiteral("Т1, ч"), QStringLiteral("Т2, ч"), QStringLiteral("P, %"), QStringLiteral("Q, %")},
                    rows, false);
    openModal(m_editor, [this](int result) {
        if (result != QDialog::Accepted)
            return;
        runGuarded([this] { replaceTypicalGraph(m_data, graphPeriods(m_editor->rows())); });
        DrawCatalogueGraph();
    });
}

void TsSutGrFm::btnCopyClick()
{
    m_buffer.clear();
    const TTable &t = *m_data.tblSutGr2;
    if (!m_data.tblSutGr1->isEmpty())
        for (const TTable::Row &row : t.rows())
            for (const QString &f : GraphFields) {
                const int i = t.fieldIndex(f);
                m_buffer << t.valueText(i, row[i]);
            }
    m_btnPaste->setEnabled(true);
}

void TsSutGrFm::btnPasteClick()
{
    if (const auto problem = typicalGraphEditProblem(m_data)) {
        Messages::error(*problem);
        return;
    }
    QList<QStringList> rows;
    for (int i = 0; i + 3 < m_buffer.size(); i += 4)
        rows << m_buffer.mid(i, 4);
    runGuarded([&] { replaceTypicalGraph(m_data, graphPeriods(rows)); });
    DrawCatalogueGraph();
}

} // namespace korvan
