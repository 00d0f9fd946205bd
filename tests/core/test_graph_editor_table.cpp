// The graph editor's table: fill, row and table commands, the buffers and the check.
#include "core/graphs/GraphEditorTable.h"

#include <QtTest>

using namespace korvan;

class TestGraphEditorTable : public QObject {
    Q_OBJECT

    static QStringList column(const GraphEditorTable &t, int c)
    {
        QStringList out;
        for (const QStringList &row : t.rows())
            out << row[c];
        return out;
    }

private slots:
    void fill_data()
    {
        QTest::addColumn<QStringList>("params"); // start, end, step
        QTest::addColumn<int>("rows");           // -1: refused
        QTest::addColumn<QString>("lastT2");
        QTest::addColumn<QString>("message");
        QTest::newRow("defaults") << QStringList{"0", "24", "1"} << 24 << "24"
                                  << "";
        QTest::newRow("0-1 by 1 refused") << QStringList{"0", "1", "1"} << -1 << ""
                                          << "Значение поля \"Период замеров, ч\" должно быть меньше разности значений "
                                             "полей \"Окончание замеров, ч\" и \"Начало замеров, ч\".";
        QTest::newRow("0-1 by 0,5") << QStringList{"0", "1", "0,5"} << 2 << "1"
                                    << "";
        QTest::newRow("0-24 by 5 ends at 25") << QStringList{"0", "24", "5"} << 5 << "25"
                                              << "";
        QTest::newRow("thirds round to two decimals") << QStringList{"0", "1", "0,3"} << 3 << "0,9"
                                                      << "";
        QTest::newRow("end above 24")
            << QStringList{"0", "24,5", "1"} << -1 << ""
            << "Значение поля \"Окончание замеров, ч\" должно быть меньше либо равно 24 часам.";
        QTest::newRow("end not above start")
            << QStringList{"8", "8", "1"} << -1 << ""
            << "Значение поля \"Окончание замеров, ч\" должно быть больше значения поля \"Начало замеров, ч\".";
        QTest::newRow("start not a number") << QStringList{"abc", "24", "1"} << -1 << ""
                                            << "\"abc\" - некорректное значение для поля \"Начало замеров, ч\".";
        QTest::newRow("step zero") << QStringList{"0", "24", "0"} << -1 << ""
                                   << "Значение поля \"Период замеров, ч\" должно быть больше 0.";
        // An integer would overflow on (24 - 0) / 1e-300, and a list that long would never end.
        QTest::newRow("tiny step refused")
            << QStringList{"0", "24", "1e-300"} << -1 << ""
            << "Значение поля \"Период замеров, ч\" слишком мало: периодов получится больше 2400.";
        QTest::newRow("hundredths of an hour") << QStringList{"0", "24", "0,01"} << 2400 << "24"
                                               << "";
    }
    void fill()
    {
        QFETCH(QStringList, params);
        QFETCH(int, rows);
        QFETCH(QString, lastT2);
        QFETCH(QString, message);
        GraphEditorTable t;
        t.prime({"Т1, ч", "Т2, ч", "P, кВт", "Q, кВАр"}, {{"5", "6", "7", "8"}});
        const auto problem = t.fill(params[0], params[1], params[2], true);
        QCOMPARE(problem ? problem->message : QString(), message);
        if (rows < 0) {
            QCOMPARE(t.rows(), QList<QStringList>({{"5", "6", "7", "8"}})); // a refused fill changes nothing
            return;
        }
        QCOMPARE(t.rowCount(), rows);
        QCOMPARE(t.rows().last()[1], lastT2);
        QCOMPARE(t.rows()[0][0], params[0]);
        QCOMPARE(column(t, 2), QStringList(rows)); // P cleared
    }

    void fillKeepsPQWhenAsked()
    {
        GraphEditorTable t;
        t.prime({}, {{"0", "24", "70", "30"}});
        QVERIFY(!t.fill("0", "24", "1", false));
        QCOMPARE(t.rows()[0], QStringList({"0", "1", "70", "30"}));
        QCOMPARE(t.rows()[1], QStringList({"1", "2", "", ""}));
    }

