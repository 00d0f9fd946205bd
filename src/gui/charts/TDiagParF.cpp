// TDiagParF: the «Просмотр диаграмм» window (characteristics as bars).
#include "gui/charts/TDiagParF.h"
#include "core/data/Fields.h"

#include "gui/charts/ViewerParts.h"

#include "core/data/TDataModule1.h"
#include "core/data/TTable.h"
#include "gui/charts/ChartCheckList.h"
#include "gui/charts/ChartExport.h"
#include "gui/charts/ChartView.h"
#include "gui/dialogs/HelpWindow.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>

namespace korvan {

const QString TDiagParF::NoCompensationLine = QStringLiteral("0 - без компенсации");

namespace {

QComboBox *choice(QWidget *parent, const char *name, const QStringList &items)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->addItems(items);
    c->setCurrentIndex(0);
    return c;
}

} // namespace

TDiagParF::TDiagParF(TDataModule1 &data, WordApplication &word, QWidget *parent)
    : QDialog(parent), m_data(data), m_word(word)
{
    setObjectName(QStringLiteral("DiagParF"));
    setWindowTitle(QStringLiteral("Просмотр диаграмм."));
    setSizeGripEnabled(true);

    m_chart = new ChartView(this);
    m_chart->setObjectName(QStringLiteral("Chart1"));
    QChart *c = m_chart->chart();
    c->setTitle(QStringLiteral("Диаграммы."));
    m_categories = new QBarCategoryAxis;
    m_categories->setTitleText(QStringLiteral("Варианты компенсации"));
    m_values = new QValueAxis;
    m_values->setTitleText(QStringLiteral("Параметр"));
    c->addAxis(m_categories, Qt::AlignBottom);
    c->addAxis(m_values, Qt::AlignLeft);

    m_cmbParams = choice(this, "cmbParams", diagramParamChoices());
    m_cmbLabel = choice(this, "cmbLabel", {QStringLiteral("значение"), QStringLiteral("нет")});
    m_cmbLabel->setToolTip(QStringLiteral("Параметр, выводимый в надписи диаграммы"));

    m_list1 = new ChartCheckList(2, this);
    m_list1->setObjectName(QStringLiteral("CheckListBox1"));
    m_list2 = new ChartCheckList(2, this);
    m_list2->setObjectName(QStringLiteral("CheckListBox2"));
    m_list3 = new ChartCheckList(1, this);
    m_list3->setObjectName(QStringLiteral("CheckListBox3"));

    m_chkAuto = new QCheckBox(QStringLiteral("Автообновление"), this);
    m_chkAuto->setObjectName(QStringLiteral("chkAuto"));
    m_chkAuto->setToolTip(QStringLiteral("Режим автообновления диаграмм"));
    m_chkAuto->setChecked(true);
    QPushButton *btnScaleInc =
        viewerButton(this, "btnScaleInc", QStringLiteral("+"), QStringLiteral("Увеличить масштаб на 10 %"));
    QPushButton *btnScaleDec =
        viewerButton(this, "btnScaleDec", QStringLiteral("-"), QStringLiteral("Уменьшить масштаб на 10 %"));
    QPushButton *btnScale100 =
        viewerButton(this, "btnScale100", QStringLiteral("100%"), QStringLiteral("Установить масштаб 100 %"));
    QPushButton *btnAuto =
        viewerButton(this, "btnAuto", QStringLiteral("Обновить"), QStringLiteral("Обновить диаграммы"));
    QPushButton *btnWord = viewerButton(this, "btnWord", QStringLiteral("Экспорт..."),
                                        QStringLiteral("Экспорт диаграмм в документ Microsoft Word"));
    QPushButton *btnHelp = viewerButton(this, "btnHelp", QStringLiteral("Справка"), {});
    QPushButton *btnClose = viewerButton(this, "btnClose", QStringLiteral("Закрыть"), QStringLiteral("Закрыть диалог"));

    auto *choices = new QHBoxLayout;
    choices->addWidget(new QLabel(QStringLiteral("Выбор параметров:"), this));
    choices->addWidget(m_cmbParams);
    choices->addSpacing(16);
    choices->addWidget(new QLabel(QStringLiteral("Надпись диаграммы:"), this));
    choices->addWidget(m_cmbLabel);
    choices->addStretch(1);
    choices->addWidget(new QLabel(QStringLiteral("Масштаб:"), this));
    for (QPushButton *b : {btnScaleInc, btnScaleDec, btnScale100}) {
        b->setMaximumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 28);
        choices->addWidget(b);
    }

    QHBoxLayout *lists = viewerListsRow(m_list1, m_list2, m_list3, m_chkAuto, btnAuto, btnWord, btnHelp, btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_chart, 1);
    layout->addLayout(choices);
    layout->addLayout(lists);

    for (ChartCheckList *l : {m_list1, m_list2, m_list3}) {
        connect(l, &ChartCheckList::commandRun, this, &TDiagParF::autoDraw);
    }
    connect(m_list1, &ChartCheckList::userToggled, this, &TDiagParF::autoDraw);
    connect(m_list2, &ChartCheckList::userToggled, this, &TDiagParF::autoDraw);
    connect(m_list3, &ChartCheckList::userToggled, this, &TDiagParF::list3Toggled);
    connect(m_list1, &ChartCheckList::hovered, this,
            [this](int row) { emit hintChanged(FieldHintText(m_data, m_items1.value(row), false)); });
    connect(m_list2, &ChartCheckList::hovered, this,
            [this](int row) { emit hintChanged(FieldHintText(m_data, m_items2.value(row), false)); });
    connect(m_cmbParams, &QComboBox::currentIndexChanged, this, [this] {
        fillParameterLists();
        autoDraw();
    });
    connect(m_cmbLabel, &QComboBox::currentIndexChanged, this, &TDiagParF::autoDraw);
    connect(m_chkAuto, &QCheckBox::toggled, this, &TDiagParF::autoDraw);
    connect(btnScaleInc, &QPushButton::clicked, this, [this] { m_chart->zoomBy(0.1); });
    connect(btnScaleDec, &QPushButton::clicked, this, [this] { m_chart->zoomBy(-0.1); });
    connect(btnScale100, &QPushButton::clicked, this, [this] { m_chart->resetZoom(); });
    connect(btnAuto, &QPushButton::clicked, this, &TDiagParF::DrawDiagrams);
    connect(btnWord, &QPushButton::clicked, this, &TDiagParF::btnWordClick);
    connect(btnHelp, &QPushButton::clicked, this, [] { showHelpTopic(HelpContext); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    resize(1100, 800);
}

void TDiagParF::setVariantLines(const QStringList &lines) { m_list3->setItems(lines); }

void TDiagParF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fillParameterLists();
    autoDraw();
}

