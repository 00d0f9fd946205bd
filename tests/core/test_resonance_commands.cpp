// The resonance check through the data: the supply of a project, the detuning of a type, the
// values kept for variants and analysis rows as the data changes, copy, delete and migration.
#include "NullableCompare.h"
#include "ProjectFixture.h"

#include "core/calc/Numbers.h"
#include "core/compensation/AnalysisCommands.h"
#include "core/compensation/ResonanceCommands.h"
#include "core/compensation/VariantCommands.h"
#include "core/data/ResonanceTables.h"
#include "core/InputProblem.h"
#include "core/project/ProjectCommands.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

int count(Store &store, const QString &table, const QString &where = QStringLiteral("1"))
{
    return store.scalar(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE %2").arg(table, where)).toInt();
}

// The example project (0–8 h: 100 kW, 80 kVAr; 8–24 h: 50 kW, 30 kVAr) with one variant of a
// 2×25 + 10 + 2×5 kVAr type at full compensation: 70 kVAr by night, 30 kVAr by day.
qint64 prepare(TDataModule1 &dm)
{
    createExampleProject(dm);
    const qint64 type = addCatalogueType(dm, "Фирма", "УКМ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
    VariantParams v;
    v.varNum = "1";
    addVariant(dm, v);
    return type;
}

// 70 kVA at 4 %: Ssc = 1750 kVA; h(70) = 5 (the 5th), h(30) = 7,64 (the 7th within 0,7).
SupplyInput smallTransformer() { return {"70", "4", "", "5, 7, 11, 13"}; }

} // namespace

class TestResonanceCommands : public QObject {
    Q_OBJECT
private slots:
    void variantFollowsSupplyAndDetuning()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        Store &store = *td.store;
        const qint64 type = prepare(dm);
        const qint64 variant = dm.tblProj2->currentKod();
        QCOMPARE(dm.tblProj3->recordCount(), 2);

        ResonanceValues v = resonance_tables::variantValues(store, variant);
        QVERIFY(!v.Resonance); // no supply: not checked
        QVERIFY(!v.Hr_min);
        QCOMPARE(v.Hours_lead, 0.0);

        setSupply(dm, smallTransformer());
        v = resonance_tables::variantValues(store, variant);
        QCOMPARE(v.Resonance, std::optional(std::vector<int>{5, 7}));
        KORVAN_COMPARE_NULLABLE(v.Hr_min, QVariant(5.0));
        KORVAN_COMPARE_NULLABLE(v.Hr_max, QVariant(7.64));
        KORVAN_COMPARE_NULLABLE(v.dU_max, QVariant(4.0));

        // The type gets 7 % reactors: tuned at 3,78, below 0,9 · 5.
        dm.tblsKU1->locate("Kod", type);
        setCurrentTypeDetuning(dm, "7");
        QCOMPARE(currentTypeDetuningText(dm), QStringLiteral("7"));
        QCOMPARE(resonance_tables::variantValues(store, variant).Resonance, std::optional(std::vector<int>{}));
        setCurrentTypeDetuning(dm, "");
        QCOMPARE(resonance_tables::variantValues(store, variant).Resonance, std::optional(std::vector<int>{5, 7}));

        // Modes change the switched powers: cos(f) not below 0,92 switches 50 and 25 kVAr.
        ModeInput mode;
        mode.mode = CosNotBelow;
        reselectModules(dm, mode, false);
        v = resonance_tables::variantValues(store, variant);
        const double ssc = 1750;
        dm.tblProj3->first();
        const double qNight = dm.tblProj3->asFloat("Qku");
        KORVAN_COMPARE_NULLABLE(v.Hr_min, QVariant(R(std::sqrt(ssc / qNight), 2)));
        QVERIFY(qNight < 70);

        clearSupply(dm);
        QVERIFY(!resonance_tables::variantValues(store, variant).Resonance);
        QCOMPARE(count(store, "supply.db"), 0);
    }

    void refusedSupplyWritesNothing()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        prepare(dm);
        setSupply(dm, smallTransformer());
        SupplyInput bad = smallTransformer();
        bad.uk = "25";
        QVERIFY_THROWS_EXCEPTION(InputError, setSupply(dm, bad));
        QCOMPARE(currentSupplyInput(dm).uk, QStringLiteral("4"));
        QVERIFY_THROWS_EXCEPTION(InputError, setCurrentTypeDetuning(dm, "-1"));
        QVERIFY_THROWS_EXCEPTION(InputError, setCurrentTypeDetuning(dm, "абв"));
        QCOMPARE(currentTypeDetuningText(dm), QString());
    }

    void copyAndDeleteCarryTheSupply()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        Store &store = *td.store;
        prepare(dm);
        setSupply(dm, {"630", "5,5", "250", "5, 7"});
        const qint64 source = dm.tblProj0->currentKod();
        const qint64 copy = copyProject(dm, "Копия");
        QVERIFY(copy != source);
        const auto copied = resonance_tables::supply(store, copy);
        QVERIFY(copied);
        QCOMPARE(copied->Str, 630.0);
        QCOMPARE(copied->Uk, 5.5);
        QCOMPARE(copied->Ssc_net, std::optional(250.0));
        QCOMPARE(copied->Harmonics, (std::vector<int>{5, 7}));
        // The copy's variant is checked too.
        QVERIFY(resonance_tables::variantValues(store, dm.tblProj2->currentKod()).Resonance);
        QCOMPARE(count(store, "project2_harmonics.db"), 2);

        deleteProject(dm);
        QCOMPARE(count(store, "supply.db"), 1);
        QCOMPARE(count(store, "supply.db", QString("Kod0 = %1").arg(source)), 1);
        QCOMPARE(count(store, "project2_harmonics.db"), 1);
    }

    void analysisRowsCarryTheCheck()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        Store &store = *td.store;
        prepare(dm);
        setSupply(dm, smallTransformer());
        restrictAnalysisToProject(dm);
        const qint64 safe = addCatalogueType(dm, "Фирма Ф", "УКМФ-70-7%", 70, 0.006, 50000, {{25, 2}, {10, 1}, {5, 2}});
        setCurrentTypeDetuning(dm, "7");
        addCandidate(dm, {});
        const qint64 safeRow = dm.tblSel_KU->currentKod();
        dm.tblsKU0->locate("Company", "Фирма");
        addCandidate(dm, {});
        const qint64 riskyRow = dm.tblSel_KU->currentKod();
        QCOMPARE(resonance_tables::candidateValues(store, riskyRow).Resonance, std::optional(std::vector<int>{5, 7}));
        QCOMPARE(resonance_tables::candidateValues(store, safeRow).Resonance, std::optional(std::vector<int>{}));
        KORVAN_COMPARE_NULLABLE(resonance_tables::candidateValues(store, safeRow).dU_max, QVariant(4.0));
        QVERIFY(safe > 0);

        QCOMPARE(dropResonanceRisk(dm), 1);
        QCOMPARE(dm.tblSel_KU->recordCount(), 1);
        QCOMPARE(dm.tblSel_KU->currentKod(), safeRow);
        QCOMPARE(count(store, "sel_ku_harmonics.db"), 1);
    }

    void olderStoreMigrates()
    {
        TestData td;
        prepare(*td.data);
        toFirstFormat(*td.store);
        td.reopen();
        Store &store = *td.store;
        QCOMPARE(store.scalar("PRAGMA user_version").toInt(), int(Store::SchemaVersion));
        QCOMPARE(count(store, "supply.db"), 0);
        // The full report includes the block; the others leave it out.
        const qint64 full = store.scalar("SELECT Kod FROM \"report.DB\" WHERE Name = 'Полный отчет'").toLongLong();
        const qint64 brief = store.scalar("SELECT Kod FROM \"report.DB\" WHERE Name = 'Краткий отчет'").toLongLong();
        QVERIFY(resonance_tables::reportFlag(store, full));
        QVERIFY(!resonance_tables::reportFlag(store, brief));
        // The variant is checked at its next change; the triggers work in the migrated file.
        setSupply(*td.data, smallTransformer());
        QCOMPARE(count(store, "project2_harmonics.db"), 1);
        deleteProject(*td.data);
        QCOMPARE(count(store, "project2_harmonics.db"), 0);
        QCOMPARE(count(store, "supply.db"), 0);
    }

    void deliveredCatalogueHasDetunedTypes()
    {
        TestData td;
        Store &store = *td.store;
        QVERIFY(count(store, "sKU1_detuning.db", "Detuning = 7") >= 3);
        QVERIFY(count(store, "sKU1_detuning.db", "Detuning = 14") >= 2);
        // Each belongs to a type whose name says so.
        QCOMPARE(store
                     .scalar("SELECT count(*) FROM \"sKU1_detuning.db\" d JOIN \"sKU1.DB\" t ON t.Kod = d.Kod0 "
                             "WHERE t.Name NOT LIKE '%' || CAST(d.Detuning AS INTEGER) || '\\%%' ESCAPE '\\'")
                     .toInt(),
                 0);
    }
};

QTEST_GUILESS_MAIN(TestResonanceCommands)
#include "test_resonance_commands.moc"