    void checkAfterFill()
    {
        GraphEditorTable t;
        t.prime({"Т1, ч", "Т2, ч", "P, кВт", "Q, кВАр"}, {});
        t.fill("0", "24", "1", true);
        auto problem = t.check();
        QVERIFY(problem);
        QCOMPARE(problem->message, QStringLiteral("Заполнение всех ячеек таблицы обязательно."));
        QCOMPARE(problem->row, 0);
        QCOMPARE(problem->column, 2);
        t.fill("0", "24", "5", true);
        for (int r = 0; r < t.rowCount(); ++r) {
            t.setCell(r, 2, "150");
            t.setCell(r, 3, "1");
        }
        problem = t.check();
        QCOMPARE(problem->row, 4);
        QCOMPARE(problem->column, 1);
        t.prime({"Т1, ч", "Т2, ч", "P, кВт", "Q, кВАр"}, {{"0", "24", "150", "1"}});
        QVERIFY(!t.check()); // 150 kW passes
        t.prime({"Т1, ч", "Т2, ч", "P, %", "Q, %"}, {{"0", "24", "150", "1"}});
        QVERIFY(t.percentMode());
        QCOMPARE(t.check()->message,
                 QStringLiteral("Значения полей \"P, %\" и \"Q, %\" должны быть в пределах от 0 до 100 %."));
    }

    void rowsAndBuffers()
    {
        GraphEditorTable t;
        t.prime({}, {{"0", "8", "1", "2"}});
        QVERIFY(!t.canPasteRow());
        QVERIFY(t.canDeleteOrCopyTable());
        t.deleteRow(); // the only row is cleared
        QCOMPARE(t.rowCount(), 1);
        QVERIFY(t.isEmpty());
        QVERIFY(!t.canDeleteOrCopyTable());
        QVERIFY(!t.canCopyRow());

        t.prime({}, {{"0", "8", "1", "2"}, {"8", "24", "3", "4"}});
        t.setCurrentRow(0);
        t.cutRow();
        QCOMPARE(t.rows()[0], QStringList(4));
        QVERIFY(t.canPasteRow());
        t.setCurrentRow(1);
        t.pasteRow(); // into another row, overwriting it
        QCOMPARE(t.rows()[1], QStringList({"0", "8", "1", "2"}));
        QCOMPARE(t.rowCount(), 2);
        t.insertRow();
        QCOMPARE(t.rowCount(), 3);
        QCOMPARE(t.rows()[1], QStringList(4));
        QCOMPARE(t.rows()[2], QStringList({"0", "8", "1", "2"}));
        t.addRow();
        QCOMPARE(t.currentRow(), 3);

        // The table buffer outlives a new priming: a 24-row table pastes as 24 rows anywhere.
        t.fill("0", "24", "1", true);
        t.copyTable();
        t.prime({"Т1, ч", "Т2, ч", "P, %", "Q, %"}, {});
        t.pasteTable();
        QCOMPARE(t.rowCount(), 24);
        QCOMPARE(t.headers()[2], QStringLiteral("P, %"));
        t.clear();
        QCOMPARE(t.rowCount(), 24);
        QCOMPARE(column(t, 0), QStringList(24));
    }

    void typicalGraphHalvesAwayFromZero()
    {
        GraphEditorTable t;
        t.prime({"Т1, ч", "Т2, ч", "P, кВт", "Q, кВАр"}, {{"1", "2", "3", "4"}, {"2", "3", "4", "5"}});
        t.insertTypical({{0, 12, 50, 33}, {12, 24, 100, 100}}, 5, 100);
        QCOMPARE(t.rows(), QList<QStringList>({{"0", "12", "3", "33"}, {"12", "24", "5", "100"}}));
        t.insertTypical({{0, 24, 100, 100}}, 1e20, 1e20); // beyond any fixed-width integer
        QCOMPARE(t.rows(), QList<QStringList>({{"0", "24", "1E+20", "1E+20"}}));
        t.insertTypical({}, 5, 100);
        QVERIFY(t.isEmpty());
        QCOMPARE(t.axisTitle(), QStringLiteral("P, кВт; Q, кВАр"));
    }
};

QTEST_GUILESS_MAIN(TestGraphEditorTable)
#include "test_graph_editor_table.moc"
