// The commands on the analysis table: adding, replacing and deleting rows, the restriction to
// the current project, the find commands, sorting, the six filters and the optimum.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/compensation/AnalysisCommands.h"
#include "core/compensation/AnalysisFilters.h"
#include "core/project/ProjectCommands.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

using Values = QList<double>;

// A project with the example graph and a company "Фирма" of three types, the first current.
struct Analysis {
    TestData td;
    TDataModule1 &dm = *td.data;
    QList<qint64> types;

    Analysis()
    {
        createExampleProject(dm);
        types << addCatalogueType(dm, "Фирма", "УКМ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
        types << appendRow(*dm.tblsKU1, {{"Name", "УКМ-50"}, {"Q", 50}, {"Pp", 0.005}, {"Unom", 400}, {"Cena", 20000}});
        appendRow(*dm.tblsKU2, {{"Qstup", 10}, {"Kol_vo", 5}});
        types << appendRow(*dm.tblsKU1, {{"Name", "УКМ-20"}, {"Q", 20}, {"Pp", 0.005}, {"Unom", 400}});
        appendRow(*dm.tblsKU2, {{"Qstup", 20}, {"Kol_vo", 1}});
        dm.tblsKU1->first();
        restrictAnalysisToProject(dm);
    }

    TTable &table() { return *dm.tblSel_KU; }

    // A row of the current project with the given fields.
    qint64 row(QVariantMap values)
    {
        values.insert("Kod0", dm.tblProj0->currentKod());
        return appendRow(table(), values);
    }

    QStringList names()
    {
        QStringList out;
        for (const TTable::Row &r : table().rows())
            out << r[table().fieldIndex("TipKU")].toString();
        return out;
    }
};

SelectionInput defaults(int mode = 0)
{
    SelectionInput in;
    in.mode.mode = mode;
    return in;
}

// The fields of the current row, without its key.
QVariantList withoutKey(const TTable &t)
{
    QVariantList v;
    const TTable::Row r = t.currentRow();
    for (int i = 1; i < r.size(); ++i)
        v << r[i];
    return v;
}

QList<QPair<int, int>> recordProgress(const std::function<void(const Progress &)> &command)
{
    QList<QPair<int, int>> steps;
    command([&](int value, int maximum) { steps.append({value, maximum}); });
    return steps;
}

} // namespace

class TestAnalysisTable : public QObject {
    Q_OBJECT

private slots:
    void sameTypeTwiceThenReplace()
    {
        Analysis a;
        addCandidate(a.dm, defaults());
        addCandidate(a.dm, defaults());
        TTable &t = a.table();
        QCOMPARE(t.recordCount(), 2);
        t.first();
        const qint64 first = t.currentKod();
        const QVariantList firstValues = withoutKey(t);
        t.next();
        QCOMPARE(withoutKey(t), firstValues);

        a.dm.tblsKU1->locate("Kod", a.types[1]);
        replaceCandidate(a.dm, defaults(1));
        QCOMPARE(t.recordCount(), 2);
        QCOMPARE(t.asInteger("KodKU1"), a.types[1]);
        QCOMPARE(t.asString("TipKU"), QStringLiteral("УКМ-50"));
        QCOMPARE(t.asString("Rejim"), selectionModeCaption(1));
        QVERIFY(t.currentKod() != first);
        QVERIFY(t.locate("Kod", first));
        QCOMPARE(withoutKey(t), firstValues); // the other row is as it was
    }

