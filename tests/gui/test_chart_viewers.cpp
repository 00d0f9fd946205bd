// The daily graph viewer and the parameter diagrams on the three-variant project: what the lists
// offer, what is drawn for the marks set, the variant list of the diagrams, the zoom and the
// export read back from the saved document.
#include "MessageRecorder.h"
#include "ProjectFixture.h"
#include "ReportFixture.h"
#include "SavedReport.h"
#include "ZipReader.h"

#include "core/graphs/GraphCommands.h"
#include "core/hints/Hints.h"
#include "core/reports/WordApplication.h"
#include "gui/app/TMainForm.h"
#include "gui/charts/ChartCheckList.h"
#include "gui/charts/ChartView.h"
#include "gui/charts/ChartExport.h"
#include "gui/charts/TDiagParF.h"
#include "gui/charts/TDiagSutF.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

// Sets the stored hint of a field, or removes it when the text is empty.
void setHint(TDataModule1 &dm, const QString &table, const QString &field, const QString &text)
{
    TTable &hints = *dm.TableHints;
    while (hints.locate(QStringList{"TableName", "FieldName"}, QVariantList{table, field}))
        hints.remove();
    if (!text.isEmpty())
        appendRow(hints, {{"TableName", table}, {"FieldName", field}, {"FieldHint", text}});
}

// The project's values of a field in a variant's compensated periods, as two points per period.
QList<QPointF> compensatedSteps(TDataModule1 &dm, const QString &varNum, const QString &field)
{
    QList<QPointF> points;
    dm.tblProj2->locate("VarNum", varNum);
    for (const TTable::Row &row : dm.tblProj3->rows()) {
        const double v = row[dm.tblProj3->fieldIndex(field)].toDouble();
        points << QPointF(row[dm.tblProj3->fieldIndex("T1")].toDouble(), v)
               << QPointF(row[dm.tblProj3->fieldIndex("T2")].toDouble(), v);
    }
    return points;
}

double variantValue(TDataModule1 &dm, const QString &varNum, const QString &field)
{
    dm.tblProj2->locate("VarNum", varNum);
    return dm.tblProj2->asFloat(field);
}

} // namespace

class TestChartViewers : public QObject {
    Q_OBJECT

    struct Main {
        TestData td;
        MessageRecorder rec;
        std::unique_ptr<TMainForm> form;
        TDataModule1 &dm() { return *td.data; }
        Main()
        {
            createThreeVariantProject(*td.data);
            form = std::make_unique<TMainForm>(*td.data);
        }
        TDiagSutF *openSut()
        {
            form->findChild<QAction *>("mnDiagSut")->trigger();
            return form->findChild<TDiagSutF *>();
        }
        TDiagParF *openPar()
        {
            form->findChild<QAction *>("mnDiagPar")->trigger();
            return form->findChild<TDiagParF *>();
        }
    };

