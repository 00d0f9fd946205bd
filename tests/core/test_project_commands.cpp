// Projects through their commands: the values a recalculation stores, results that follow every
// edit, copy, deletion and the acceptance checks of the parameters.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/compensation/VariantCommands.h"
#include "core/graphs/GraphCommands.h"
#include "core/project/ProjectCommands.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestProjectCommands : public QObject {
    Q_OBJECT

    // A variant with Pp 0,005, Kp 0,12 and price 10000 whose periods switch 50 and 25 kVAr on.
    static void addExampleVariant(TDataModule1 &dm)
    {
        appendRow(*dm.tblProj2, {{"VarNum", 1}, {"Pp", 0.005}, {"Kp", 0.12}, {"Cena", 10000}});
        appendRow(*dm.tblProj3, {{"T1", 0}, {"T2", 8}, {"P", 100}, {"Q", 80}, {"Qku", 50}});
        appendRow(*dm.tblProj3, {{"T1", 8}, {"T2", 24}, {"P", 50}, {"Q", 30}, {"Qku", 25}});
        recalculateProject(dm);
    }

    static TTable::Row rowWithout(TTable::Row row, std::initializer_list<int> positions)
    {
        for (int p : positions)
            row[p] = QVariant();
        return row;
    }

private slots:
    void postingComputesPeriodsAndTotals_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("value");
        const auto add = [](const char *t, int r, const char *f, double v) {
            QTest::addRow("%s[%d].%s", t, r, f) << QString(t) << r << QString(f) << v;
        };
        add("project1.db", 0, "S", 128.06);
        add("project1.db", 0, "I", 194.57);
        add("project1.db", 0, "Cosf", 0.781);
        add("project1.db", 0, "Ws", 1024.5);
        add("project1.db", 1, "Ws", 932.95);
        add("project1.db", 1, "$Ws", 581.6);
        for (auto [f, v] : std::initializer_list<std::pair<const char *, double>>{{"Wa", 1600},
                                                                                  {"Wq", 1120},
                                                                                  {"Ws", 1957.45},
                                                                                  {"Psr", 66.67},
                                                                                  {"Qsr", 46.67},
                                                                                  {"Ssr", 81.56},
                                                                                  {"$Wa", 1144},
                                                                                  {"$Wq", 22.4},
                                                                                  {"$Ws", 1166.4},
                                                                                  {"Cosfe", 0.817},
                                                                                  {"Tgfe", 0.7},
                                                                                  {"Wa_m", 33600},
                                                                                  {"Ws_m", 41106.45},
                                                                                  {"$Wq_m", 470.4},
                                                                                  {"$Ws_m", 24494.4},
                                                                                  {"Ws_g", 508937},
                                                                                  {"$Ws_g", 303264},
                                                                                  {"Qmin", 30},
                                                                                  {"Qmax", 80}})
            add("project0.db", 0, f, v);
        add("project3.DB", 0, "Wakp", 2);
        add("project3.DB", 0, "Wak", 769.8);
        add("project3.DB", 1, "Wak", 777.3);
        add("project3.DB", 1, "$Wsk", 557.37);
        for (auto [f, v] : std::initializer_list<std::pair<const char *, double>>{{"Cosf_i", 0.974},
                                                                                  {"Tgf_i", 0.207},
                                                                                  {"Wakp", 4},
                                                                                  {"Wak", 1547.1},
                                                                                  {"Wqk", 320},
                                                                                  {"Wsk", 1587.75},
                                                                                  {"DWak", 52.9},
                                                                                  {"DWqk", 800},
                                                                                  {"DWsk", 369.7},
                                                                                  {"$Wsk", 1112.58},
                                                                                  {"D$Wsk", 53.82},
                                                                                  {"$Ws_m", 23364.18},
                                                                                  {"D$Ws_m", 1130.22},
                                                                                  {"$Ws_g", 289270.8},
                                                                                  {"D$Ws_g", 13993.2},
                                                                                  {"Srok", 0.71}})
            add("project2.db", 0, f, v);
    }
    void postingComputesPeriodsAndTotals()
    {
        QFETCH(QString, table);
        QFETCH(int, row);
        QFETCH(QString, field);
        QFETCH(double, value);
        TestData td;
        createExampleProject(*td.data);
        addExampleVariant(*td.data);
        TTable &t = *td.data->table(table);
        t.first();
        for (int i = 0; i < row; ++i)
            t.next();
        QCOMPARE(t.asFloat(field), value);
    }

    void undefinedValuesAreNull()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        createProject(dm, newProjectParams(dm));
        replaceProjectGraph(dm, {{0, 12, 0, 0}, {12, 24, 0, 0}});
        QVERIFY(dm.tblProj1->isNull("Cosf"));
        QVERIFY(dm.tblProj1->isNull("Tgf"));
        QCOMPARE(dm.tblProj1->asFloat("S"), 0.0);
        QVERIFY(dm.tblProj0->isNull("Cosfe"));
        QVERIFY(dm.tblProj0->isNull("Tgfe"));
        QCOMPARE(dm.tblProj0->asFloat("Psr"), 0.0);
        // Reactive load only: tg(f) has no value, cos(f) is 0.
        replaceProjectGraph(dm, {{0, 24, 0, 40}});
        QVERIFY(dm.tblProj1->isNull("Tgf"));
        QCOMPARE(dm.tblProj1->asFloat("Cosf"), 0.0);
        QCOMPARE(dm.tblProj0->asFloat("Cosfe"), 0.0);
        QVERIFY(dm.tblProj0->isNull("Tgfe"));
        // A variant on a period without load: no loss term, no division.
        replaceProjectGraph(dm, {{0, 12, 0, 0}, {12, 24, 60, 20}});
        appendRow(*dm.tblProj2, {{"VarNum", 1}, {"Pp", 0.005}, {"Kp", 0.12}});
        appendRow(*dm.tblProj3, {{"T1", 0}, {"T2", 12}, {"P", 0}, {"Q", 0}, {"Qku", 10}});
        recalculateProject(dm);
        dm.tblProj3->first();
        QCOMPARE(dm.tblProj3->asFloat("Wak"), 0.6);  // 0,005 × 10 kVAr × 12 h of module losses
        QCOMPARE(dm.tblProj3->asFloat("Cosf"), 0.0); // capacitive only: S is Qku, P is 0
        QVERIFY(dm.tblProj3->isNull("Tgf"));
        QVERIFY(!dm.tblProj2->isNull("Cosf_i"));
        QVERIFY(dm.tblProj2->isNull("Srok")); // no price
    }

    void graphSpanAndGap_data()
    {
        QTest::addColumn<QList<LoadPeriod>>("periods");
        QTest::addColumn<double>("psr");
        QTest::newRow("8 to 20: T = 12") << QList<LoadPeriod>{{8, 20, 60, 30}} << 60.0;
        QTest::newRow("gap 8 to 12: T = 24") << QList<LoadPeriod>{{0, 8, 30, 10}, {12, 24, 30, 10}} << 25.0;
    }
    void graphSpanAndGap()
    {
        QFETCH(QList<LoadPeriod>, periods);
        QFETCH(double, psr);
        TestData td;
        createProject(*td.data, newProjectParams(*td.data));
        replaceProjectGraph(*td.data, periods);
        QCOMPARE(td.data->tblProj0->asFloat("Psr"), psr);
    }

    // A new tariff reaches every payment, total and saving with the edit itself; an edit the checks
    // refuse changes nothing, results included.
    void editingTariffRecalculatesAtOnce()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm);
        addExampleVariant(dm);
        dm.tblProj1->last();
        dm.tblProj3->last();
        ProjectParams p = currentProjectParams(dm);
        QCOMPARE(p.tarifA, QStringLiteral("0,715"));
        ProjectParams refused = p;
        refused.tarifA = "-1";
        QVERIFY_THROWS_EXCEPTION(InputError, editProject(dm, refused));
        QCOMPARE(dm.tblProj0->asFloat("$Wa"), 1144.0);
        QCOMPARE(dm.tblProj2->asFloat("$Wak"), 1106.18);

        p.tarifA = "1";
        p.yearDay = "250";
        editProject(dm, p);
        QCOMPARE(dm.tblProj1->recNo(), 1); // the user's rows stay current
        QCOMPARE(dm.tblProj3->recNo(), 1);
        for (dm.tblProj1->first(); !dm.tblProj1->eof(); dm.tblProj1->next())
            QCOMPARE(dm.tblProj1->asFloat("$Wa"), dm.tblProj1->asFloat("Wa"));
        QCOMPARE(dm.tblProj0->asFloat("$Wa"), 1600.0);
        QCOMPARE(dm.tblProj0->asFloat("Wa_g"), 400000.0);
        QCOMPARE(dm.tblProj2->asFloat("$Wak"), 1547.1);
        QCOMPARE(dm.tblProj2->asFloat("D$Wak"), 52.9);
        // 1600 + 22.4 a day against 1547.1 + 6.4, for 250 days.
        QCOMPARE(dm.tblProj2->asFloat("D$Ws_g"), 17225.0);
        QCOMPARE(dm.tblProj2->asFloat("Srok"), 0.58);
    }

    void copyEqualsSourceButKeysNameAndTime()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm, "Цех 1");
        addExampleVariant(dm);
        appendRow(*dm.tblProj5, {{"Stup", 25}, {"Kol_vo", 3}});
        appendRow(*dm.tblProj4, {{"Stup", 25}, {"Kol_vo", 1}});
        const qint64 source = dm.tblProj0->currentKod();
        QList<int> steps;
        int maximum = -1;
        const qint64 copy = copyProject(dm, "Цех 1_1", [&](int value, int max) {
            steps << value;
            maximum = max;
        });
        QCOMPARE(maximum, 3); // two periods and one variant
        QCOMPARE(steps, QList<int>({0, 1, 2, 3}));
        QCOMPARE(dm.tblProj0->currentKod(), copy);
        QCOMPARE(dm.tblProj0->asString("Name"), QStringLiteral("Цех 1_1"));
        QCOMPARE(dm.tblProj0->asDate("ProjDate"), QDate::currentDate());

        // Compare every row of every table, keys, name, date and time left aside.
        TTable src0(*td.store, "project0.db"), src1(*td.store, "project1.db"), src2(*td.store, "project2.db"),
            src3(*td.store, "project3.DB"), src4(*td.store, "project4.DB"), src5(*td.store, "project5.DB");
        src1.setMaster(&src0);
        src2.setMaster(&src0);
        src3.setMaster(&src2);
        src4.setMaster(&src3);
        src5.setMaster(&src2);
        for (TTable *t : {&src0, &src1, &src2, &src3, &src4, &src5})
            t->open();
        QVERIFY(src0.locate("Kod", source));
        QCOMPARE(rowWithout(dm.tblProj0->currentRow(), {0, 1, 3, 4}), rowWithout(src0.currentRow(), {0, 1, 3, 4}));
        const auto compareAll = [](TTable &copied, TTable &original) {
            QCOMPARE(copied.recordCount(), original.recordCount());
            original.first();
            for (copied.first(); !copied.eof(); copied.next(), original.next()) {
                QVERIFY(copied.currentKod() != original.currentKod());
                QCOMPARE(rowWithout(copied.currentRow(), {0, 1}), rowWithout(original.currentRow(), {0, 1}));
            }
        };
        compareAll(*dm.tblProj1, src1);
        compareAll(*dm.tblProj2, src2);
        compareAll(*dm.tblProj5, src5);
        compareAll(*dm.tblProj3, src3);
        dm.tblProj3->last();
        src3.last();
        compareAll(*dm.tblProj4, src4);
        QVERIFY(dm.tblProj4->asInteger("Kod0") == dm.tblProj3->currentKod());

        // Deleting the source leaves the copy whole.
        QVERIFY(dm.tblProj0->locate("Kod", source));
        deleteProject(dm);
        QVERIFY(dm.tblProj0->locate("Kod", copy));
        QCOMPARE(dm.tblProj1->recordCount(), 2);
        QCOMPARE(rowsIn(*td.store, "project3.DB"), 2);
        QCOMPARE(rowsIn(*td.store, "project4.DB"), 1);
    }

    void copyOfEmptyProjectHasNoSteps()
    {
        TestData td;
        createProject(*td.data, newProjectParams(*td.data));
        int maximum = -1;
        copyProject(*td.data, "", [&](int, int max) { maximum = max; });
        QCOMPARE(maximum, 0);
        QCOMPARE(td.data->tblProj0->recordCount(), 2);
        QCOMPARE(td.data->tblProj0->asString("Name"), QString()); // an empty name is taken as it is
    }

    void deletingTheOnlyProject()
    {
        TestData td;
        createExampleProject(*td.data);
        deleteProject(*td.data);
        QVERIFY(td.data->tblProj0->isEmpty());
        QCOMPARE(rowsIn(*td.store, "project1.db"), 0);
        QVERIFY_THROWS_EXCEPTION(KorvanError, deleteProject(*td.data));
    }

    void defaultName()
    {
        TestData td;
        createProject(*td.data, newProjectParams(*td.data));
        createProject(*td.data, newProjectParams(*td.data));
        QCOMPARE(defaultProjectName(*td.data), QStringLiteral("Проект 3"));
    }

    void parameterChecks_data()
    {
        QTest::addColumn<QStringList>("values"); // name, month, year, tariff a, tariff q
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("message");
        const QString month = "поля \"Среднее количество рабочих дней в месяце\"";
        QTest::newRow("no name") << QStringList{"", "0", "0", "", ""} << int(ProjectParams::Name)
                                 << "Заполнение поля \"Наименование проекта\" обязательно.";
        QTest::newRow("empty month") << QStringList{"П", "", "260", "0,715", "0,02"} << int(ProjectParams::MonthDay)
                                     << "Введите значение " + month + ".";
        QTest::newRow("month 0 before range")
            << QStringList{"П", "0", "260", "0,715", "0,02"} << int(ProjectParams::MonthDay)
            << "Значение " + month + " должно быть больше 0.";
        QTest::newRow("year not a number")
            << QStringList{"П", "21", "abc", "0,715", "0,02"} << int(ProjectParams::YearDay)
            << "\"abc\" - некорректное значение для поля \"Среднее количество рабочих дней в году\".";
        QTest::newRow("tariff with point")
            << QStringList{"П", "21", "260", "0.715", "0,02"} << int(ProjectParams::Tarif_a)
            << "\"0.715\" - некорректное значение для поля \"Тариф на активную электроэнергию, грн/кВтч\".";
        QTest::newRow("reactive tariff 0")
            << QStringList{"П", "21", "260", "0,715", "0"} << int(ProjectParams::Tarif_q)
            << "Значение поля \"Тариф на реактивную электроэнергию, грн/кВАрч\" должно быть больше 0.";
        QTest::newRow("month 32")
            << QStringList{"П", "32", "260", "0,715", "0,02"} << int(ProjectParams::MonthDay)
            << "Значение поля \"Среднее количество рабочих дней в месяце\" должно быть в пределах от 1 до 31.";
        QTest::newRow("month with fraction")
            << QStringList{"П", "2,5", "260", "0,715", "0,02"} << int(ProjectParams::MonthDay)
            << "Значение поля \"Среднее количество рабочих дней в месяце\" должно быть целым числом, а не \"2,5\".";
        QTest::newRow("year 367")
            << QStringList{"П", "21", "367", "0,715", "0,02"} << int(ProjectParams::YearDay)
            << "Значение поля \"Среднее количество рабочих дней в году\" должно быть в пределах от 1 до 366.";
        QTest::newRow("year equal to month")
            << QStringList{"П", "21", "21", "0,715", "0,02"} << int(ProjectParams::YearDay)
            << "Значение поля \"Среднее количество рабочих дней в году\" должно быть больше значения поля \"Среднее "
               "количество рабочих дней в месяце\".";
        QTest::newRow("accepted") << QStringList{"П", "31", "366", "0,001", "5"} << -1 << "";
    }
    void parameterChecks()
    {
        QFETCH(QStringList, values);
        QFETCH(int, field);
        QFETCH(QString, message);
        TestData td;
        ProjectParams p = newProjectParams(*td.data);
        p.name = values[0];
        p.monthDay = values[1];
        p.yearDay = values[2];
        p.tarifA = values[3];
        p.tarifQ = values[4];
        const auto problem = checkProjectParams(p);
        QCOMPARE(problem ? problem->field : -1, field);
        QCOMPARE(problem ? problem->message : QString(), message);
        if (problem) {
            QVERIFY_THROWS_EXCEPTION(InputError, createProject(*td.data, p));
            QVERIFY(td.data->tblProj0->isEmpty());
        } else {
            createProject(*td.data, p);
            QCOMPARE(td.data->tblProj0->asInteger("YearDay"), 366);
            QCOMPARE(td.data->tblProj0->asFloat("Tarif_a"), 0.001);
        }
    }
};

QTEST_GUILESS_MAIN(TestProjectCommands)
#include "test_project_commands.moc"
