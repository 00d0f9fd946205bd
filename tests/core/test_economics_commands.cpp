// The economic parameters of a project and the figures read from variants and analysis rows:
// defaults, checks, the copy and delete of a project, the older file format, the sort by NPV and
// the optimum by NPV.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/calc/Numbers.h"
#include "core/compensation/AnalysisCommands.h"
#include "core/compensation/VariantCommands.h"
#include "core/data/Statement.h"
#include "core/project/EconomicsCommands.h"
#include "core/project/ProjectCommands.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

EconomicInput input(const QString &rate, const QString &life, const QString &maint, const QString &mont)
{
    return {rate, life, maint, mont};
}

bool sameParams(const EconomicParams &a, const EconomicParams &b)
{
    return a.Rate == b.Rate && a.Life == b.Life && a.Maint == b.Maint && a.Mont == b.Mont;
}

int economicRows(Store &store) { return store.scalar(QStringLiteral("SELECT count(*) FROM \"econom.db\"")).toInt(); }

} // namespace

Q_DECLARE_METATYPE(EconomicInput)

class TestEconomicsCommands : public QObject {
    Q_OBJECT
private slots:
    void defaultsUntilSet()
    {
        TestData td;
        createExampleProject(*td.data);
        QVERIFY(sameParams(currentEconomics(*td.data), EconomicParams{10, 15, 1, 0}));
        setProjectEconomics(*td.data, input("12,5", "20", "2", "7,5"));
        td.reopen();
        td.data->tblProj0->first();
        QVERIFY(sameParams(currentEconomics(*td.data), EconomicParams{12.5, 20, 2, 7.5}));
        QCOMPARE(EconomicInput::of(currentEconomics(*td.data)).rate, QStringLiteral("12,5"));
    }