    static ChartCheckList *list(QWidget *viewer, int n)
    {
        return viewer->findChild<ChartCheckList *>(QStringLiteral("CheckListBox%1").arg(n));
    }
    // Changes a mark as a click on the item's box does.
    static void clickItem(ChartCheckList *l, int row)
    {
        QListWidgetItem *i = l->item(row);
        i->setCheckState(i->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    static void clickItem(ChartCheckList *l, const QString &text)
    {
        const QList<QListWidgetItem *> found = l->findItems(text, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(text));
        clickItem(l, l->row(found.first()));
    }
    // The mouse moving over a list's viewport, as the window system delivers it.
    static void hover(ChartCheckList *l, const QPoint &at)
    {
        QMouseEvent move(QEvent::MouseMove, at, l->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(l->viewport(), &move);
    }
    static void menuCommand(ChartCheckList *l, const char *name) { l->findChild<QAction *>(name)->trigger(); }
    static QStringList seriesNames(QWidget *viewer)
    {
        QStringList names;
        for (QAbstractSeries *s : viewer->findChild<ChartView *>("Chart1")->chart()->series())
            names << s->name();
        return names;
    }
    static QList<QPointF> points(QWidget *viewer, int series)
    {
        auto *s =
            qobject_cast<QLineSeries *>(viewer->findChild<ChartView *>("Chart1")->chart()->series().value(series));
        return s ? s->points() : QList<QPointF>{};
    }
    // The bar sets of a diagram: title and values.
    static QList<QPair<QString, QList<double>>> barSets(TDiagParF *viewer)
    {
        QList<QPair<QString, QList<double>>> sets;
        for (QAbstractSeries *s : viewer->chartView()->chart()->series())
            for (QBarSet *set : static_cast<QBarSeries *>(s)->barSets()) {
                QList<double> values;
                for (int i = 0; i < set->count(); ++i)
                    values << set->at(i);
                sets.append({set->label(), values});
            }
        return sets;
    }
    static QStringList texts(ChartCheckList *l)
    {
        QStringList t;
        for (int r = 0; r < l->count(); ++r)
            t << l->text(r);
        return t;
    }

private slots:
    // ---- daily graph viewer ---------------------------------------------------------------

    void dailyFirstOpening()
    {
        Main m;
        auto *v = m.form->findChild<TDiagSutF *>();
        QCOMPARE(v->titleLines(), QStringList{"Суточный график."});
        QCOMPARE(v->valueAxisTitle(), QStringLiteral("Параметр"));

        QCOMPARE(m.openSut(), v);
        QVERIFY(v->isVisible());
        QCOMPARE(v->windowTitle(), QStringLiteral("Просмотр суточных графиков нагрузки."));
        QCOMPARE(v->titleLines(), (QStringList{"Суточные графики:", "."}));
        QCOMPARE(v->valueAxisTitle(), QString());
        QVERIFY(seriesNames(v).isEmpty());
        QCOMPARE(texts(list(v, 1)), (QStringList{"P, кВт", "Q, кВАр", "S, кВА", "I, А", "cos(f)", "tg(f)", "Wp, кВтч",
                                                 "Wq, кВАрч", "Ws, кВАч", "$Wp, грн.", "$Wq, грн", "$Ws, грн"}));
        QCOMPARE(texts(list(v, 2)),
                 (QStringList{"Qку, кВАр", "Qк, кВАр", "Sк, кВА", "Iк, А", "cos(fк)", "tg(fк)", "Wpп, кВтч",
                              "Wpк, кВтч", "Wqк, кВАрч", "Wsк, кВАч", "$Wpк, грн", "$Wqк, грн", "$Wsк, грн"}));
        QCOMPARE(texts(list(v, 3)), (QStringList{"1 - КУ-75", "2 - КУ-60", "3 - КУ-100"}));
        QVERIFY(list(v, 3)->checkedRows().isEmpty());
        // The command's walk leaves the last variant current.
        QCOMPARE(m.dm().tblProj2->asString("VarNum"), QStringLiteral("3"));
    }

    void dailyItemFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::newRow("P") << "P, кВт"
                           << "project1.db"
                           << "P";
        QTest::newRow("$Wp with its point") << "$Wp, грн."
                                            << "project1.db"
                                            << "$Wa";
        QTest::newRow("cos(f)") << "cos(f)"
                                << "project1.db"
                                << "Cosf";
        QTest::newRow("Qк is Q1") << "Qк, кВАр"
                                  << "project3.DB"
                                  << "Q1";
        QTest::newRow("Sк") << "Sк, кВА"
                            << "project3.DB"
                            << "S";
        QTest::newRow("Wpп") << "Wpп, кВтч"
                             << "project3.DB"
                             << "Wakp";
        QTest::newRow("$Wsк") << "$Wsк, грн"
                              << "project3.DB"
                              << "$Wsk";
    }
    void dailyItemFields()
    {
        QFETCH(QString, text);
        QFETCH(QString, table);
        QFETCH(QString, field);
        const QList<ChartItem> items = dailyGraphItemsWithout() + dailyGraphItemsWith();
        const auto it = std::find_if(items.begin(), items.end(), [&](const ChartItem &i) { return i.text == text; });
        QVERIFY(it != items.end());
        QCOMPARE(it->table, table);
        QCOMPARE(it->field, field);
    }

    void dailyQWithVariantsOneAndThree()
    {
        Main m;
        TDiagSutF *v = m.openSut();
        clickItem(list(v, 1), "Q, кВАр");
        clickItem(list(v, 3), 0);
        clickItem(list(v, 3), 2);
        clickItem(list(v, 2), "Qк, кВАр");
        QCOMPARE(seriesNames(v), (QStringList{"Q = f(T)", "Qк1 = f(T)", "Qк3 = f(T)"}));
        QCOMPARE(v->titleLines(), (QStringList{"Суточные графики:", "Q = f(T); Qк = f(T)."}));
        QCOMPARE(v->valueAxisTitle(), QStringLiteral("Q, кВАр; Qк, кВАр"));
        // Steps: the example graph's 80 kVAr from 0 to 8 h and 30 kVAr from 8 to 24 h.
        QCOMPARE(points(v, 0), (QList<QPointF>{{0, 80}, {8, 80}, {8, 30}, {24, 30}}));
        const QList<QPointF> q1 = points(v, 1), q3 = points(v, 2);
        QCOMPARE(q1, compensatedSteps(m.dm(), "1", "Q1"));
        QCOMPARE(q3, compensatedSteps(m.dm(), "3", "Q1"));
        QVERIFY(q1 != q3);
        for (int i = 0; i < 3; ++i) {
            auto *s = static_cast<QLineSeries *>(v->chartView()->chart()->series()[i]);
            QCOMPARE(s->pen().width(), 3);
            QVERIFY(!s->pointsVisible());
        }
        // Distinct colours per series.
        const auto colour = [&](int i) {
            return static_cast<QLineSeries *>(v->chartView()->chart()->series()[i])->pen().color();
        };
        QVERIFY(colour(0) != colour(1) && colour(1) != colour(2) && colour(0) != colour(2));
        // The hours are labelled as text at the period boundaries.
        auto *hours = qobject_cast<QCategoryAxis *>(v->chartView()->chart()->axes(Qt::Horizontal).value(0));
        QVERIFY(hours);
        QCOMPARE(hours->categoriesLabels(), (QStringList{"0", "8", "24"}));
        QCOMPARE(hours->titleText(), QStringLiteral("Т, час"));
    }

    void dailyList2ItemWithoutVariant()
    {
        Main m;
        TDiagSutF *v = m.openSut();
        clickItem(list(v, 2), "Sк, кВА");
        QVERIFY(seriesNames(v).isEmpty());
        QCOMPARE(v->titleLines(), (QStringList{"Суточные графики:", "Sк = f(T)."}));
        QCOMPARE(v->valueAxisTitle(), QStringLiteral("Sк, кВА"));
    }

    void dailyHourlyGraphGivesTwoPointsAPeriod()
    {
        Main m;
        QList<LoadPeriod> periods;
        for (int h = 0; h < 24; ++h)
            periods.append({double(h), double(h + 1), 40.0 + h, 20.0 + (h % 5)});
        replaceProjectGraph(m.dm(), periods);
        TDiagSutF *v = m.openSut();
        clickItem(list(v, 3), 1);
        clickItem(list(v, 1), "P, кВт");
        clickItem(list(v, 2), "Qку, кВАр");
        QCOMPARE(seriesNames(v), (QStringList{"P = f(T)", "Qку2 = f(T)"}));
        QCOMPARE(points(v, 0).size(), 48);
        QCOMPARE(points(v, 1).size(), 48);
        QCOMPARE(points(v, 0)[46], QPointF(23, 63));
        QCOMPARE(points(v, 0)[47], QPointF(24, 63));
        auto *hours = qobject_cast<QCategoryAxis *>(v->chartView()->chart()->axes(Qt::Horizontal).value(0));
        QCOMPARE(hours->categoriesLabels().size(), 25);
        QCOMPARE(hours->categoriesLabels().last(), QStringLiteral("24"));
    }

    void dailyListCommands()
    {
        Main m;
        TDiagSutF *v = m.openSut();
        clickItem(list(v, 2), "Qк, кВАр");
        clickItem(list(v, 3), 0);
        clickItem(list(v, 3), 1);
        QCOMPARE(seriesNames(v), (QStringList{"Qк1 = f(T)", "Qк2 = f(T)"}));
        menuCommand(list(v, 3), "mnInvertAll");
        QCOMPARE(list(v, 3)->checkedRows(), QList<int>{2});
        QCOMPARE(seriesNames(v), QStringList{"Qк3 = f(T)"});
        menuCommand(list(v, 1), "mnCheckAll");
        QCOMPARE(list(v, 1)->checkedRows().size(), 12);
        QCOMPARE(seriesNames(v).size(), 13);
        menuCommand(list(v, 1), "mnUncheckAll");
        QVERIFY(list(v, 1)->checkedRows().isEmpty());
        QCOMPARE(seriesNames(v), QStringList{"Qк3 = f(T)"});
        // The menu offers exactly the three commands.
        QStringList menu;
        for (QAction *a : list(v, 3)->actions())
            menu << a->text();
        QCOMPARE(menu, (QStringList{"Выделить все", "Сбросить все", "Обратить все"}));
    }

    void dailyAutoRefreshOff()
    {
        Main m;
        TDiagSutF *v = m.openSut();
        v->findChild<QCheckBox *>("chkAuto")->setChecked(false);
        clickItem(list(v, 1), "P, кВт");
        menuCommand(list(v, 1), "mnInvertAll");
        clickItem(list(v, 1), "P, кВт");
        QVERIFY(seriesNames(v).isEmpty());
        QCOMPARE(v->titleLines(), (QStringList{"Суточные графики:", "."}));
        v->findChild<QPushButton *>("btnAuto")->click();
        QCOMPARE(seriesNames(v).size(), 12);
        menuCommand(list(v, 1), "mnUncheckAll");
        QCOMPARE(seriesNames(v).size(), 12);
        // Switching it on draws at once.
        v->findChild<QCheckBox *>("chkAuto")->setChecked(true);
        QVERIFY(seriesNames(v).isEmpty());
    }

    void dailyMarksOfTheParameterListsStay()
    {
        Main m;
        TDiagSutF *v = m.openSut();
        clickItem(list(v, 1), "S, кВА");
        clickItem(list(v, 3), 0);
        v->findChild<QPushButton *>("btnClose")->click();
        QVERIFY(!v->isVisible());
        m.openSut();
        QCOMPARE(list(v, 1)->checkedTexts(), QStringList{"S, кВА"});
        QVERIFY(list(v, 3)->checkedRows().isEmpty());
        QCOMPARE(seriesNames(v), QStringList{"S = f(T)"});
    }

    void hintsOfTheItemsGoToTheStatusLine()
    {
        Main m;
        setHint(m.dm(), "project1.db", "Cosf", "Коэффициент мощности периода");
        setHint(m.dm(), "project0.db", "Wa", "Активная энергия за сутки");
        TDiagSutF *v = m.openSut();
        v->resize(1100, 760);
        QCoreApplication::processEvents();
        ChartCheckList *l = list(v, 1);
        const QRect r = l->visualItemRect(l->item(4));
        QCOMPARE(l->indexAt(r.center()).row(), 4);
        hover(l, r.center());
        QCOMPARE(m.form->statusHint(), QStringLiteral("Коэффициент мощности периода"));
        v->close();

        TDiagParF *p = m.openPar();
        QCoreApplication::processEvents();
        ChartCheckList *pl = list(p, 1);
        QCOMPARE(pl->text(2), QStringLiteral("Wp, кВтч"));
        hover(pl, pl->visualItemRect(pl->item(2)).center());
        QCOMPARE(m.form->statusHint(), QStringLiteral("Активная энергия за сутки"));
    }

    // ---- parameter diagrams ----------------------------------------------------------------

    void diagramChoices_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("without");
        QTest::addColumn<int>("with");
        QTest::addColumn<QString>("lastWith");
        QTest::newRow("все") << "все" << 23 << 39 << "Срок, лет";
        QTest::newRow("суточные") << "суточные" << 11 << 14 << "d$Wsк, грн.";
        QTest::newRow("месячные") << "месячные" << 6 << 12 << "d$Wsкм, грн";
        QTest::newRow("годовые") << "годовые" << 6 << 13 << "Срок, лет";
    }
    void diagramChoices()
    {
        QFETCH(QString, choice);
        QFETCH(int, without);
        QFETCH(int, with);
        QFETCH(QString, lastWith);
        Main m;
        TDiagParF *v = m.openPar();
        clickItem(list(v, 1), 0);
        clickItem(list(v, 2), 0);
        auto *cmb = v->findChild<QComboBox *>("cmbParams");
        cmb->setCurrentText(choice);
        QCOMPARE(list(v, 1)->count(), without);
        QCOMPARE(list(v, 2)->count(), with);
        QCOMPARE(list(v, 2)->text(with - 1), lastWith);
        if (choice != "все") {
            // A new choice offers its items unchecked and draws nothing.
            QVERIFY(list(v, 1)->checkedRows().isEmpty());
            QVERIFY(list(v, 2)->checkedRows().isEmpty());
            QVERIFY(seriesNames(v).isEmpty());
        }
        // Every item stands for a field of its table.
        for (const ChartItem &i : diagramItemsWithout(choice) + diagramItemsWith(choice))
            QVERIFY2(!i.field.isEmpty() && m.dm().table(i.table)->fieldIndex(i.field) >= 0, qPrintable(i.text));
    }

    void diagramCategoriesWithZeroBar()
    {
        Main m;
        TDiagParF *v = m.openPar();
        QCOMPARE(v->windowTitle(), QStringLiteral("Просмотр диаграмм."));
        clickItem(list(v, 1), "Wp, кВтч");
        QCOMPARE(texts(list(v, 3)), (QStringList{"0 - без компенсации", "1 - КУ-75", "2 - КУ-60", "3 - КУ-100"}));
        QCOMPARE(list(v, 3)->checkedRows(), QList<int>{0});
        clickItem(list(v, 3), 1);
        clickItem(list(v, 3), 2);
        clickItem(list(v, 2), "Wpк, кВтч");
        QCOMPARE(v->categoryAxis()->categories(), (QStringList{"0", "1", "2"}));
        const double wa = m.dm().tblProj0->asFloat("Wa");
        QCOMPARE(wa, 1600.0);
        const auto sets = barSets(v);
        QCOMPARE(sets.size(), 2);
        QCOMPARE(sets[0].first, QStringLiteral("Wp"));
        QCOMPARE(sets[0].second, QList<double>{wa});
        QCOMPARE(sets[1].first, QStringLiteral("Wpк"));
        QCOMPARE(sets[1].second,
                 (QList<double>{0, variantValue(m.dm(), "1", "Wak"), variantValue(m.dm(), "2", "Wak")}));
        QVERIFY(sets[1].second[1] > 0);
        QCOMPARE(v->valueAxis()->titleText(), QStringLiteral("Wp, кВтч; Wpк, кВтч"));
        QCOMPARE(v->valueAxis()->min(), 0.0);
        QVERIFY(v->valueAxis()->max() >= wa);
        // Value marks in a colour of their own, hidden with "нет".
        auto *series = static_cast<QBarSeries *>(v->chartView()->chart()->series()[0]);
        QVERIFY(series->isLabelsVisible());
        QCOMPARE(series->barSets()[0]->labelColor(), QColor(Qt::black));
        QVERIFY(series->barSets()[0]->color() != series->barSets()[1]->color());
        v->findChild<QComboBox *>("cmbLabel")->setCurrentText("нет");
        QVERIFY(!static_cast<QBarSeries *>(v->chartView()->chart()->series()[0])->isLabelsVisible());
    }

    void diagramOnlyVariants()
    {
        Main m;
        TDiagParF *v = m.openPar();
        clickItem(list(v, 3), 0);
        clickItem(list(v, 3), 2);
        clickItem(list(v, 2), "Срок, лет");
        QCOMPARE(texts(list(v, 3)).first(), QStringLiteral("1 - КУ-75"));
        QCOMPARE(v->categoryAxis()->categories(), (QStringList{"1", "3"}));
        QCOMPARE(barSets(v).value(0).second,
                 (QList<double>{variantValue(m.dm(), "1", "Srok"), variantValue(m.dm(), "3", "Srok")}));
    }

    void diagramNoCompensationLineComesAndGoes()
    {
        Main m;
        TDiagParF *v = m.openPar();
        clickItem(list(v, 3), 1); // variant 2
        clickItem(list(v, 1), "cos(f)");
        QCOMPARE(list(v, 3)->count(), 4);
        QCOMPARE(list(v, 3)->checkedTexts(), (QStringList{"0 - без компенсации", "2 - КУ-60"}));
        // A click cannot take it away while list 1 draws.
        clickItem(list(v, 3), 0);
        QVERIFY(list(v, 3)->isChecked(0));
        clickItem(list(v, 1), "cos(f)");
        QCOMPARE(texts(list(v, 3)), (QStringList{"1 - КУ-75", "2 - КУ-60", "3 - КУ-100"}));
        QCOMPARE(list(v, 3)->checkedRows(), QList<int>{1});
        // The menu can uncheck it; it stays in the list, unchecked, while list 1 draws.
        clickItem(list(v, 1), "cos(f)");
        menuCommand(list(v, 3), "mnUncheckAll");
        QCOMPARE(list(v, 3)->text(0), QStringLiteral("0 - без компенсации"));
        QVERIFY(list(v, 3)->checkedRows().isEmpty());
        QCOMPARE(v->categoryAxis()->categories(), QStringList{"0"});
    }

    void diagramReopenedIsEmpty()
    {
        Main m;
        TDiagParF *v = m.openPar();
        clickItem(list(v, 1), "cos(f)");
        v->findChild<QComboBox *>("cmbLabel")->setCurrentText("нет");
        QVERIFY(!seriesNames(v).isEmpty());
        v->findChild<QPushButton *>("btnClose")->click();
        m.openPar();
        QVERIFY(list(v, 1)->checkedRows().isEmpty());
        QCOMPARE(texts(list(v, 3)), (QStringList{"1 - КУ-75", "2 - КУ-60", "3 - КУ-100"}));
        QVERIFY(seriesNames(v).isEmpty());
        QCOMPARE(v->findChild<QComboBox *>("cmbLabel")->currentText(), QStringLiteral("нет"));
    }

    void zoomSteps_data()
    {
        QTest::addColumn<QString>("presses");
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::newRow("+") << "+" << 10.0 << 90.0;
        QTest::newRow("+ +") << "++" << 18.0 << 82.0;
        QTest::newRow("-") << "-" << -10.0 << 110.0;
        QTest::newRow("+ -") << "+-" << 2.0 << 98.0;
        QTest::newRow("+ + 100%") << "++=" << 0.0 << 100.0;
    }
    void zoomSteps()
    {
        QFETCH(QString, presses);
        QFETCH(double, min);
        QFETCH(double, max);
        ChartView view;
        auto *axis = new QValueAxis;
        view.chart()->addAxis(axis, Qt::AlignLeft);
        axis->setRange(0, 100);
        view.rememberFullRanges();
        for (QChar c : presses) {
            if (c == u'+')
                view.zoomBy(0.1);
            else if (c == u'-')
                view.zoomBy(-0.1);
            else
                view.resetZoom();
        }
        QCOMPARE(axis->min(), min);
        QCOMPARE(axis->max(), max);
    }

    void diagramZoomButtons()
    {
        Main m;
        TDiagParF *v = m.openPar();
        clickItem(list(v, 1), "Wp, кВтч");
        QValueAxis *axis = v->valueAxis();
        const double a = axis->min(), b = axis->max();
        QVERIFY(b > a);
        const double w = b - a;
        v->findChild<QPushButton *>("btnScaleInc")->click();
        QCOMPARE(axis->min(), a + 0.1 * w);
        QCOMPARE(axis->max(), b - 0.1 * w);
        v->findChild<QPushButton *>("btnScaleInc")->click();
        QCOMPARE(axis->min(), a + 0.1 * w + 0.08 * w);
        QCOMPARE(axis->max(), b - 0.1 * w - 0.08 * w);
        v->findChild<QPushButton *>("btnScale100")->click();
        QCOMPARE(axis->min(), a);
        QCOMPARE(axis->max(), b);
        // A redraw shows the full range as well.
        v->findChild<QPushButton *>("btnScaleDec")->click();
        QVERIFY(axis->min() < a);
        v->findChild<QPushButton *>("btnAuto")->click();
        QCOMPARE(axis->min(), a);
        QCOMPARE(axis->max(), b);
    }

    // ---- export ------------------------------------------------------------------------------

    void dailyExport_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QList<int>>("variants");
        QTest::addColumn<QStringList>("legend");
        QTest::newRow("P with a hint, variant 2") << "P, кВт"
                                                  << "P"
                                                  << "Активная мощность периода" << QList<int>{1}
                                                  << QStringList{"Диаграммы:", "P, кВт - активная мощность периода.",
                                                                 "", "Варианты компенсации:", "2 - КУ-60."};
        QTest::newRow("Q without a hint, no variant")
            << "Q, кВАр"
            << "Q"
            << "" << QList<int>{} << QStringList{"Диаграммы:", "Q, кВАр - .", "", "Варианты компенсации."};
        QTest::newRow("Ёмкость: a Cyrillic capital, variants 1 and 3")
            << "I, А"
            << "I"
            << "Ёмкостный ток" << QList<int>{0, 2}
            << QStringList{"Диаграммы:", "I, А - ёмкостный ток.", "", "Варианты компенсации:", "1 - КУ-75;",
                           "3 - КУ-100."};
    }
    void dailyExport()
    {
        QFETCH(QString, item);
        QFETCH(QString, field);
        QFETCH(QString, hint);
        QFETCH(QList<int>, variants);
        QFETCH(QStringList, legend);
        Main m;
        setHint(m.dm(), "project1.db", field, hint);
        QTemporaryDir out;
        const QString path = out.filePath("графики.docx");
        const ChartFileGuard chosen(path);
        TDiagSutF *v = m.openSut();
        clickItem(list(v, 1), item);
        for (int r : variants)
            clickItem(list(v, 3), r);
        v->findChild<QPushButton *>("btnWord")->click();
        QVERIFY2(m.rec.errors.isEmpty(), qPrintable(m.rec.errors.join('\n')));
        checkExport(path, legend);
        QVERIFY(v->isVisible());
        // A document of its own: the window's report document is not touched, and the notice
        // says where the chart went.
        QCOMPARE(m.form->word().documentsCount(), 0);
        auto *notice = v->findChild<QWidget *>("SavedNotice");
        QVERIFY(notice && notice->isVisible());
        QVERIFY(notice->findChild<QLabel *>("lblSaved")->text().contains(QDir::toNativeSeparators(path)));
    }

