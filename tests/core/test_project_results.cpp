// Results that follow their inputs: the same load at any sampling, a catalogue change reaching the
// variants of its type in every project, and the analysis rows owned by their project.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/compensation/AnalysisCommands.h"
#include "core/compensation/VariantCommands.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/graphs/GraphCommands.h"
#include "core/project/ProjectCommands.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

// 400 kW and 300 kVAr all day, cut into periods of `minutes`.
QList<LoadPeriod> constantLoad(int minutes)
{
    QList<LoadPeriod> out;
    for (int start = 0; start < 24 * 60; start += minutes)
        out.append({start / 60.0, (start + minutes) / 60.0, 400, 300});
    return out;
}

VariantParams fullCompensation(const QString &number)
{
    VariantParams v;
    v.varNum = number;
    return v;
}

double value(TTable &t, const char *field) { return t.asFloat(QLatin1String(field)); }

} // namespace

class TestProjectResults : public QObject {
    Q_OBJECT

private slots:
    // One 300 kVAr installation on the same constant load sampled by the hour, the quarter-hour
    // and the minute: the losses are an energy, 0,005 kW/kVAr x 300 kVAr x 24 h = 36 kWh a day,
    // so the day's figures differ only by the rounding of each period (a minute's 0,025 kWh goes
    // to the even 0,02, a quarter-hour's 0,375 to 0,38). Figures from an independent model.
    void samplingDoesNotChangeTheDay_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<double>("Wakp");
        QTest::addColumn<double>("saving");
        QTest::addColumn<double>("Srok");
        QTest::newRow("1 h") << 60 << 36.0 << 107827.2 << 0.93;
        QTest::newRow("15 min") << 15 << 36.48 << 107827.2 << 0.93;
        QTest::newRow("1 min") << 1 << 33.32 << 108576.0 << 0.92;
    }
    void samplingDoesNotChangeTheDay()
    {
        QFETCH(int, minutes);
        TestData td;
        TDataModule1 &dm = *td.data;
        createProject(dm, newProjectParams(dm));
        replaceProjectGraph(dm, constantLoad(minutes));
        addCatalogueType(dm, "Завод", "УКМ-300", 300, 0.005, 100000, {{50, 6}});
        addVariant(dm, fullCompensation("1"));
        TTable &v = *dm.tblProj2;
        QTEST(value(v, "Wakp"), "Wakp");
        QTEST(value(v, "D$Ws_g"), "saving");
        QTEST(value(v, "Srok"), "Srok");
    }

    // A type's price, losses and modules reach every variant of it in every project; its last
    // module cannot go while variants use it.
    void catalogueChangeReachesVariants()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        MessageRecorder recorder;
        const qint64 type = addCatalogueType(dm, "Завод", "УКМ-60", 60, 0.005, 10000, {{25, 2}, {10, 1}});
        createExampleProject(dm, "Цех 1");
        addVariant(dm, fullCompensation("1"));
        const qint64 first = dm.tblProj0->currentKod();
        createExampleProject(dm, "Цех 2");
        addVariant(dm, fullCompensation("7"));
        QCOMPARE(value(*dm.tblProj2, "Srok"), 0.67);

        QVERIFY(dm.tblsKU1->locate("Kod", type));
        dm.tblsKU1->edit();
        dm.tblsKU1->setValue("Cena", 20000);
        dm.tblsKU1->setValue("Pp", 0.004);
        dm.tblsKU1->post();
        QCOMPARE(value(*dm.tblProj2, "Cena"), 20000.0);
        QCOMPARE(value(*dm.tblProj2, "Pp"), 0.004);
        // 0,004 x (60 x 8 + 25 x 16) = 3,52 kWh of losses a day instead of 4,4.
        QCOMPARE(value(*dm.tblProj2, "Wakp"), 3.52);
        QCOMPARE(value(*dm.tblProj2, "D$Ws_g"), 15043.6);
        QCOMPARE(value(*dm.tblProj2, "Srok"), 1.33);

        // One module fewer: the periods are switched again with what is left (25 + 10 at most).
        dm.tblsKU2->first();
        dm.tblsKU2->edit();
        dm.tblsKU2->setValue("Kol_vo", 1);
        dm.tblsKU2->post();
        dm.tblProj3->first();
        QCOMPARE(value(*dm.tblProj3, "Qku"), 35.0);
        QCOMPARE(value(*dm.tblProj2, "Srok"), 1.62);
        QVERIFY(dm.tblProj0->locate("Kod", first));
        dm.tblProj3->first();
        QCOMPARE(value(*dm.tblProj3, "Qku"), 35.0);
        QCOMPARE(value(*dm.tblProj2, "Wakp"), 2.72);
        QCOMPARE(value(*dm.tblProj2, "Qk"), 60.0);

        dm.tblsKU2->last();
        dm.tblsKU2->remove();
        QCOMPARE(dm.tblsKU2->recordCount(), 1);
        QVERIFY_THROWS_EXCEPTION(Abort, dm.tblsKU2->remove());
        QCOMPARE(dm.tblsKU2->recordCount(), 1);
        QCOMPARE(recorder.errors.size(), 1);
        QVERIFY(recorder.errors.last().contains("«Цех 1» (вариант 1); «Цех 2» (вариант 7)"));
    }

    // The analysis rows belong to their project: they go with it, and the table's cursor reads
    // none of another project's rows.
    void analysisRowsBelongToTheirProject()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        addCatalogueType(dm, "Завод", "УКМ-60", 60, 0.005, 10000, {{25, 2}, {10, 1}});
        createExampleProject(dm, "Цех 1");
        const qint64 first = dm.tblProj0->currentKod();
        addCandidate(dm, SelectionInput{});
        createExampleProject(dm, "Цех 2");
        addCandidate(dm, SelectionInput{});
        addCandidate(dm, SelectionInput{});
        QCOMPARE(rowsIn(*td.store, "sel_ku.DB"), 3);
        QCOMPARE(dm.tblSel_KU->recordCount(), 2);
        deleteProject(dm);
        QCOMPARE(rowsIn(*td.store, "sel_ku.DB"), 1);
        QVERIFY(dm.tblProj0->locate("Kod", first));

        // A new session reads none of them until a project's rows are asked for.
        td.reopen();
        QCOMPARE(td.data->tblSel_KU->recordCount(), 0);
        restrictAnalysisToProject(*td.data);
        QCOMPARE(td.data->tblSel_KU->recordCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestProjectResults)
#include "test_project_results.moc"