    void refusedInput_data()
    {
        QTest::addColumn<EconomicInput>("in");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("rate above 100")
            << input("100,5", "15", "1", "0") << int(EconomicInput::Rate)
            << "Значение поля \"Ставка дисконтирования, % в год\" должно быть в пределах от 0 до 100.";
        QTest::newRow("rate negative")
            << input("-1", "15", "1", "0") << int(EconomicInput::Rate)
            << "Значение поля \"Ставка дисконтирования, % в год\" должно быть в пределах от 0 до 100.";
        QTest::newRow("rate empty") << input("", "15", "1", "0") << int(EconomicInput::Rate)
                                    << "Введите значение поля \"Ставка дисконтирования, % в год\".";
        QTest::newRow("life 0") << input("10", "0", "1", "0") << int(EconomicInput::Life)
                                << "Значение поля \"Срок службы установки, лет\" должно быть в пределах от 1 до 40.";
        QTest::newRow("life 41") << input("10", "41", "1", "0") << int(EconomicInput::Life)
                                 << "Значение поля \"Срок службы установки, лет\" должно быть в пределах от 1 до 40.";
        QTest::newRow("life fraction")
            << input("10", "15,5", "1", "0") << int(EconomicInput::Life)
            << "Значение поля \"Срок службы установки, лет\" должно быть целым числом, а не \"15,5\".";
        QTest::newRow("upkeep above 20")
            << input("10", "15", "20,01", "0") << int(EconomicInput::Maint)
            << "Значение поля \"Ежегодное обслуживание, % от цены\" должно быть в пределах от 0 до 20.";
        QTest::newRow("installation text")
            << input("10", "15", "1", "abc") << int(EconomicInput::Mont)
            << "\"abc\" - некорректное значение для поля \"Монтаж и наладка, % от цены\".";
        QTest::newRow("installation above 100")
            << input("10", "15", "1", "101") << int(EconomicInput::Mont)
            << "Значение поля \"Монтаж и наладка, % от цены\" должно быть в пределах от 0 до 100.";
    }
    void refusedInput()
    {
        QFETCH(EconomicInput, in);
        QFETCH(int, field);
        QFETCH(QString, message);
        TestData td;
        createExampleProject(*td.data);
        try {
            setProjectEconomics(*td.data, in);
            QFAIL("accepted");
        } catch (const InputError &e) {
            QCOMPARE(e.field(), field);
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(economicRows(*td.store), 0);
    }

    void boundsAccepted()
    {
        TestData td;
        createExampleProject(*td.data);
        setProjectEconomics(*td.data, input("0", "1", "0", "0"));
        setProjectEconomics(*td.data, input("100", "40", "20", "100"));
        QVERIFY(sameParams(currentEconomics(*td.data), EconomicParams{100, 40, 20, 100}));
        QCOMPARE(economicRows(*td.store), 1);
    }

    void copyAndDeleteFollowTheProject()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm);
        const qint64 source = dm.tblProj0->currentKod();
        setProjectEconomics(dm, input("8", "10", "0,5", "3"));
        const qint64 copy = copyProject(dm, "Копия");
        QVERIFY(copy != source);
        QVERIFY(sameParams(projectEconomics(*td.store, copy), EconomicParams{8, 10, 0.5, 3}));
        QCOMPARE(economicRows(*td.store), 2);
        deleteProject(dm);
        QCOMPARE(economicRows(*td.store), 1);
        QVERIFY(sameParams(projectEconomics(*td.store, source), EconomicParams{8, 10, 0.5, 3}));
        QVERIFY(sameParams(projectEconomics(*td.store, copy), EconomicParams{}));
    }

    // A file written before the economics existed opens, gains the tables, and the full report
    // of the delivered settings prints the economic block.
    void olderFileMigrates()
    {
        TestData td;
        createExampleProject(*td.data);
        toFirstFormat(*td.store);
        td.reopen();
        QCOMPARE(td.store->scalar("PRAGMA user_version").toInt(), Store::SchemaVersion);
        td.data->tblProj0->first();
        setProjectEconomics(*td.data, input("5", "15", "1", "0"));
        QCOMPARE(currentEconomics(*td.data).Rate, 5.0);
        QCOMPARE(td.store
                     ->scalar("SELECT count(*) FROM \"econrep.db\" e JOIN \"report.DB\" r ON r.\"Kod\"=e.\"Kod\" "
                              "WHERE r.\"Name\"='Полный отчет' AND e.\"Econ\"=1")
                     .toInt(),
                 1);
    }

    // Changing the parameters changes what the variant shows, with nothing else recalculated.
    void variantFollowsParameters()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm);
        addCatalogueType(dm, "Фирма", "УКМ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
        VariantParams p;
        p.varNum = "1";
        addVariant(dm, p);
        const double saving = dm.tblProj2->asFloat("D$Ws_g");
        QVERIFY(saving > 0);
        const EconomicFigures before = currentVariantEconomics(dm);
        QCOMPARE(*before.NPV, economicFigures(35000.0, saving, {}).NPV.value());
        setProjectEconomics(dm, input("0", "10", "0", "0"));
        const EconomicFigures after = currentVariantEconomics(dm);
        QCOMPARE(*after.NPV, R(-35000 + saving * 10, 2));
        QCOMPARE(*after.DPP, R(35000 / saving, 2));
    }

    // Rows: a (price 1000, saving 300), b (no price), c (price 1000, saving 900), d (price 1000,
    // saving 900, failing its daily criteria), e (price 1000, saving 900, a tie with c).
    void npvSortAndOptimum()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm);
        const qint64 priced = addCatalogueType(dm, "Фирма", "П", 70, 0.005, 1000, {{10, 1}});
        const qint64 unpriced = appendRow(*dm.tblsKU1, {{"Name", "Б"}, {"Q", 10}, {"Pp", 0.005}, {"Unom", 400}});
        restrictAnalysisToProject(dm);
        const auto row = [&](const QString &name, qint64 type, double saving, double cosf, const QString &rejim) {
            return appendRow(*dm.tblSel_KU, {{"Kod0", dm.tblProj0->currentKod()},
                                             {"KodKU1", type},
                                             {"TipKU", name},
                                             {"DSWskg", saving},
                                             {"Cosf_sr", cosf},
                                             {"Rejim", rejim},
                                             {"PCosf_min", 0.9}});
        };
        const QString notBelow = QStringLiteral("cos(f) не менее заданного значения");
        row("a", priced, 300, 0.95, notBelow);
        row("b", unpriced, 5000, 0.95, notBelow);
        const qint64 c = row("c", priced, 900, 0.95, notBelow);
        row("d", priced, 2000, 0.85, notBelow);
        row("e", priced, 900, 0.95, notBelow);

        sortAnalysis(dm, NpvSortIndex);
        QStringList names;
        for (const TTable::Row &r : dm.tblSel_KU->rows())
            names << r[dm.tblSel_KU->fieldIndex("TipKU")].toString();
        QCOMPARE(names, (QStringList{"d", "c", "e", "a", "b"}));

        QCOMPARE(gotoNpvOptimum(dm), std::optional<qint64>(c));
        QCOMPARE(dm.tblSel_KU->currentKod(), c);

        // A discount rate that makes every row lose keeps them in the sort and the choice.
        setProjectEconomics(dm, input("10", "1", "0", "0"));
        QCOMPARE(gotoNpvOptimum(dm), std::optional<qint64>(c));
    }

    void noOptimumWithoutPrices()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm);
        const qint64 unpriced = addCatalogueType(dm, "Фирма", "Б", 10, 0.005, QVariant(), {{10, 1}});
        restrictAnalysisToProject(dm);
        QCOMPARE(gotoNpvOptimum(dm), std::nullopt);
        appendRow(*dm.tblSel_KU, {{"Kod0", dm.tblProj0->currentKod()}, {"KodKU1", unpriced}, {"DSWskg", 100}});
        QCOMPARE(gotoNpvOptimum(dm), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestEconomicsCommands)
#include "test_economics_commands.moc"
