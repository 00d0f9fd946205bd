// TDiagSutF: the «Просмотр суточных графиков нагрузки» window.
#include "gui/charts/TDiagSutF.h"
#include "core/data/Fields.h"

#include "gui/charts/ViewerParts.h"

#include "core/data/TDataModule1.h"
#include "core/data/TTable.h"
#include "gui/charts/ChartCheckList.h"
#include "gui/charts/ChartExport.h"
#include "gui/charts/ChartView.h"
#include "gui/dialogs/HelpWindow.h"

#include <QCategoryAxis>
#include <QChart>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QMap>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>

namespace korvan {

TDiagSutF::TDiagSutF(TDataModule1 &data, WordApplication &word, QWidget *parent)
    : QDialog(parent), m_data(data), m_word(word), m_items1(dailyGraphItemsWithout()), m_items2(dailyGraphItemsWith())
{
    setObjectName(QStringLiteral("DiagSutF"));
    setWindowTitle(QStringLiteral("Просмотр суточных графиков нагрузки."));
    setSizeGripEnabled(true);

    m_chart = new ChartView(this);
    m_chart->setObjectName(QStringLiteral("Chart1"));
    QChart *c = m_chart->chart();
    m_hours = new QCategoryAxis;
    m_hours->setTitleText(QStringLiteral("Т, час"));
    m_hours->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_hours->setRange(0, 24);
    m_values = new QValueAxis;
    m_values->setTitleText(QStringLiteral("Параметр"));
    c->addAxis(m_hours, Qt::AlignBottom);
    c->addAxis(m_values, Qt::AlignLeft);
    setTitle({QStringLiteral("Суточный график.")});

    m_list1 = new ChartCheckList(2, this);
    m_list1->setObjectName(QStringLiteral("CheckListBox1"));
    m_list2 = new ChartCheckList(2, this);
    m_list2->setObjectName(QStringLiteral("CheckListBox2"));
    m_list3 = new ChartCheckList(1, this);
    m_list3->setObjectName(QStringLiteral("CheckListBox3"));

    m_chkAuto = new QCheckBox(QStringLiteral("Автообновление"), this);
    m_chkAuto->setObjectName(QStringLiteral("chkAuto"));
    m_chkAuto->setToolTip(QStringLiteral("Режим автообновления суточных графиков"));
    m_chkAuto->setChecked(true);
    QPushButton *btnAuto =
        viewerButton(this, "btnAuto", QStringLiteral("Обновить"), QStringLiteral("Обновить суточные графики"));
    QPushButton *btnWord = viewerButton(this, "btnWord", QStringLiteral("Экспорт..."),
                                        QStringLiteral("Экспорт суточных графиков в документ Microsoft Word"));
    QPushButton *btnHelp = viewerButton(this, "btnHelp", QStringLiteral("Справка"), {});
    QPushButton *btnClose = viewerButton(this, "btnClose", QStringLiteral("Закрыть"), QStringLiteral("Закрыть диалог"));

    QHBoxLayout *lists = viewerListsRow(m_list1, m_list2, m_list3, m_chkAuto, btnAuto, btnWord, btnHelp, btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_chart, 1);
    layout->addLayout(lists);
    for (ChartCheckList *l : {m_list1, m_list2, m_list3}) {
        connect(l, &ChartCheckList::userToggled, this, &TDiagSutF::autoDraw);
        connect(l, &ChartCheckList::commandRun, this, &TDiagSutF::autoDraw);
    }
    connect(m_list1, &ChartCheckList::hovered, this,
            [this](int row) { emit hintChanged(FieldHintText(m_data, m_items1.value(row), false)); });
    connect(m_list2, &ChartCheckList::hovered, this,
            [this](int row) { emit hintChanged(FieldHintText(m_data, m_items2.value(row), false)); });
    connect(m_chkAuto, &QCheckBox::toggled, this, &TDiagSutF::autoDraw);
    connect(btnAuto, &QPushButton::clicked, this, &TDiagSutF::DrawDailyGraphs);
    connect(btnWord, &QPushButton::clicked, this, &TDiagSutF::btnWordClick);
    connect(btnHelp, &QPushButton::clicked, this, [] { showHelpTopic(HelpContext); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    resize(1100, 760);
}

void TDiagSutF::setVariantLines(const QStringList &lines) { m_list3->setItems(lines); }

QString TDiagSutF::valueAxisTitle() const { return m_values->titleText(); }

void TDiagSutF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The parameter lists are filled once; their marks stay from one opening to the next.
    if (m_list1->count() == 0)
        m_list1->setItems(itemTexts(m_items1));
    if (m_list2->count() == 0)
        m_list2->setItems(itemTexts(m_items2));
    autoDraw();
}

void TDiagSutF::autoDraw()
{
    if (m_chkAuto->isChecked())
        DrawDailyGraphs();
}

void TDiagSutF::setTitle(const QStringList &lines)
{
    m_titleLines = lines;
    QStringList html;
    for (const QString &l : lines)
        html << l.toHtmlEscaped();
    m_chart->chart()->setTitle(html.join(QStringLiteral("<br>")));
}

void TDiagSutF::DrawDailyGraphs()
{
    QChart *c = m_chart->chart();
    c->removeAllSeries();
    for (const QString &label : m_hours->categoriesLabels())
        m_hours->remove(label);

    QStringList names, axisTitle;
    QMap<double, QString> hours; // every T1 and T2 drawn, with its text as shown
    double minValue = 0, maxValue = 0;
    int drawn = 0;

    // One step curve: each period flat from T1 to T2 at its value.
    const auto addSeries = [&](const QString &title, const TTable &table, const QString &field) {
        auto *series = new QLineSeries;
        series->setName(title);
        const int t1 = table.fieldIndex(fld::T1), t2 = table.fieldIndex(fld::T2);
        const int f = table.fieldIndex(field);
        for (const TTable::Row &row : table.rows()) {
            const double value = row[f].toDouble();
            for (int t : {t1, t2}) {
                const double hour = row[t].toDouble();
                series->append(hour, value);
                hours.insert(hour, table.valueText(t, row[t]));
            }
            minValue = std::min(minValue, value);
            maxValue = std::max(maxValue, value);
        }
        if (series->count() == 0) {
            delete series;
            return;
        }
        series->setPen(QPen(ChartView::seriesColour(drawn++), 3));
        series->setPointsVisible(false);
        c->addSeries(series);
        series->attachAxis(m_hours);
        series->attachAxis(m_values);
    };

    for (int row : m_list1->checkedRows()) {
        const ChartItem &item = m_items1[row];
        const QString name = ChartShortName(item.text);
        names << name + QStringLiteral(" = f(T)");
        axisTitle << item.text;
        addSeries(name + QStringLiteral(" = f(T)"), *m_data.tblProj1, item.field);
    }
    for (int row : m_list2->checkedRows()) {
        const ChartItem &item = m_items2[row];
        const QString name = ChartShortName(item.text);
        names << name + QStringLiteral(" = f(T)");
        axisTitle << item.text;
        // The variants are walked on the shared cursor, so their compensated periods follow.
        TTable &variants = *m_data.tblProj2;
        int position = 0;
        for (variants.first(); !variants.eof(); variants.next(), ++position)
            if (m_list3->isChecked(position))
                addSeries(name + variants.asString(fld::VarNum) + QStringLiteral(" = f(T)"), *m_data.tblProj3,
                          item.field);
    }

    setTitle({QStringLiteral("Суточные графики:"), names.join(QStringLiteral("; ")) + u'.'});
    m_values->setTitleText(axisTitle.join(QStringLiteral("; ")));

    // Every hour drawn is labelled; a long graph keeps about two dozen labels so they stay legible.
    const QList<double> ticks = hours.keys();
    const int every = std::max<int>(1, int((ticks.size() + 24) / 25));
    for (int i = 0; i < ticks.size(); i += every)
        m_hours->append(hours.value(ticks[i]), ticks[i]);
    if (ticks.isEmpty())
        m_hours->setRange(0, 24);
    else
        m_hours->setRange(ticks.first(), ticks.last());
    m_values->setRange(minValue, maxValue > minValue ? maxValue : minValue + 1);
    m_values->applyNiceNumbers();
    m_chart->rememberFullRanges();
}

void TDiagSutF::btnWordClick()
{
    exportViewer(this, m_data, m_word, *m_chart, *m_list1, m_items1, *m_list2, m_items2, *m_list3);
}

} // namespace korvan