    void addAllFollowsTheCompany()
    {
        Analysis a;
        const auto steps =
            recordProgress([&](const Progress &p) { QCOMPARE(addCompanyCandidates(a.dm, defaults(), p), 3); });
        QCOMPARE(steps, (QList<QPair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
        QCOMPARE(a.dm.tblsKU1->currentKod(), a.types.last()); // the catalogue stays on the last type
        a.table().setIndexName("tblSel_KUIndex1");
        QCOMPARE(a.names(), (QStringList{"УКМ-70", "УКМ-50", "УКМ-20"})); // added in the company's order
        QVERIFY(a.table().locate("KodKU1", a.types[2]));
        QVERIFY(a.table().isNull("Srok")); // the type without a price
    }

    void replaceNeedsARow()
    {
        Analysis a;
        QVERIFY_THROWS_EXCEPTION(KorvanError, replaceCandidate(a.dm, defaults()));
        QCOMPARE(rowsIn(*a.td.store, "sel_ku.DB"), 0);
    }

    // Each project sees only its own rows, and a command restores that view itself.
    void projectsKeptApart()
    {
        Analysis a;
        addCandidate(a.dm, defaults());
        addCandidate(a.dm, defaults());
        const qint64 first = a.dm.tblProj0->currentKod();
        createExampleProject(a.dm, "Второй");
        restrictAnalysisToProject(a.dm);
        QCOMPARE(a.table().recordCount(), 0);
        addCandidate(a.dm, defaults());
        QCOMPARE(a.table().recordCount(), 1);
        QCOMPARE(a.table().asInteger("Kod0"), a.dm.tblProj0->currentKod());

        a.table().setFiltered(false); // someone left the table open to all projects
        QCOMPARE(a.table().recordCount(), 3);
        const auto steps = recordProgress([&](const Progress &p) { deleteAllCandidates(a.dm, p); });
        QCOMPARE(steps, (QList<QPair<int, int>>{{0, 1}, {1, 1}}));
        QCOMPARE(a.table().recordCount(), 0);
        QCOMPARE(rowsIn(*a.td.store, "sel_ku.DB"), 2);

        QVERIFY(a.dm.tblProj0->locate("Kod", first));
        restrictAnalysisToProject(a.dm);
        QCOMPARE(a.table().recordCount(), 2);
        a.table().last();
        deleteCandidate(a.dm);
        QCOMPARE(a.table().recordCount(), 1);
    }

    // The rows are their project's: they survive a new session, and go with the project.
    void rowsGoWithTheirProject()
    {
        Analysis a;
        addCompanyCandidates(a.dm, defaults());
        a.td.reopen();
        QCOMPARE(rowsIn(*a.td.store, "sel_ku.DB"), 3);
        deleteProject(*a.td.data);
        QCOMPARE(rowsIn(*a.td.store, "sel_ku.DB"), 0);
    }

    void findBetweenRowAndCatalogue()
    {
        Analysis a;
        MessageRecorder messages;
        QVERIFY(!findCandidateInTable(a.dm));
        QCOMPARE(messages.informations, QStringList{"Конденсаторная установка не найдена."});

        a.dm.tblsKU1->locate("Kod", a.types[1]);
        addCandidate(a.dm, defaults());
        const qint64 kod = a.table().currentKod();
        addCatalogueType(a.dm, "Другая", "КУ-10", 10, 0.005, 1000, {{10, 1}});
        addCandidate(a.dm, defaults());
        QVERIFY(a.table().currentKod() != kod);

        // The catalogue on another type: the table goes to the row of УКМ-50.
        a.dm.tblsKU0->locate("Company", "Фирма");
        a.dm.tblsKU1->locate("Kod", a.types[1]);
        messages.clear();
        QVERIFY(findCandidateInTable(a.dm));
        QCOMPARE(a.table().currentKod(), kod);
        // And back: the catalogue goes to the row's company and type.
        a.dm.tblsKU0->locate("Company", "Другая");
        QVERIFY(findCandidateInCatalogue(a.dm));
        QCOMPARE(a.dm.tblsKU0->asString("Company"), QStringLiteral("Фирма"));
        QCOMPARE(a.dm.tblsKU1->currentKod(), a.types[1]);
        QVERIFY(messages.all.isEmpty());

        // The row's type has since left the catalogue.
        a.dm.tblsKU1->remove();
        QVERIFY(!findCandidateInCatalogue(a.dm));
        QCOMPARE(messages.informations, QStringList{"Конденсаторная установка не найдена."});
    }

    void sortOrders_data()
    {
        QTest::addColumn<QString>("index");
        QTest::addColumn<QStringList>("order");
        // a: Srok 4, yearly 100; b: Srok -2 (costs more than it saves), yearly -5; c: no Srok, yearly 900
        QTest::newRow("yearly saving, largest first") << "siDSWskg" << QStringList{"c", "a", "b"};
        QTest::newRow("payback, negative before positive") << "siSrok" << QStringList{"c", "b", "a"};
        QTest::newRow("daily cos(f)") << "siCosf_sr" << QStringList{"b", "a", "c"};
    }
    void sortOrders()
    {
        QFETCH(QString, index);
        QFETCH(QStringList, order);
        Analysis a;
        a.row({{"TipKU", "a"}, {"Srok", 4}, {"DSWskg", 100}, {"Cosf_sr", 0.95}});
        a.row({{"TipKU", "b"}, {"Srok", -2}, {"DSWskg", -5}, {"Cosf_sr", 0.99}});
        const qint64 c = a.row({{"TipKU", "c"}, {"DSWskg", 900}, {"Cosf_sr", 0.9}});
        sortAnalysis(a.dm, index);
        QCOMPARE(a.names(), order);
        QCOMPARE(a.table().currentKod(), c); // the current row stays current
        QVERIFY_THROWS_EXCEPTION(KorvanError, sortAnalysis(a.dm, "Kod0Cosf"));
        QCOMPARE(analysisSortOrders().last().indexName, QStringLiteral("siSrok"));
    }

    // Each row is judged by its own stored mode and limits.
    void criteriaFilters_data()
    {
        QTest::addColumn<QString>("rejim");
        QTest::addColumn<QVariantList>("limits"); // PCosf_min, PCosf_max
        QTest::addColumn<Values>("cosf");         // Cosf_sr, Cosf_min, Cosf_max
        QTest::addColumn<bool>("dailyDrops");
        QTest::addColumn<bool>("periodDrops");
        const QVariant none;
        const QString above = selectionModeCaption(1), below = selectionModeCaption(2), range = selectionModeCaption(3);
        QTest::newRow("mode 1, daily above its maximum")
            << above << QVariantList{none, 0.95} << Values{0.96, 0.9, 0.95} << true << false;
        QTest::newRow("mode 0, same values")
            << selectionModeCaption(0) << QVariantList{none, 0.95} << Values{0.96, 0.9, 0.99} << false << false;
        QTest::newRow("mode 4, same values")
            << selectionModeCaption(4) << QVariantList{none, 0.95} << Values{0.96, 0.9, 0.99} << false << false;
        QTest::newRow("unknown caption") << "другой режим" << QVariantList{0.99, 0.5} << Values{0.96, 0.9, 0.99}
                                         << false << false;
        QTest::newRow("mode 1 at its maximum")
            << above << QVariantList{none, 0.95} << Values{0.95, 0.95, 0.95} << false << false;
        QTest::newRow("mode 1, a period above")
            << above << QVariantList{none, 0.95} << Values{0.94, 0.9, 0.96} << false << true;
        QTest::newRow("mode 2, daily below its minimum")
            << below << QVariantList{0.92, none} << Values{0.91, 0.95, 0.99} << true << false;
        QTest::newRow("mode 2, a period below")
            << below << QVariantList{0.92, none} << Values{0.95, 0.91, 0.99} << false << true;
        QTest::newRow("mode 3 inside") << range << QVariantList{0.92, 0.98} << Values{0.95, 0.92, 0.98} << false
                                       << false;
        QTest::newRow("mode 3, daily above")
            << range << QVariantList{0.92, 0.98} << Values{0.99, 0.93, 0.97} << true << false;
        QTest::newRow("mode 3, a period below")
            << range << QVariantList{0.92, 0.98} << Values{0.95, 0.9, 0.97} << false << true;
    }
    void criteriaFilters()
    {
        QFETCH(QString, rejim);
        QFETCH(QVariantList, limits);
        QFETCH(Values, cosf);
        QFETCH(bool, dailyDrops);
        QFETCH(bool, periodDrops);
        for (bool daily : {true, false}) {
            Analysis a;
            const QVariantMap judged{{"TipKU", "judged"},      {"Rejim", rejim},     {"PCosf_min", limits[0]},
                                     {"PCosf_max", limits[1]}, {"Cosf_sr", cosf[0]}, {"Cosf_min", cosf[1]},
                                     {"Cosf_max", cosf[2]}};
            // Rows around it that pass whatever the dialog's mode is.
            a.row({{"TipKU", "before"}, {"Rejim", selectionModeCaption(0)}, {"Cosf_sr", 0.5}, {"Srok", 1}});
            QVariantMap middle = judged;
            middle.insert("Srok", 2);
            a.row(middle);
            a.row({{"TipKU", "after"}, {"Rejim", selectionModeCaption(0)}, {"Cosf_sr", 0.5}, {"Srok", 3}});
            const int dropped = daily ? dropByDailyCriteria(a.dm) : dropByPeriodCriteria(a.dm);
            const bool drops = daily ? dailyDrops : periodDrops;
            QCOMPARE(dropped, int(drops));
            QCOMPARE(a.names(), drops ? QStringList({"before", "after"}) : QStringList({"before", "judged", "after"}));
        }
    }

    void parameterFilters()
    {
        Analysis a;
        a.row({{"TipKU", "nothing on"}, {"Qk", 50}, {"Qku_min", 0}, {"Qku_max", 0}, {"Srok", 1}});
        a.row({{"TipKU", "full"}, {"Qk", 50}, {"Qku_min", 0}, {"Qku_max", 50}, {"Srok", 2}});
        a.row({{"TipKU", "partly"}, {"Qk", 50}, {"Qku_min", 10}, {"Qku_max", 40}, {"Srok", 3}});
        a.row({{"TipKU", "above"}, {"Qk", 50}, {"Qku_min", 10}, {"Qku_max", 60}, {"Srok", 4}});
        QCOMPARE(dropInvalidCandidates(a.dm), 1);
        QCOMPARE(a.names(), (QStringList{"full", "partly", "above"}));
        const auto steps = recordProgress([&](const Progress &p) { QCOMPARE(dropNotFullPower(a.dm, p), 1); });
        QCOMPARE(a.names(), (QStringList{"full", "above"})); // Qku_max equal to Qk survives
        QCOMPARE(steps, (QList<QPair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    }

    void valueFilters_data()
    {
        QTest::addColumn<bool>("daily");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("left");
        // Rows (Cosf_sr, Cosf_min, Cosf_max): a (0.89, 0.85, 0.93), b (0.9, 0.9, 0.9), c (0.95, 0.91, 0.99)
        QTest::newRow("daily < 0,9") << true << "<"
                                     << "0,9" << QStringList{"b", "c"};
        QTest::newRow("daily <= 0,9") << true << "<="
                                      << "0,9" << QStringList{"c"};
        QTest::newRow("daily = 0,9") << true << "="
                                     << "0,9" << QStringList{"a", "c"};
        QTest::newRow("daily > 0,9") << true << ">"
                                     << "0,9" << QStringList{"a", "b"};
        QTest::newRow("daily >= 0,9") << true << ">="
                                      << "0,9" << QStringList{"a"};
        QTest::newRow("period < 0,9") << false << "<"
                                      << "0,9" << QStringList{"b", "c"};
        QTest::newRow("period > 0,92") << false << ">"
                                       << "0,92" << QStringList{"b"};
        QTest::newRow("period = 0,99") << false << "="
                                       << "0,99" << QStringList{"a", "b"};
        QTest::newRow("period >= 1") << false << ">="
                                     << "1" << QStringList{"a", "b", "c"};
    }
    void valueFilters()
    {
        QFETCH(bool, daily);
        QFETCH(QString, op);
        QFETCH(QString, value);
        QFETCH(QStringList, left);
        Analysis a;
        a.row({{"TipKU", "a"}, {"Cosf_sr", 0.89}, {"Cosf_min", 0.85}, {"Cosf_max", 0.93}, {"Srok", 1}});
        a.row({{"TipKU", "b"}, {"Cosf_sr", 0.9}, {"Cosf_min", 0.9}, {"Cosf_max", 0.9}, {"Srok", 2}});
        a.row({{"TipKU", "c"}, {"Cosf_sr", 0.95}, {"Cosf_min", 0.91}, {"Cosf_max", 0.99}, {"Srok", 3}});
        const Comparison comparison = *comparisonByCaption(op);
        const int dropped =
            daily ? dropByDailyValue(a.dm, comparison, value) : dropByPeriodValue(a.dm, comparison, value);
        QCOMPARE(a.names(), left);
        QCOMPARE(dropped, 3 - left.size());
    }

    void valueFilterChecks_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << ""
                               << "Введите значение коэффициента мощности.";
        QTest::newRow("not a number") << "0,9x"
                                      << "\"0,9x\" - некорректное значение для коэффициента мощности.";
        QTest::newRow("zero") << "0"
                              << "Значение коэффициента мощности должно быть больше 0.";
        QTest::newRow("above 1") << "1,01"
                                 << "Значение коэффициента мощности должно быть меньше либо равно 1.";
        QTest::newRow("a point in the dialog") << "0.9"
                                               << "\"0.9\" - некорректное значение для коэффициента мощности.";
    }
    void valueFilterChecks()
    {
        QFETCH(QString, value);
        QFETCH(QString, message);
        Analysis a;
        a.row({{"TipKU", "a"}, {"Cosf_sr", 0.5}, {"Cosf_min", 0.5}, {"Cosf_max", 0.5}});
        for (bool daily : {true, false}) {
            try {
                daily ? dropByDailyValue(a.dm, Comparison::Less, value)
                      : dropByPeriodValue(a.dm, Comparison::Less, value);
                QFAIL("accepted");
            } catch (const InputError &e) {
                QCOMPARE(e.message(), message);
                QCOMPARE(e.field(), EditCosfField);
            }
        }
        QCOMPARE(a.table().recordCount(), 1);
    }

    // The rows in the order given (by payback), the dialog's mode and its values.
    void optimum_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("cosf"); // min, max, tr
        QTest::addColumn<Values>("rows");      // daily cos(f) in the table's order
        QTest::addColumn<int>("chosen");
        const QStringList d{"0,92", "0,95", "0,97"};
        QTest::newRow("mode 2 lowest not below") << 2 << d << Values{0.90, 0.97, 0.93, 0.95} << 2;
        QTest::newRow("mode 2 none meets it: last") << 2 << d << Values{0.90, 0.91} << 1;
        QTest::newRow("mode 1 highest not above") << 1 << d << Values{0.97, 0.93, 0.94} << 2;
        QTest::newRow("mode 1 none meets it: last") << 1 << d << Values{0.97, 0.98} << 1;
        QTest::newRow("mode 0 highest, first of equals") << 0 << d << Values{0.9, 0.99, 0.99} << 1;
        QTest::newRow("mode 3 nearest the middle")
            << 3 << QStringList{"0,9", "0,96", ""} << Values{0.99, 0.95, 0.925, 0.9} << 2;
        QTest::newRow("mode 4 nearest the required") << 4 << d << Values{0.9, 0.99, 0.96} << 2;
        QTest::newRow("mode 4 first of equals") << 4 << d << Values{0.9, 0.96, 0.96} << 1;
    }
    void optimum()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, cosf);
        QFETCH(Values, rows);
        QFETCH(int, chosen);
        Analysis a;
        QList<qint64> kods;
        for (int i = 0; i < rows.size(); ++i)
            kods << a.row({{"Cosf_sr", rows[i]}, {"Srok", i + 1}, {"Rejim", selectionModeCaption((mode + 1) % 5)}});
        a.table().first();
        SelectionInput in = defaults(mode);
        in.mode.cosfMin = cosf[0];
        in.mode.cosfMax = cosf[1];
        in.mode.cosfTr = cosf[2];
        QCOMPARE(gotoOptimum(a.dm, in.mode), std::optional<qint64>(kods[chosen]));
        QCOMPARE(a.table().currentKod(), kods[chosen]);
    }

