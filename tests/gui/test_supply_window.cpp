// The resonance check in the windows: the supply dialog's checks, the menu command, the check's
// columns at the end of the variant and analysis grids, and the catalogue's "p, %" column.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/compensation/ResonanceCommands.h"
#include "core/compensation/VariantCommands.h"
#include "core/data/ResonanceTables.h"
#include "gui/app/TMainForm.h"
#include "gui/compensation/TSelKU_Fm.h"
#include "gui/compensation/TsKUForm.h"
#include "gui/project/TSupplyForm.h"
#include "gui/widgets/CursorGrid.h"

#include <QAction>
#include <QBrush>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

QStringList titles(QAbstractItemModel *m)
{
    QStringList out;
    for (int c = 0; c < m->columnCount(); ++c)
        out << m->headerData(c, Qt::Horizontal).toString();
    return out;
}

int column(QAbstractItemModel *m, const QString &title) { return int(titles(m).indexOf(title)); }

} // namespace

class TestSupplyWindow : public QObject {
    Q_OBJECT
private slots:
    void dialogChecksInFieldOrder_data()
    {
        QTest::addColumn<QStringList>("texts"); // Str, Uk, Ssc_net, Harmonics
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty power") << QStringList{"", "6", "", "5, 7"} << "EditStr"
                                     << "Введите значение поля \"Номинальная мощность трансформатора Sт, кВА\".";
        QTest::newRow("uk 21") << QStringList{"1000", "21", "", "5, 7"} << "EditUk"
                               << "Значение поля \"Напряжение короткого замыкания трансформатора uк, %\" должно быть "
                                  "больше 0 и не больше 20.";
        QTest::newRow("network 0")
            << QStringList{"1000", "6", "0", "5"} << "EditSscNet"
            << "Значение поля \"Мощность короткого замыкания сети Sкз, МВА\" должно быть больше 0.";
        QTest::newRow("no harmonic") << QStringList{"1000", "6", "", ""} << "EditHarmonics"
                                     << "Введите хотя бы один порядок гармоники в поле \"Порядки гармоник нагрузки\".";
        QTest::newRow("valid") << QStringList{"1000", "6", "", "5, 7"} << ""
                               << "";
    }
    void dialogChecksInFieldOrder()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, focus);
        QFETCH(QString, message);
        MessageRecorder rec;
        TSupplyForm f;
        f.setInput({texts[0], texts[1], texts[2], texts[3]}, false);
        f.show();
        // Elsewhere first, so the focus shows which check ran.
        f.findChild<QPushButton *>("btnCancel")->setFocus();
        f.findChild<QPushButton *>("btnOK")->click();
        if (message.isEmpty()) {
            QVERIFY(rec.errors.isEmpty());
            QCOMPARE(f.result(), int(TSupplyForm::Set));
            return;
        }
        QCOMPARE(rec.errors, QStringList{message});
        QVERIFY(f.isVisible());
        QCOMPARE(f.focusWidget()->objectName(), focus);
    }

    void clearAsksFirst()
    {
        MessageRecorder rec;
        TSupplyForm f;
        f.setInput({"1000", "6", "", "5"}, true);
        f.show();
        rec.answers = {false};
        f.findChild<QPushButton *>("btnClear")->click();
        QVERIFY(f.isVisible());
        rec.answers = {true};
        f.findChild<QPushButton *>("btnClear")->click();
        QCOMPARE(f.result(), int(TSupplyForm::Clear));
        QCOMPARE(rec.questions.size(), 2);
        f.setInput({}, false);
        QVERIFY(!f.findChild<QPushButton *>("btnClear")->isEnabled());
    }

    void gridsShowTheCheck()
    {
        TestData td;
        MessageRecorder rec;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm);
        addCatalogueType(dm, "Фирма", "УКМ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
        VariantParams v;
        v.varNum = "1";
        addVariant(dm, v);
        TMainForm form(dm);
        QAction *supply = form.findChild<QAction *>("mnSupply");
        QVERIFY(supply);
        QCOMPARE(supply->text().remove(QLatin1Char('&')), QStringLiteral("Питание и гармоники..."));
        QVERIFY(form.findChild<QMenu *>("mnProject")->actions().contains(supply));
        QVERIFY(supply->isEnabled());

        auto *grid = form.findChild<CursorGrid *>("DBGrid2");
        QAbstractItemModel *m = grid->model();
        QCOMPARE(titles(m).mid(m->columnCount() - 5),
                 (QStringList{"hрез мин", "hрез макс", "Резонанс", "dU, %", "Ч опер., ч"}));
        const int risk = column(m, "Резонанс");
        QCOMPARE(m->index(0, risk).data().toString(), QString()); // not checked yet
        QCOMPARE(m->index(0, m->columnCount() - 1).data().toString(), QStringLiteral("0"));

        setSupply(dm, {"70", "4", "", "5, 7, 11, 13"});
        QCOMPARE(m->index(0, risk).data().toString(), QStringLiteral("5, 7"));
        QVERIFY(m->index(0, risk).data(Qt::BackgroundRole).value<QBrush>().color().red() == 255);
        QCOMPARE(m->index(0, column(m, "hрез мин")).data().toString(), QStringLiteral("5"));
        QCOMPARE(m->index(0, column(m, "hрез макс")).data().toString(), QStringLiteral("7,64"));
        QCOMPARE(m->index(0, column(m, "dU, %")).data().toString(), QStringLiteral("4"));
        // Another column keeps the grid's own colour.
        QVERIFY(m->index(0, column(m, "dU, %")).data(Qt::BackgroundRole) != m->index(0, risk).data(Qt::BackgroundRole));
        QVERIFY(!(m->flags(m->index(0, risk)) & Qt::ItemIsEditable));
    }

    void catalogueTypesDetuning()
    {
        TestData td;
        MessageRecorder rec;
        TDataModule1 &dm = *td.data;
        const qint64 type = addCatalogueType(dm, "Фирма", "УКМФ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
        TsKUForm form(dm);
        auto *grid = form.findChild<CursorGrid *>("DBGrid1");
        QAbstractItemModel *m = grid->model();
        const int p = column(m, "p, %");
        QVERIFY(p >= 0);
        const QModelIndex cell = m->index(grid->table()->recNo(), p);
        QVERIFY(m->flags(cell) & Qt::ItemIsEditable);
        QVERIFY(m->setData(cell, "14"));
        QCOMPARE(resonance_tables::detuning(*td.store, type), std::optional(14.0));
        QCOMPARE(cell.data().toString(), QStringLiteral("14"));
        // A refused value shows its message and keeps the stored one.
        m->setData(cell, "150");
        QCOMPARE(rec.errors, QStringList{"Значение поля \"p, %\" должно быть не меньше 0 и меньше 100."});
        QCOMPARE(resonance_tables::detuning(*td.store, type), std::optional(14.0));
        m->setData(cell, "");
        QCOMPARE(resonance_tables::detuning(*td.store, type), std::nullopt);
    }

    void analysisGridAndFilter()
    {
        TestData td;
        MessageRecorder rec;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm);
        TsKUForm catalogue(dm);
        TSelKU_Fm form(dm, &catalogue);
        auto *grid = form.findChild<CursorGrid *>("DBGridSel");
        QAbstractItemModel *m = grid->model();
        QCOMPARE(titles(m).mid(m->columnCount() - 5),
                 (QStringList{"hрез мин", "hрез макс", "Резонанс", "dU, %", "Ч опер., ч"}));
        QToolButton *filter = form.commandButton(TSelKU_Fm::cmdResonance);
        QCOMPARE(filter->objectName(), QStringLiteral("btnFiltResonance"));
        QCOMPARE(filter->toolTip(), QStringLiteral("Удалить установки с риском резонанса"));
    }
};

QTEST_MAIN(TestSupplyWindow)
#include "test_supply_window.moc"