    // A chart exported after a report goes to its own file: the report's file keeps its bytes.
    void chartExportLeavesTheReportAlone()
    {
        Main m;
        QTemporaryDir out;
        const QString report = out.filePath("отчет.docx");
        m.form->word().setTargetFile(report);
        m.form->findChild<QAction *>("mnWordReport")->trigger();
        QVERIFY2(m.rec.errors.isEmpty(), qPrintable(m.rec.errors.join('\n')));
        QFile before(report);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray reportBytes = before.readAll();
        before.close();
        const QString chart = out.filePath("диаграмма.docx");
        const ChartFileGuard chosen(chart);
        TDiagParF *v = m.openPar();
        v->findChild<QPushButton *>("btnWord")->click();
        QVERIFY(m.rec.errors.isEmpty());
        QFile after(report);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), reportBytes);
        checkExport(chart, {"Диаграммы.", "", "Варианты компенсации."});
    }

    void diagramExportWithNothingChecked()
    {
        Main m;
        QTemporaryDir out;
        const QString path = out.filePath("диаграммы.docx");
        const ChartFileGuard chosen(path);
        TDiagParF *v = m.openPar();
        v->findChild<QPushButton *>("btnWord")->click();
        QVERIFY(m.rec.errors.isEmpty());
        checkExport(path, {"Диаграммы.", "", "Варианты компенсации."});
    }

    void diagramExport()
    {
        Main m;
        setHint(m.dm(), "project0.db", "Wa", "Суточная активная энергия");
        setHint(m.dm(), "project2.db", "Wak", "Активная энергия с компенсацией");
        QTemporaryDir out;
        const QString path = out.filePath("диаграммы.docx");
        const ChartFileGuard chosen(path);
        TDiagParF *v = m.openPar();
        clickItem(list(v, 1), "Wp, кВтч");
        clickItem(list(v, 2), "Wpк, кВтч");
        clickItem(list(v, 3), 1);
        v->findChild<QPushButton *>("btnWord")->click();
        QVERIFY(m.rec.errors.isEmpty());
        checkExport(path, {"Диаграммы:", "Wp, кВтч - суточная активная энергия;",
                           "Wpк, кВтч - активная энергия с компенсацией.", "",
                           "Варианты компенсации:", "0 - без компенсации;", "1 - КУ-75."});
    }