void TDiagParF::fillParameterLists()
{
    const QString choice = m_cmbParams->currentText();
    m_items1 = diagramItemsWithout(choice);
    m_items2 = diagramItemsWith(choice);
    m_list1->setItems(itemTexts(m_items1));
    m_list2->setItems(itemTexts(m_items2));
}

void TDiagParF::autoDraw()
{
    if (m_chkAuto->isChecked())
        DrawDiagrams();
}

void TDiagParF::list3Toggled(int row)
{
    // The project without compensation stays in the diagram while it has bars.
    if (row == 0 && m_list3->text(0) == NoCompensationLine && !m_list3->isChecked(0))
        m_list3->setChecked(0, true);
    autoDraw();
}

void TDiagParF::DrawDiagrams()
{
    QChart *c = m_chart->chart();
    c->removeAllSeries();
    m_categories->clear();

    struct Bars {
        QString title;
        QList<double> values;
    };
    QList<Bars> bars;
    QStringList axisTitle;

    const TTable &project = *m_data.tblProj0;
    for (int row : m_list1->checkedRows()) {
        const ChartItem &item = m_items1[row];
        axisTitle << item.text;
        bars.append({ChartShortName(item.text), {project.isEmpty() ? 0.0 : project.asFloat(item.field)}});
    }

    const int z = bars.isEmpty() ? 0 : 1;
    const bool hasNoCompensation = m_list3->count() > 0 && m_list3->text(0) == NoCompensationLine;
    if (z == 0 && hasNoCompensation)
        delete m_list3->takeItem(0);
    else if (z == 1 && !hasNoCompensation)
        m_list3->insertItemAt(0, NoCompensationLine, true);

    QStringList categories;
    if (z)
        categories << QStringLiteral("0");
    const QList<int> rows2 = m_list2->checkedRows();
    QList<Bars> bars2;
    for (int row : rows2) {
        axisTitle << m_items2[row].text;
        bars2.append({ChartShortName(m_items2[row].text), z ? QList<double>{0.0} : QList<double>{}});
    }
    if (!rows2.isEmpty()) {
        // The variants are walked on the shared cursor, in table order.
        TTable &variants = *m_data.tblProj2;
        int position = 0;
        for (variants.first(); !variants.eof(); variants.next(), ++position) {
            if (!m_list3->isChecked(position + z))
                continue;
            categories << variants.asString(fld::VarNum);
            for (int i = 0; i < rows2.size(); ++i)
                bars2[i].values << variants.asFloat(m_items2[rows2[i]].field);
        }
    }
    bars += bars2;

    auto *series = new QBarSeries;
    double minValue = 0, maxValue = 0;
    int shown = 0;
    for (const Bars &b : bars) {
        if (b.values.isEmpty())
            continue;
        auto *set = new QBarSet(b.title);
        set->append(b.values);
        const QColor colour = ChartView::seriesColour(shown++);
        set->setColor(colour);
        set->setBorderColor(colour.darker(130));
        set->setLabelColor(Qt::black);
        series->append(set);
        for (double v : b.values) {
            minValue = std::min(minValue, v);
            maxValue = std::max(maxValue, v);
        }
    }
    m_values->setTitleText(axisTitle.join(QStringLiteral("; ")));
    if (shown > 0) {
        series->setLabelsVisible(m_cmbLabel->currentText() == QStringLiteral("значение"));
        series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
        series->setLabelsFormat(QStringLiteral("@value"));
        series->setBarWidth(0.8);
        c->addSeries(series);
        m_categories->append(categories);
        series->attachAxis(m_categories);
        series->attachAxis(m_values);
    } else {
        delete series;
    }
    // Room above the highest bar for its value mark.
    m_values->setRange(minValue, maxValue > minValue ? maxValue + (maxValue - minValue) * 0.08 : minValue + 1);
    m_values->applyNiceNumbers();
    m_chart->rememberFullRanges();
}

void TDiagParF::btnWordClick()
{
    exportViewer(this, m_data, m_word, *m_chart, *m_list1, m_items1, *m_list2, m_items2, *m_list3);
}

} // namespace korvan