    void optimumNeedsItsNumbers()
    {
        Analysis a;
        ModeInput mode;
        mode.mode = 4;
        QCOMPARE(gotoOptimum(a.dm, mode), std::nullopt); // nothing to choose from
        a.row({{"Cosf_sr", 0.9}});
        mode.cosfTr = "";
        mode.cosfMin = "x"; // not used by the mode
        try {
            gotoOptimum(a.dm, mode);
            QFAIL("accepted");
        } catch (const InputError &e) {
            QCOMPARE(e.message(), QStringLiteral("Введите значение коэффициента мощности."));
            QCOMPARE(e.field(), int(VariantParams::CosfTr));
        }
        mode.cosfTr = "1,5"; // a number: the optimum runs no further check
        QVERIFY(gotoOptimum(a.dm, mode));
    }

    void buttons_data()
    {
        QTest::addColumn<bool>("withRows");
        QTest::addColumn<QString>("kp");
        QTest::addColumn<QString>("cosf");
        QTest::addColumn<bool>("typeWithModules");
        QTest::addColumn<QList<bool>>("enabled"); // add, replace, delete, find in table, value filters, ОК
        QTest::newRow("empty table") << false << "0,12"
                                     << "0,9" << true << QList<bool>{true, false, false, false, false, true};
        QTest::newRow("rows") << true << "0,12"
                              << "0,9" << true << QList<bool>{true, true, true, true, true, true};
        QTest::newRow("no loss coefficient") << true << ""
                                             << "0,9" << true << QList<bool>{false, false, true, true, true, true};
        QTest::newRow("no filter value") << true << "0,12"
                                         << "" << true << QList<bool>{true, true, true, true, false, true};
        QTest::newRow("type without modules") << true << "0,12"
                                              << "0,9" << false << QList<bool>{false, false, true, true, true, false};
    }
    void buttons()
    {
        QFETCH(bool, withRows);
        QFETCH(QString, kp);
        QFETCH(QString, cosf);
        QFETCH(bool, typeWithModules);
        QFETCH(QList<bool>, enabled);
        Analysis a;
        if (withRows)
            a.row({{"TipKU", "a"}});
        if (!typeWithModules)
            appendRow(*a.dm.tblsKU1, {{"Name", "Пустая"}, {"Q", 1}, {"Pp", 0.005}, {"Unom", 400}});
        SelectionInput in = defaults(3);
        in.kp = kp;
        const AnalysisButtons b = analysisButtons(a.dm, in, cosf);
        QCOMPARE((QList<bool>{b.add, b.replace, b.remove, b.findInTable, b.valueFilters, b.ok}), enabled);
        QCOMPARE(b.addAll, b.add);
        QCOMPARE(b.optimum, withRows);
        in.mode.cosfMin.clear(); // an enabled mode field left empty
        QVERIFY(!analysisButtons(a.dm, in, cosf).add);
    }
};

QTEST_GUILESS_MAIN(TestAnalysisTable)
#include "test_analysis_table.moc"