private:
    // Answers the save dialog of a chart export with a file for as long as it lives.
    struct ChartFileGuard {
        explicit ChartFileGuard(const QString &path)
        {
            setChartFileChooser([path](QWidget *, const QString &) { return path; });
        }
        ~ChartFileGuard() { setChartFileChooser({}); }
    };

    // The document: the chart's picture, an empty paragraph, then the legend lines in Times New
    // Roman 10, neither bold.
    static void checkExport(const QString &path, const QStringList &legend)
    {
        const SavedReport doc(path);
        QVERIFY(doc.ok);
        const ZipReader zip(path);
        QStringList media;
        for (const QString &n : zip.names())
            if (n.startsWith("word/media/"))
                media << n;
        QCOMPARE(media.size(), 1);
        const QImage picture = QImage::fromData(zip.read(media.first()));
        QVERIFY(picture.width() > 300 && picture.height() > 200);
        // A chart, not a blank page: some pixels are drawn.
        int drawn = 0;
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                drawn += picture.pixelColor(x, y) != QColor(Qt::white);
        QVERIFY(drawn > 100);
        QVERIFY(zip.read("word/document.xml").contains("w:drawing"));

        QStringList paragraphs = doc.paragraphTexts();
        QCOMPARE(paragraphs.value(0), QString()); // the picture's own paragraph
        QCOMPARE(paragraphs.value(1), QString());
        paragraphs = paragraphs.mid(2);
        while (!paragraphs.isEmpty() && paragraphs.last().isEmpty())
            paragraphs.removeLast();
        QCOMPARE(paragraphs, legend);
        for (int i = 2; i < doc.body.size(); ++i)
            for (const SavedReport::Run &r : doc.body[i].runs) {
                QCOMPARE(r.font, QStringLiteral("Times New Roman"));
                QCOMPARE(r.halfPoints, 20);
                QVERIFY(!r.bold);
            }
    }
};

QTEST_MAIN(TestChartViewers)
#include "test_chart_viewers.moc"
