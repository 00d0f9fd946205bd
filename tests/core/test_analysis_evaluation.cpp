// Evaluation of candidate installations for the analysis table: the values of a row, the
// payback, the candidates without a defined result, and the recommended power range.
#include "MessageRecorder.h"
#include "NullableCompare.h"
#include "ProjectFixture.h"

#include "core/compensation/Analysis.h"
#include "core/compensation/AnalysisCommands.h"
#include "core/graphs/GraphCommands.h"
#include "core/project/ProjectCommands.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

SelectionInput input(int mode, const QString &min = "0,92", const QString &max = "0,98", const QString &tr = "0,97")
{
    SelectionInput in;
    in.mode.mode = mode;
    in.mode.cosfMin = min;
    in.mode.cosfMax = max;
    in.mode.cosfTr = tr;
    return in;
}

void createProjectWith(TDataModule1 &dm, const QList<LoadPeriod> &periods)
{
    createProject(dm, newProjectParams(dm));
    replaceProjectGraph(dm, periods);
    restrictAnalysisToProject(dm);
}

} // namespace

class TestAnalysisEvaluation : public QObject {
    Q_OBJECT

private slots:
    // The worked example project (0–8 h 100 kW 80 kVAr, 8–24 h 50 kW 30 kVAr, tariffs 0,715 and
    // 0,02, 21 and 260 days) with a type of 2×25, 10, 2×5 kVAr, Pp 0,005, price 35000, Kp 0,12.
    // Expected values worked out by hand from the rules, period by period.
    void rowOfTheExample_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<double>>("q");     // Qku_min, Qku_max
        QTest::addColumn<QList<double>>("cosf");  // Cosf_sr, Cosf_min, Cosf_max, Tgf_sr
        QTest::addColumn<QList<double>>("save");  // DSWsk, DSWskm, DSWskg, Srok
        QTest::addColumn<QVariantList>("limits"); // PCosf_min, PCosf_max, PCosf_tr
        const QVariant null;
        QTest::newRow("full") << 0 << QList<double>{30, 70} << QList<double>{0.997, 0.99, 1, 0.052}
                              << QList<double>{61.62, 1294.02, 16021.2, 2.18} << QVariantList{null, null, null};
        QTest::newRow("not above 0,98") << 1 << QList<double>{15, 55} << QList<double>{0.962, 0.96, 0.97, 0.284}
                                        << QList<double>{48.96, 1028.16, 12729.6, 2.75}
                                        << QVariantList{null, 0.98, null};
        QTest::newRow("not below 0,92") << 2 << QList<double>{25, 50} << QList<double>{0.974, 0.95, 0.99, 0.207}
                                        << QList<double>{53.82, 1130.22, 13993.2, 2.5}
                                        << QVariantList{0.92, null, null};
        QTest::newRow("range") << 3 << QList<double>{10, 50} << QList<double>{0.94, 0.93, 0.95, 0.36}
                               << QList<double>{42.31, 888.51, 11000.6, 3.18} << QVariantList{0.92, 0.98, null};
        QTest::newRow("nearest 0,97") << 4 << QList<double>{25, 55} << QList<double>{0.981, 0.97, 0.99, 0.181}
                                      << QList<double>{55.62, 1168.02, 14461.2, 2.42} << QVariantList{null, null, 0.97};
    }
    void rowOfTheExample()
    {
        QFETCH(int, mode);
        QFETCH(QList<double>, q);
        QFETCH(QList<double>, cosf);
        QFETCH(QList<double>, save);
        QFETCH(QVariantList, limits);
        TestData td;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm);
        const qint64 type = addCatalogueType(dm, "Фирма", "УКМ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
        restrictAnalysisToProject(dm);
        addCandidate(dm, input(mode));

        TTable &row = *dm.tblSel_KU;
        QCOMPARE(row.recordCount(), 1);
        QCOMPARE(row.asInteger("Kod0"), dm.tblProj0->currentKod());
        QCOMPARE(row.asInteger("KodKU0"), dm.tblsKU0->currentKod());
        QCOMPARE(row.asInteger("KodKU1"), type);
        QCOMPARE(row.asString("Company"), QStringLiteral("Фирма"));
        QCOMPARE(row.asString("TipKU"), QStringLiteral("УКМ-70"));
        QCOMPARE(row.asFloat("Qk"), 70.0);
        QCOMPARE(row.asString("Rejim"), selectionModeCaption(mode));
        const char *values[] = {"Qku_min", "Qku_max", "Cosf_sr", "Cosf_min", "Cosf_max",
                                "Tgf_sr",  "DSWsk",   "DSWskm",  "DSWskg",   "Srok"};
        const QList<double> expected = q + cosf + save;
        for (int i = 0; i < expected.size(); ++i) {
            QVERIFY2(!row.isNull(values[i]), values[i]);
            QVERIFY2(qFuzzyCompare(row.asFloat(values[i]), expected[i]),
                     qPrintable(QStringLiteral("%1 = %2").arg(values[i]).arg(row.asFloat(values[i]), 0, 'g', 17)));
        }
        KORVAN_COMPARE_NULLABLE(row.asOptional("PCosf_min"), limits[0]);
        KORVAN_COMPARE_NULLABLE(row.asOptional("PCosf_max"), limits[1]);
        KORVAN_COMPARE_NULLABLE(row.asOptional("PCosf_tr"), limits[2]);
    }

    // No price, or a yearly saving of exactly 0 (the module never fits, so nothing changes), gives
    // an empty payback; a type name longer than the field is cut.
    void paybackWithoutPriceOrSaving_data()
    {
        QTest::addColumn<QVariant>("price");
        QTest::addColumn<double>("module");
        QTest::addColumn<QVariant>("srok");
        QTest::addColumn<double>("yearly");
        QTest::newRow("no price") << QVariant() << 25.0 << QVariant() << 16021.2;
        QTest::newRow("no saving") << QVariant(35000) << 500.0 << QVariant() << 0.0;
        QTest::newRow("price and saving") << QVariant(35000) << 25.0 << QVariant(2.18) << 16021.2;
    }
    void paybackWithoutPriceOrSaving()
    {
        QFETCH(QVariant, price);
        QFETCH(double, module);
        QFETCH(QVariant, srok);
        QFETCH(double, yearly);
        TestData td;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm);
        const QList<QPair<double, int>> modules = module == 25.0 ? QList<QPair<double, int>>{{25, 2}, {10, 1}, {5, 2}}
                                                                 : QList<QPair<double, int>>{{module, 1}};
        addCatalogueType(dm, "Фирма", QString(40, QChar(u'Ж')), 70, 0.005, price, modules);
        restrictAnalysisToProject(dm);
        addCandidate(dm, input(0));
        const TTable &row = *dm.tblSel_KU;
        QCOMPARE(row.asString("TipKU"), QString(30, QChar(u'Ж')));
        QCOMPARE(row.asFloat("DSWskg"), yearly);
        KORVAN_COMPARE_NULLABLE(row.asOptional("Srok"), srok);
    }

    // A division the arithmetic cannot make writes no row and says why; adding every type of a
    // company adds the others and names the one left out.
    void undefinedResultWritesNoRow_data()
    {
        QTest::addColumn<QList<LoadPeriod>>("periods");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("companyRows"); // rows of add-all, beside the type without a result
        QTest::newRow("a period without current")
            << QList<LoadPeriod>{{0, 8, 100, 80}, {8, 24, 0, 0}}
            << "Ток периода 8 - 24 ч без компенсации равен 0: снижение потерь в подводящих кабелях не определено."
            << -1;
        QTest::newRow("a period without energy after compensation")
            << QList<LoadPeriod>{{0, 8, 100, 80}, {8, 24, 0, 30}}
            << "Полная энергия периода 8 - 24 ч с компенсацией для конденсаторной установки «Ровно 30» равна 0: "
               "cos(f) периода не определен."
            << 1;
        QTest::newRow("a day without active energy")
            << QList<LoadPeriod>{{0, 24, 0, 50}}
            << "Суточная активная энергия с компенсацией для конденсаторной установки «Ровно 30» равна 0: "
               "tg(f) не определен."
            << 1;
    }
    void undefinedResultWritesNoRow()
    {
        QFETCH(QList<LoadPeriod>, periods);
        QFETCH(QString, message);
        QFETCH(int, companyRows);
        TestData td;
        TDataModule1 &dm = *td.data;
        createProjectWith(dm, periods);
        // Without losses of its own and switching on exactly 30 kVAr, it leaves no energy at all.
        addCatalogueType(dm, "Фирма", "Ровно 30", 30, 0, 1000, {{30, 1}});
        appendRow(*dm.tblsKU1, {{"Name", "Обычная"}, {"Q", 20}, {"Pp", 0.005}, {"Unom", 400}, {"Cena", 1000}});
        appendRow(*dm.tblsKU2, {{"Qstup", 20}, {"Kol_vo", 1}});
        dm.tblsKU1->first();
        try {
            addCandidate(dm, input(0));
            QFAIL("the candidate was added");
        } catch (const KorvanError &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(rowsIn(*td.store, "sel_ku.DB"), 0);

        MessageRecorder messages;
        if (companyRows < 0) {
            QVERIFY_THROWS_EXCEPTION(KorvanError, addCompanyCandidates(dm, input(0)));
            QCOMPARE(rowsIn(*td.store, "sel_ku.DB"), 0);
            QVERIFY(messages.all.isEmpty());
        } else {
            QCOMPARE(addCompanyCandidates(dm, input(0)), companyRows);
            QCOMPARE(dm.tblSel_KU->recordCount(), companyRows);
            QCOMPARE(dm.tblSel_KU->asString("TipKU"), QStringLiteral("Обычная"));
            QCOMPARE(messages.warnings, QStringList{"Не добавлены в таблицу анализа:\n" + message});
        }
    }

    // The input checks of the selection dialog run before anything is evaluated.
    void inputChecksFirst_data()
    {
        QTest::addColumn<QString>("kp");
        QTest::addColumn<QStringList>("cosf");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("message");
        QTest::newRow("kp empty") << "" << QStringList{"0,92", "0,98", "0,97"} << 0
                                  << "Введите значение коэффициента потерь.";
        QTest::newRow("above 1") << "0,12" << QStringList{"0,92", "1,2", "0,97"} << 1
                                 << "Значение коэффициента мощности должно быть меньше либо равно 1.";
        QTest::newRow("minimum above maximum") << "0,12" << QStringList{"0,95", "0,9", "0,97"} << 3
                                               << "Значение минимального значения коэффициента мощности должно быть "
                                                  "меньше максимального значения коэффициента мощности.";
    }
    void inputChecksFirst()
    {
        QFETCH(QString, kp);
        QFETCH(QStringList, cosf);
        QFETCH(int, mode);
        QFETCH(QString, message);
        TestData td;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm);
        addCatalogueType(dm, "Фирма", "УКМ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
        SelectionInput in = input(mode, cosf[0], cosf[1], cosf[2]);
        in.kp = kp;
        for (auto command : {addCandidate, replaceCandidate}) {
            try {
                command(dm, in);
                QFAIL("accepted");
            } catch (const InputError &e) {
                QCOMPARE(e.message(), message);
            }
        }
        QVERIFY_THROWS_EXCEPTION(InputError, addCompanyCandidates(dm, in));
        QCOMPARE(rowsIn(*td.store, "sel_ku.DB"), 0);
    }

    // EditDiapQku: whole kVAr from Q - P·tg(cos f), halves to even, never below 0.
    void recommendedRange_data()
    {
        QTest::addColumn<QList<LoadPeriod>>("periods");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("cosf");
        QTest::addColumn<QString>("range");
        const QList<LoadPeriod> example = examplePeriods();
        const QStringList defaults{"0,92", "0,98", "0,97"};
        QTest::newRow("mode 1") << example << 1 << defaults << "20 - 60";
        QTest::newRow("mode 2 up to Qmax") << example << 2 << defaults << "9 - 80";
        QTest::newRow("mode 3") << example << 3 << defaults << "9 - 60";
        QTest::newRow("mode 4") << example << 4 << defaults << "17 - 55";
        QTest::newRow("mode 3 minimum above maximum") << example << 3 << QStringList{"0,95", "0,9", "0,97"} << "";
        QTest::newRow("mode 3 equal limits") << example << 3 << QStringList{"0,98", "0,98", "0,97"} << "20 - 60";
        QTest::newRow("a field above 1") << example << 4 << QStringList{"0,92", "0,98", "1,2"} << "";
        QTest::newRow("a field without a number") << example << 1 << QStringList{"0,92", "", "0,97"} << "";
        QTest::newRow("a field not positive") << example << 2 << QStringList{"0", "0,98", "0,97"} << "";
        QTest::newRow("an unused field does not count") << example << 1 << QStringList{"x", "0,98", "1,2"} << "20 - 60";
        // With P = 0 the power is Q itself: 12,5 goes down to 12, 13,5 up to 14.
        QTest::newRow("halves to even") << QList<LoadPeriod>{{0, 12, 0, 12.5}, {12, 24, 0, 13.5}} << 4 << defaults
                                        << "12 - 14";
        QTest::newRow("never below 0") << QList<LoadPeriod>{{0, 12, 100, 10}, {12, 24, 100, 40}} << 1 << defaults
                                       << "0 - 20";
    }
    void recommendedRange()
    {
        QFETCH(QList<LoadPeriod>, periods);
        QFETCH(int, mode);
        QFETCH(QStringList, cosf);
        QFETCH(QString, range);
        TestData td;
        TDataModule1 &dm = *td.data;
        createProjectWith(dm, periods);
        QCOMPARE(recommendedRangeText(dm, input(mode, cosf[0], cosf[1], cosf[2]).mode), range);
    }

    // Mode 0 shows the project's Qmin and Qmax exactly as their read-only fields do.
    void fullCompensationRangeIsTheProjects_data()
    {
        QTest::addColumn<QList<LoadPeriod>>("periods");
        QTest::addColumn<QString>("range");
        QTest::newRow("example") << examplePeriods() << "30 - 80";
        QTest::newRow("decimals") << QList<LoadPeriod>{{0, 8, 100, 30.25}, {8, 24, 50, 80.5}} << "30,25 - 80,5";
    }
    void fullCompensationRangeIsTheProjects()
    {
        QFETCH(QList<LoadPeriod>, periods);
        QFETCH(QString, range);
        TestData td;
        TDataModule1 &dm = *td.data;
        createProjectWith(dm, periods);
        const QString text = recommendedRangeText(dm, input(0).mode);
        QCOMPARE(text, dm.tblProj0->asString("Qmin") + " - " + dm.tblProj0->asString("Qmax"));
        QCOMPARE(text, range);
    }

    void noRangeWithoutLoadGraph()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        createProject(dm, newProjectParams(dm));
        for (int mode = 0; mode < kSelectionModeCount; ++mode)
            QCOMPARE(recommendedRangeText(dm, input(mode).mode), QString());
    }
};

QTEST_GUILESS_MAIN(TestAnalysisEvaluation)
#include "test_analysis_evaluation.moc"
