#include "core/calc/ModuleSwitching.h"
#include "core/calc/Numbers.h"

#include <QtTest>

using namespace korvan;

Q_DECLARE_METATYPE(korvan::ModuleGroup)

namespace {

// One power per module, as inserting them one at a time would list them.
QString text(const ModuleList &list)
{
    QStringList parts;
    for (const ModuleGroup &g : list.groups())
        for (int i = 0; i < g.count; ++i)
            parts << numberText(g.power);
    return parts.join(QLatin1Char(' '));
}

// "25x2 10x1": power and count of each pair, in list order.
QString text(const SwitchedList &list)
{
    QStringList parts;
    for (const SwitchedModules &s : list)
        parts << numberText(s.power) + QLatin1Char('x') + QString::number(s.count);
    return parts.join(QLatin1Char(' '));
}

// A cos(f) value of a mode from a data-table cell; an invalid QVariant is NULL.
std::optional<double> opt(const QVariant &x)
{
    return x.isValid() ? std::optional<double>(x.toDouble()) : std::nullopt;
}

// 2 x 25, 1 x 10, 2 x 5 kVAr.
const ModuleList exampleModules{25, 25, 10, 5, 5};

} // namespace

class TestModuleSwitching : public QObject {
    Q_OBJECT
private slots:
    void captions()
    {
        const QStringList expected{
            "полная компенсация",
            "cos(f) не более заданного значения",
            "cos(f) не менее заданного значения",
            "cos(f) в заданном диапазоне значений",
            "минимальное отклонение cos(f) от требуемого значения",
        };
        QCOMPARE(selectionModeCaptions(), expected);
        for (int mode = 0; mode < kSelectionModeCount; ++mode) {
            QCOMPARE(selectionModeCaption(mode), expected.at(mode));
            QCOMPARE(selectionModeNumber(expected.at(mode)), std::optional<int>(mode));
        }
        QCOMPARE(selectionModeCaption(5), QString());
        QCOMPARE(selectionModeCaption(-1), QString());
    }

