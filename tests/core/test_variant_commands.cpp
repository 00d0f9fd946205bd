// Compensation variants through their commands: what is stored, the closing checks, the module
// selection for one and for all variants, and the rebuild after a new load graph.
#include "ProjectFixture.h"

#include "core/compensation/VariantCommands.h"
#include "core/graphs/GraphCommands.h"
#include "core/project/ProjectCommands.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestVariantCommands : public QObject {
    Q_OBJECT

    // One project with a single period of 100 kW and 80 kVAr, and a type of 2×25, 10, 2×5 kVAr.
    static void prepare(TDataModule1 &dm)
    {
        ProjectParams p = newProjectParams(dm);
        createProject(dm, p);
        replaceProjectGraph(dm, {{0, 24, 100, 80}});
        addCatalogueType(dm, "Фирма", "УКМ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
    }

    static VariantParams params(const QString &number, int mode)
    {
        VariantParams v;
        v.varNum = number;
        v.mode.mode = mode;
        return v;
    }

    static QString switchedText(TTable &modules)
    {
        QStringList out;
        for (modules.first(); !modules.eof(); modules.next())
            out << modules.asString("Stup") + "x" + modules.asString("Kol_vo");
        return out.join(' ');
    }

private slots:
    void modesThroughAVariant_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("qku");
        QTest::addColumn<QString>("switched");
        QTest::addColumn<QStringList>("cosf"); // stored Cosf_min, Cosf_max, Cosf_tr
        QTest::newRow("full") << 0 << 70.0 << "25x2 10x1 5x2" << QStringList{"", "", ""};
        QTest::newRow("not above 0,98") << 1 << 55.0 << "25x2 5x1" << QStringList{"", "0,98", ""};
        QTest::newRow("not below 0,92") << 2 << 50.0 << "25x2" << QStringList{"0,92", "", ""};
        QTest::newRow("range") << 3 << 50.0 << "25x2" << QStringList{"0,92", "0,98", ""};
        QTest::newRow("nearest 0,97") << 4 << 55.0 << "25x2 5x1" << QStringList{"", "", "0,97"};
    }
    void modesThroughAVariant()
    {
        QFETCH(int, mode);
        QFETCH(double, qku);
        QFETCH(QString, switched);
        QFETCH(QStringList, cosf);
        TestData td;
        TDataModule1 &dm = *td.data;
        prepare(dm);
        addVariant(dm, params("1", mode));
        TTable &v = *dm.tblProj2;
        QCOMPARE(v.asString("Rejim"), selectionModeCaption(mode));
        QCOMPARE(QStringList({v.asString("Cosf_min"), v.asString("Cosf_max"), v.asString("Cosf_tr")}), cosf);
        QCOMPARE(v.asString("TipKU"), QStringLiteral("УКМ-70"));
        QCOMPARE(v.asFloat("Qk"), 70.0);
        QCOMPARE(v.asFloat("Kp"), 0.12);
        QCOMPARE(v.asInteger("KodKU1"), dm.tblsKU1->currentKod());
        QCOMPARE(switchedText(*dm.tblProj5), QStringLiteral("25x2 10x1 5x2"));
        QCOMPARE(dm.tblProj3->recordCount(), 1);
        QCOMPARE(dm.tblProj3->asFloat("Qku"), qku);
        QCOMPARE(switchedText(*dm.tblProj4), switched);
        QVERIFY(!v.isNull("Srok")); // the price and a saving give a payback
    }

    void catalogueValuesCopied()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        prepare(dm);
        addCatalogueType(dm, "Другая", QString(40, QChar(u'Ж')), 30, 0.004, QVariant(), {{10, 3}});
        addVariant(dm, params("1", 0));
        QCOMPARE(dm.tblProj2->asString("TipKU"), QString(30, QChar(u'Ж'))); // cut to 30
        QCOMPARE(dm.tblProj2->isNull("Cena"), false);
        QCOMPARE(dm.tblProj2->asFloat("Cena"), 0.0); // no price gives 0
        QCOMPARE(dm.tblProj2->asFloat("Srok"), 0.0);
    }

    void closingChecks_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("kp");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("cosf");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("message");
        const QString cos = "0,92 0,98 0,97";
        QTest::newRow("no number") << ""
                                   << "0,12" << 0 << QStringList{"", "", ""} << int(VariantParams::VarNum)
                                   << "Заполнение поля \"Вариант компенсации\" обязательно.";
        QTest::newRow("kp zero") << "2"
                                 << "0" << 0 << QStringList{"", "", ""} << int(VariantParams::Kp)
                                 << "Значение коэффициента потерь должно быть больше 0.";
        QTest::newRow("unused fields are not checked") << "2"
                                                       << "0,12" << 1 << QStringList{"x", "0,95", "y"} << -1 << "";
        QTest::newRow("empty minimum") << "2"
                                       << "0,12" << 3 << QStringList{"", "0,95", ""} << int(VariantParams::CosfMin)
                                       << "Введите значение коэффициента мощности.";
        QTest::newRow("1,2 refused") << "2"
                                     << "0,12" << 4 << QStringList{"", "", "1,2"} << int(VariantParams::CosfTr)
                                     << "Значение коэффициента мощности должно быть меньше либо равно 1.";
        QTest::newRow("minimum above maximum")
            << "2"
            << "0,12" << 3 << QStringList{"0,95", "0,9", ""} << int(VariantParams::CosfMin)
            << "Значение минимального значения коэффициента мощности должно быть меньше максимального значения "
               "коэффициента мощности.";
        QTest::newRow("equal limits pass") << "2"
                                           << "0,12" << 3 << QStringList{"0,95", "0,95", ""} << -1 << "";
        QTest::newRow("duplicate number") << "1"
                                          << "0,12" << 0 << QStringList{"", "", ""} << int(VariantParams::VarNum)
                                          << "Таблица конденсаторных установок уже содержит вариант компенсации с "
                                             "наименованием \"1\". Введите другое наименование варианта компенсации.";
    }
    void closingChecks()
    {
        QFETCH(QString, number);
        QFETCH(QString, kp);
        QFETCH(int, mode);
        QFETCH(QStringList, cosf);
        QFETCH(int, field);
        QFETCH(QString, message);
        TestData td;
        TDataModule1 &dm = *td.data;
        prepare(dm);
        addVariant(dm, params("1", 0));
        VariantParams p = params(number, mode);
        p.kp = kp;
        p.mode.cosfMin = cosf[0];
        p.mode.cosfMax = cosf[1];
        p.mode.cosfTr = cosf[2];
        const auto problem = checkVariantParams(dm, p, true);
        QCOMPARE(problem ? problem->field : -1, field);
        QCOMPARE(problem ? problem->message : QString(), message);
        if (problem) {
            QVERIFY_THROWS_EXCEPTION(InputError, addVariant(dm, p));
            QCOMPARE(dm.tblProj2->recordCount(), 1);
        }
    }

    void numbersAreUniquePerProject()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        prepare(dm);
        addVariant(dm, params("1", 0));
        addVariant(dm, params("2", 0));
        QCOMPARE(nextVariantNumber(dm), QStringLiteral("3"));
        // After a deletion the number proposed is still free: one above the largest, not the count.
        QVERIFY(dm.tblProj2->locate("VarNum", 1));
        deleteVariant(dm);
        QCOMPARE(nextVariantNumber(dm), QStringLiteral("3"));
        QVERIFY(!checkVariantParams(dm, params(nextVariantNumber(dm), 0), true));
        addVariant(dm, params("1", 0));
        // Editing variant 2 may keep its number, not take variant 1's.
        QVERIFY(dm.tblProj2->locate("VarNum", 2));
        QVERIFY(!checkVariantParams(dm, params("2", 0), false));
        QVERIFY(checkVariantParams(dm, params("1", 0), false));
        QCOMPARE(dm.tblProj2->asInteger("VarNum"), 2); // still the one being edited
        // Another project may use number 1.
        createProject(dm, newProjectParams(dm));
        replaceProjectGraph(dm, {{0, 24, 10, 10}});
        QCOMPARE(nextVariantNumber(dm), QStringLiteral("1"));
        QVERIFY(!checkVariantParams(dm, params("1", 0), true));
        addVariant(dm, params("1", 0));
        QCOMPARE(dm.tblProj2->recordCount(), 1);
    }

    void editRebindsToTheCurrentType()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        prepare(dm);
        addVariant(dm, params("1", 0));
        addCatalogueType(dm, "Вторая", "УКМ-20", 20, 0.003, 9000, {{10, 2}});
        VariantParams p = params("1", 4);
        editVariant(dm, p);
        QCOMPARE(dm.tblProj2->recordCount(), 1);
        QCOMPARE(dm.tblProj2->asString("TipKU"), QStringLiteral("УКМ-20"));
        QCOMPARE(switchedText(*dm.tblProj5), QStringLiteral("10x2"));
        QCOMPARE(dm.tblProj3->recordCount(), 1);
        QCOMPARE(dm.tblProj3->asFloat("Qku"), 20.0);
        QCOMPARE(rowsIn(*td.store, "project5.DB"), 1);
        QCOMPARE(rowsIn(*td.store, "project4.DB"), 1);
        deleteVariant(dm);
        QCOMPARE(rowsIn(*td.store, "project3.DB"), 0);
        QCOMPARE(rowsIn(*td.store, "project4.DB"), 0);
        QCOMPARE(rowsIn(*td.store, "project5.DB"), 0);
    }

    void reselectForAllUsesEachOwnModules()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        prepare(dm);
        replaceProjectGraph(dm, {{0, 8, 100, 80}, {8, 24, 40, 30}});
        addVariant(dm, params("1", 0));
        addCatalogueType(dm, "Вторая", "УКМ-21", 21, 0.003, 9000, {{7, 3}});
        addVariant(dm, params("2", 0));
        dm.tblProj3->last();
        ModeInput nearest;
        nearest.mode = CosNearest;
        reselectModules(dm, nearest, true);
        QCOMPARE(dm.tblProj2->asInteger("VarNum"), 2); // the current variant and period stay
        QCOMPARE(dm.tblProj3->recNo(), 1);
        for (dm.tblProj2->first(); !dm.tblProj2->eof(); dm.tblProj2->next()) {
            QCOMPARE(dm.tblProj2->asString("Rejim"), selectionModeCaption(CosNearest));
            QCOMPARE(dm.tblProj2->asString("Cosf_tr"), QStringLiteral("0,97"));
            QVERIFY(dm.tblProj2->isNull("Cosf_min"));
            const QStringList own = switchedText(*dm.tblProj5).split(' ');
            for (dm.tblProj3->first(); !dm.tblProj3->eof(); dm.tblProj3->next()) {
                double sum = 0;
                for (dm.tblProj4->first(); !dm.tblProj4->eof(); dm.tblProj4->next()) {
                    QVERIFY(std::any_of(own.begin(), own.end(), [&](const QString &g) {
                        return g.startsWith(dm.tblProj4->asString("Stup") + "x");
                    }));
                    sum += dm.tblProj4->asFloat("Stup") * dm.tblProj4->asFloat("Kol_vo");
                }
                QCOMPARE(sum, dm.tblProj3->asFloat("Qku"));
            }
        }
        // The first period of the second variant: T = 80 − 25,06; 7-modules get 21, the closest within Q.
        dm.tblProj2->last();
        dm.tblProj3->first();
        QCOMPARE(dm.tblProj3->asFloat("Qku"), 21.0);
    }

    void newGraphRebuildsEveryVariant()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        prepare(dm);
        QList<LoadPeriod> day;
        for (int h = 0; h < 24; ++h)
            day.append({double(h), double(h + 1), 50.0 + h, 40.0 + h});
        replaceProjectGraph(dm, day);
        for (int v = 1; v <= 3; ++v)
            addVariant(dm, params(QString::number(v), v));
        // A variant whose mode is none of the five gets periods without modules.
        appendRow(*dm.tblProj2, {{"VarNum", 4}, {"Rejim", "неизвестный"}});
        appendRow(*dm.tblProj5, {{"Stup", 10}, {"Kol_vo", 2}});
        dm.tblProj2->first();
        dm.tblProj2->next();
        QCOMPARE(rowsIn(*td.store, "project3.DB"), 72);
        replaceProjectGraph(dm, {{0, 8, 90, 70}, {8, 16, 60, 50}, {16, 24, 30, 20}});
        QCOMPARE(dm.tblProj2->asInteger("VarNum"), 2); // the current variant is kept
        QCOMPARE(dm.tblProj1->recordCount(), 3);
        QCOMPARE(rowsIn(*td.store, "project1.db"), 3);
        QCOMPARE(rowsIn(*td.store, "project3.DB"), 12);
        for (dm.tblProj2->first(); !dm.tblProj2->eof(); dm.tblProj2->next()) {
            QCOMPARE(dm.tblProj3->recordCount(), 3);
            for (dm.tblProj3->first(), dm.tblProj1->first(); !dm.tblProj3->eof();
                 dm.tblProj3->next(), dm.tblProj1->next())
                for (const char *f : {"T1", "T2", "P", "Q"})
                    QCOMPARE(dm.tblProj3->asFloat(f), dm.tblProj1->asFloat(f));
        }
        dm.tblProj2->last();
        QVERIFY(dm.tblProj3->isNull("Qku"));
        QCOMPARE(dm.tblProj4->recordCount(), 0);
        // Every switched module row belongs to a compensated period that exists.
        TTable modules(*td.store, "project4.DB"), periods(*td.store, "project3.DB");
        modules.open();
        periods.open();
        for (modules.first(); !modules.eof(); modules.next())
            QVERIFY(periods.locate("Kod", modules.value("Kod0")));
    }

    // Two periods where the nearest-cos(f) mode at 0,9 switches nothing on: the final yearly
    // saving is 0 while the first period alone would show one. The payback comes from the
    // command's final totals only, so it keeps what it was before the command: none for a new
    // variant, the full-compensation payback for one that had it.
    void paybackFromTheFinalTotals_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("hadPayback");
        QTest::newRow("add") << "add" << false;
        QTest::newRow("edit") << "edit" << true;
        QTest::newRow("module selection") << "reselect" << true;
        QTest::newRow("graph replacement") << "graph" << true;
        QTest::newRow("recalculation") << "recalc" << true;
    }
    void paybackFromTheFinalTotals()
    {
        QFETCH(QString, command);
        QFETCH(bool, hadPayback);
        TestData td;
        TDataModule1 &dm = *td.data;
        const QList<LoadPeriod> day = {{0, 8, 100, 10}, {8, 24, 50, 5}};
        createProject(dm, newProjectParams(dm));
        replaceProjectGraph(dm, day);
        addCatalogueType(dm, "Фирма", "УКРМ-50", 50, 0.0045, 29200, {{5, 2}, {10, 2}, {20, 1}});
        VariantParams nearest = params("1", CosNearest);
        nearest.mode.cosfTr = "0,9";
        TTable &v = *dm.tblProj2;
        std::optional<double> before;
        if (hadPayback) {
            addVariant(dm, params("1", FullCompensation));
            before = v.asOptional("Srok");
            QVERIFY(before && *before > 0);
        }
        if (command == "add") {
            addVariant(dm, nearest);
        } else if (command == "edit") {
            editVariant(dm, nearest);
        } else {
            reselectModules(dm, nearest.mode, false);
            QCOMPARE(v.asOptional("Srok"), before); // the module selection itself
            if (command == "graph")
                replaceProjectGraph(dm, {{0, 12, 100, 10}, {12, 24, 50, 5}});
            else if (command == "recalc")
                recalculateProject(dm);
        }
        for (dm.tblProj3->first(); !dm.tblProj3->eof(); dm.tblProj3->next())
            QCOMPARE(dm.tblProj3->asFloat("Qku"), 0.0);
        QCOMPARE(v.asFloat("D$Ws_g"), 0.0);
        QCOMPARE(v.asOptional("Srok"), before);
    }

    void typicalGraphScaledHalvesToEven()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        appendRow(*dm.tblSutGr0, {{"Otrasl", "Тест"}});
        appendRow(*dm.tblSutGr1, {{"Name", "Предприятие"}});
        appendRow(*dm.tblSutGr2, {{"T1", 0}, {"T2", 12}, {"P", 50}, {"Q", 33}});
        appendRow(*dm.tblSutGr2, {{"T1", 12}, {"T2", 24}, {"P", 100}, {"Q", 100}});
        const QList<LoadPeriod> five = scaledTypicalGraph(*dm.tblSutGr2, 5, 100);
        QCOMPARE(five[0].P, 2.0); // 2,5 to even
        QCOMPARE(five[0].Q, 33.0);
        QCOMPARE(five[1].P, 5.0);
        QCOMPARE(scaledTypicalGraph(*dm.tblSutGr2, 7, 100)[0].P, 4.0); // 3,5 to even
        QCOMPARE(dm.tblSutGr2->recNo(), 1);                            // the catalogue stays where it was
    }
};

QTEST_GUILESS_MAIN(TestVariantCommands)
#include "test_variant_commands.moc"