    void unknownCaption_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::newRow("empty") << "";
        QTest::newRow("other case") << "Полная компенсация";
        QTest::newRow("trailing space") << "полная компенсация ";
    }
    void unknownCaption()
    {
        QFETCH(QString, caption);
        QVERIFY(!selectionModeNumber(caption));
    }

    void buildModuleList_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QList<ModuleGroup>>("groups");
        QTest::addColumn<QString>("list");
        QTest::newRow("example") << "" << QList<ModuleGroup>{{25, 2}, {10, 1}, {5, 2}} << "25 25 10 5 5";
        QTest::newRow("groups in any order") << "" << QList<ModuleGroup>{{5, 2}, {25, 2}, {10, 1}} << "25 25 10 5 5";
        QTest::newRow("counts below 1 add nothing") << "" << QList<ModuleGroup>{{10, 0}, {5, -1}} << "";
        QTest::newRow("no groups") << "" << QList<ModuleGroup>{} << "";
        // The list is not emptied first.
        QTest::newRow("adds to a list") << "20" << QList<ModuleGroup>{{25, 1}, {10, 1}, {20, 1}} << "25 20 20 10";
    }
    void buildModuleList()
    {
        QFETCH(QString, start);
        QFETCH(QList<ModuleGroup>, groups);
        ModuleList list;
        if (!start.isEmpty())
            list.push_back(start.toDouble());
        BuildModuleList({groups.begin(), groups.end()}, list);
        QTEST(text(list), "list");
    }

    // A group is a power and a count: ten million modules cost what the two that are switched
    // on do, and are never listed one by one.
    void countsCostNothing()
    {
        ModuleList list;
        BuildModuleList({{10, 1}, {2.5, 10000000}, {10, 2}}, list);
        QCOMPARE(list.size(), 10000003LL);
        QCOMPARE(list.groups().size(), size_t(2));
        SwitchedList switched;
        QCOMPARE(SelectFullCompensation(list, switched, 35), 35.0);
        QCOMPARE(text(switched), QStringLiteral("10x3 2,5x2"));
    }

    void addSwitchedModule()
    {
        SwitchedList list;
        for (double m : {10.0, 25.0, 10.0, 2.5, 10.0})
            AddSwitchedModule(list, m);
        QCOMPARE(text(list), QString("10x3 25x1 2,5x1"));
    }

    void allowedReactivePower_data()
    {
        QTest::addColumn<double>("cosf");
        QTest::addColumn<double>("Qc");
        QTest::newRow("0.95") << 0.95 << 32.87;
        QTest::newRow("0.92") << 0.92 << 42.6;
        QTest::newRow("0.98") << 0.98 << 20.31;
        QTest::newRow("0.97") << 0.97 << 25.06;
        QTest::newRow("1") << 1.0 << 0.0;
    }
    void allowedReactivePower()
    {
        QFETCH(double, cosf);
        QTEST(korvan::allowedReactivePower(100, cosf), "Qc");
    }

    void select_data()
    {
        QTest::addColumn<QList<double>>("modules");
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("P");
        QTest::addColumn<double>("Q");
        QTest::addColumn<QVariant>("cosMin");
        QTest::addColumn<QVariant>("cosMax");
        QTest::addColumn<QVariant>("cosTr");
        QTest::addColumn<double>("Qku");
        QTest::addColumn<QString>("switched");
        const QList<double> ex{25, 25, 10, 5, 5}; // exampleModules, one entry per module
        const QVariant none;

        QTest::newRow("example, full") << ex << 0 << 100.0 << 80.0 << none << none << none << 70.0 << "25x2 10x1 5x2";
        // L = 47.13: the second 25 would reach 50.
        QTest::newRow("example, not above 0.95")
            << ex << 1 << 100.0 << 80.0 << none << QVariant(0.95) << none << 45.0 << "25x1 10x1 5x2";
        // N = 37.40: the sum 50 is past it.
        QTest::newRow("example, not below 0.92")
            << ex << 2 << 100.0 << 80.0 << QVariant(0.92) << none << none << 50.0 << "25x2";
        QTest::newRow("example, range 0.92-0.98")
            << ex << 3 << 100.0 << 80.0 << QVariant(0.92) << QVariant(0.98) << none << 50.0 << "25x2";
        // T = 54.94: 10 would give 60, farther than 50; the second 5 60, farther than 55.
        QTest::newRow("example, nearest 0.97")
            << ex << 4 << 100.0 << 80.0 << none << none << QVariant(0.97) << 55.0 << "25x2 5x1";

        // N = 37.40, L = 47.13: the second 25 passes L, the second 5 comes after N is passed.
        QTest::newRow("range 0.92-0.95, both bounds act")
            << ex << 3 << 100.0 << 80.0 << QVariant(0.92) << QVariant(0.95) << none << 40.0 << "25x1 10x1 5x1";
        QTest::newRow("not above, L < 0") << ex << 1 << 100.0 << 20.0 << none << QVariant(0.95) << none << 0.0 << "";
        QTest::newRow("range, L < 0") << ex << 3 << 100.0 << 20.0 << QVariant(0.92) << QVariant(0.95) << none << 0.0
                                      << "";
        QTest::newRow("not below, N < 0") << ex << 2 << 100.0 << 30.0 << QVariant(0.92) << none << none << 0.0 << "";
        // Q = Qc(100, 0.92) = 42.6: N = 0, and the largest module within Q goes on.
        QTest::newRow("not below, N = 0")
            << QList<double>{50, 25, 10} << 2 << 100.0 << 42.6 << QVariant(0.92) << none << none << 25.0 << "25x1";
        // Qc(100, 0.8) = 75, N = 25: a sum equal to N lets one more module in.
        QTest::newRow("not below, sum reaches N")
            << QList<double>{25, 10, 5} << 2 << 100.0 << 100.0 << QVariant(0.8) << none << none << 35.0 << "25x1 10x1";
        // Not enough modules to reach N: all that fit go on and cos(f) stays below the minimum.
        QTest::newRow("not below, set too small")
            << QList<double>{10, 5} << 2 << 100.0 << 80.0 << QVariant(0.99) << none << none << 15.0 << "10x1 5x1";
        QTest::newRow("nearest, T < 0") << ex << 4 << 100.0 << 20.0 << none << none << QVariant(0.97) << 0.0 << "";
        // T = 5: the 10 would leave the distance at 5, so it stays off.
        QTest::newRow("nearest, same distance rejected")
            << QList<double>{10, 5} << 4 << 100.0 << 80.0 << none << none << QVariant(0.8) << 5.0 << "5x1";
        // P = 0 aims at T = Q = 12; the 13 would come closer but exceed Q.
        QTest::newRow("nearest, never above Q")
            << QList<double>{13, 10} << 4 << 0.0 << 12.0 << none << none << QVariant(0.97) << 10.0 << "10x1";

        // P = 0 makes every bound Q: modes 0 to 3 switch on what full compensation does.
        for (int mode = 0; mode < 4; ++mode)
            QTest::addRow("P = 0, mode %d", mode)
                << ex << mode << 0.0 << 47.0 << QVariant(0.92) << QVariant(0.95) << none << 45.0 << "25x1 10x1 5x2";
        QTest::newRow("cos(f) 1 bound is Q")
            << ex << 1 << 100.0 << 47.0 << none << QVariant(1.0) << none << 45.0 << "25x1 10x1 5x2";

        for (int mode = 0; mode < kSelectionModeCount; ++mode) {
            QTest::addRow("Q < 0, mode %d", mode)
                << ex << mode << 100.0 << -10.0 << QVariant(0.92) << QVariant(0.98) << QVariant(0.97) << 0.0 << "";
            QTest::addRow("Q = 0, mode %d", mode)
                << ex << mode << 100.0 << 0.0 << QVariant(0.92) << QVariant(0.98) << QVariant(0.97) << 0.0 << "";
            QTest::addRow("no modules, mode %d", mode) << QList<double>{} << mode << 100.0 << 80.0 << QVariant(0.92)
                                                       << QVariant(0.98) << QVariant(0.97) << 0.0 << "";
        }
        // The modes do not check their cos(f) values; one above 1 has no tangent and switches
        // nothing on rather than yielding NaN.
        QTest::newRow("cos(f) above 1, not below")
            << ex << 2 << 100.0 << 80.0 << QVariant(1.2) << none << none << 0.0 << "";
        QTest::newRow("cos(f) above 1, nearest")
            << ex << 4 << 100.0 << 80.0 << none << none << QVariant(1.2) << 0.0 << "";
    }
    void select()
    {
        QFETCH(QList<double>, modules);
        QFETCH(int, mode);
        QFETCH(double, P);
        QFETCH(double, Q);
        QFETCH(QVariant, cosMin);
        QFETCH(QVariant, cosMax);
        QFETCH(QVariant, cosTr);
        SwitchedList switched;
        const std::optional<double> Qku = SelectModules({mode, opt(cosMin), opt(cosMax), opt(cosTr)},
                                                        ModuleList(modules.begin(), modules.end()), switched, P, Q);
        QVERIFY(Qku);
        QTEST(*Qku, "Qku");
        QTEST(text(switched), "switched");
    }

    // Two groups of the same power act as one group of five.
    void equalPowerGroups()
    {
        ModuleList modules;
        BuildModuleList({{10, 2}, {3, 1}, {10, 3}}, modules);
        QCOMPARE(text(modules), QString("10 10 10 10 10 3"));
        SwitchedList switched;
        QCOMPARE(SelectFullCompensation(modules, switched, 45), 43.0);
        QCOMPARE(text(switched), QString("10x4 3x1"));
    }

    // A mode that cannot run gives no Qku at all (stored as NULL), not 0.
    void noSelection_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QVariant>("cosMin");
        QTest::addColumn<QVariant>("cosMax");
        QTest::addColumn<QVariant>("cosTr");
        const QVariant none;
        const QVariant a(0.92), b(0.98), c(0.97);
        QTest::newRow("mode 5") << 5 << a << b << c;
        QTest::newRow("mode -1") << -1 << a << b << c;
        QTest::newRow("mode 1 without Cosf_max") << 1 << a << none << c;
        QTest::newRow("mode 2 without Cosf_min") << 2 << none << b << c;
        QTest::newRow("mode 3 without Cosf_min") << 3 << none << b << c;
        QTest::newRow("mode 3 without Cosf_max") << 3 << a << none << c;
        QTest::newRow("mode 4 without Cosf_tr") << 4 << a << b << none;
    }
    void noSelection()
    {
        QFETCH(int, mode);
        QFETCH(QVariant, cosMin);
        QFETCH(QVariant, cosMax);
        QFETCH(QVariant, cosTr);
        SwitchedList switched;
        QVERIFY(!SelectModules({mode, opt(cosMin), opt(cosMax), opt(cosTr)}, exampleModules, switched, 100, 80));
        QVERIFY(switched.empty());
    }
};

QTEST_GUILESS_MAIN(TestModuleSwitching)
#include "test_module_switching.moc"
