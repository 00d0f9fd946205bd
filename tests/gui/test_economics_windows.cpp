// The economics in the windows: the parameters dialog, the lifecycle columns of the variant grid,
// the analysis table's sort, "Оптимум по ЧДД", the whole catalogue at once, and the report flag.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/calc/Numbers.h"
#include "core/compensation/AnalysisCommands.h"
#include "core/compensation/VariantCommands.h"
#include "core/project/EconomicsCommands.h"
#include "core/reports/EconomicsReport.h"
#include "gui/app/TMainForm.h"
#include "gui/compensation/TSelKU_Fm.h"
#include "gui/compensation/TsKUForm.h"
#include "gui/project/TEconomForm.h"
#include "gui/reports/TParRepFm.h"
#include "gui/widgets/CursorGrid.h"
#include "gui/widgets/NumericEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestEconomicsWindows : public QObject {
    Q_OBJECT

    static QString cell(CursorGrid *grid, int row, const QString &title)
    {
        CursorModel *m = grid->cursorModel();
        for (int c = 0; c < m->columnCount(); ++c)
            if (m->headerData(c, Qt::Horizontal).toString() == title)
                return m->data(m->index(row, c)).toString();
        return QStringLiteral("<нет столбца>");
    }

    // The example project with one variant of a type priced 35000; returns its yearly saving.
    static double projectWithVariant(TDataModule1 &dm)
    {
        createExampleProject(dm);
        addCatalogueType(dm, "Фирма", "УКМ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
        VariantParams v;
        v.varNum = "1";
        addVariant(dm, v);
        return dm.tblProj2->asFloat("D$Ws_g");
    }

private slots:
    void dialogChecksStoresAndTheGridFollows()
    {
        TestData td;
        MessageRecorder rec;
        TDataModule1 &dm = *td.data;
        const double saving = projectWithVariant(dm);
        TMainForm form(dm);
        auto *grid = form.findChild<CursorGrid *>("DBGrid2");
        QCOMPARE(cell(grid, 0, "ЧДД, грн"), numberText(*economicFigures(35000.0, saving, {}).NPV));

        form.findChild<QAction *>("mnEconom")->trigger();
        TEconomForm *dialog = form.economForm();
        QVERIFY(dialog->isVisible());
        auto *life = dialog->findChild<NumericEdit *>("EditLife");
        auto *rate = dialog->findChild<NumericEdit *>("EditRate");
        QCOMPARE(rate->text(), "10");
        QCOMPARE(life->text(), "15");
        life->setText("45");
        dialog->findChild<QPushButton *>("btnOK")->click();
        QCOMPARE(rec.errors,
                 QStringList{"Значение поля \"Срок службы установки, лет\" должно быть в пределах от 1 до 40."});
        QVERIFY(dialog->isVisible());
        QCOMPARE(currentEconomics(dm).Life, 15);

        // r = 0 over 10 years with no upkeep: NPV = 10 S - Cena, DPP = Cena / S.
        life->setText("10");
        rate->setText("0");
        dialog->findChild<NumericEdit *>("EditMaint")->setText("0");
        dialog->findChild<QPushButton *>("btnOK")->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(cell(grid, 0, "ЧДД, грн"), numberText(R(-35000 + 10 * saving, 2)));
        QCOMPARE(cell(grid, 0, "Срок диск., лет"), numberText(R(35000 / saving, 2)));
    }

    // A discounted payback beyond the life is shown in red.
    void paybackBeyondLifeIsRed()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        const double saving = projectWithVariant(dm);
        // Life just under the payback: N = floor(Cena / S) at r = 0.
        const int years = int(35000 / saving);
        QVERIFY(years >= 1 && years < 40);
        setProjectEconomics(dm, {"0", QString::number(years), "0", "0"});
        TMainForm form(dm);
        CursorModel *m = form.findChild<CursorGrid *>("DBGrid2")->cursorModel();
        int column = 0;
        while (column < m->columnCount() && m->headerData(column, Qt::Horizontal).toString() != "Срок диск., лет")
            ++column;
        const QModelIndex dpp = m->index(0, column);
        QCOMPARE(m->data(dpp, Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
        setProjectEconomics(dm, {"0", QString::number(years + 1), "0", "0"});
        QVERIFY(!m->data(dpp, Qt::ForegroundRole).isValid());
    }

    void analysisSortOptimumAndCatalogue()
    {
        TestData td;
        MessageRecorder rec;
        TDataModule1 &dm = *td.data;
        createExampleProject(dm);
        addCatalogueType(dm, "Фирма", "Дорогая", 70, 0.005, 90000, {{25, 2}, {10, 1}, {5, 2}});
        addCatalogueType(dm, "Другая", "Дешевая", 70, 0.005, 9000, {{25, 2}, {10, 1}, {5, 2}});
        restrictAnalysisToProject(dm);
        TsKUForm catalogue(dm);
        TSelKU_Fm form(dm, &catalogue);
        form.setVariantFields("1", "0,12");
        form.show();
        QVERIFY(!form.optimumNpvButton()->isEnabled());
        QVERIFY(form.addCatalogueButton()->isEnabled());

        // Every company of the catalogue (the delivered ones and the two above) in one go: a row
        // for each type, or its name in the one warning.
        form.addCatalogueButton()->click();
        const int types = td.store->scalar("SELECT count(*) FROM \"sKU1.DB\"").toInt();
        const int skipped = rec.warnings.isEmpty() ? 0 : int(rec.warnings.first().count('\n'));
        QCOMPARE(rec.warnings.size(), skipped == 0 ? 0 : 1);
        QCOMPARE(dm.tblSel_KU->recordCount() + skipped, types);
        QVERIFY(dm.tblSel_KU->locate("TipKU", "Дорогая"));
        QVERIFY(dm.tblSel_KU->locate("TipKU", "Дешевая"));
        QVERIFY(form.optimumNpvButton()->isEnabled());

        // Largest NPV first; the cheapest installation per kVAr leads by far.
        auto *sort = form.findChild<QComboBox *>("cmbSort");
        sort->setCurrentIndex(sort->findData(QString::fromLatin1(NpvSortIndex)));
        emit sort->activated(sort->currentIndex());
        auto *grid = form.findChild<CursorGrid *>("DBGridSel");
        QCOMPARE(cell(grid, 0, "Тип КУ"), "Дешевая");
        for (int row = 1; row < dm.tblSel_KU->recordCount(); ++row) {
            const QString above = cell(grid, row - 1, "ЧДД, грн"), here = cell(grid, row, "ЧДД, грн");
            QVERIFY2(here.isEmpty() || (!above.isEmpty() && parseNumber(above) >= parseNumber(here)),
                     qPrintable(above + " / " + here));
        }

        dm.tblSel_KU->last();
        form.optimumNpvButton()->click();
        QCOMPARE(dm.tblSel_KU->asString("TipKU"), "Дешевая");
        QCOMPARE(rec.informations, QStringList{});

        // A row that fails its own daily criteria never counts: with both failing, the message.
        for (dm.tblSel_KU->first(); !dm.tblSel_KU->eof(); dm.tblSel_KU->next()) {
            dm.tblSel_KU->edit();
            dm.tblSel_KU->setValue("Rejim", "cos(f) не менее заданного значения");
            dm.tblSel_KU->setValue("PCosf_min", 1.0);
            dm.tblSel_KU->setValue("Cosf_sr", 0.9);
            dm.tblSel_KU->post();
        }
        form.optimumNpvButton()->click();
        QCOMPARE(rec.informations, QStringList{noNpvOptimumMessage()});
    }

    void reportFlagBox()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        TParRepFm form(dm);
        form.show();
        dm.TableReport->first();
        QCheckBox *box = form.economicsBox();
        QVERIFY(box->isChecked()); // "Полный отчет"
        QVERIFY(box->isEnabled());
        box->click();
        QVERIFY(!economicsReportFlag(*td.store, dm.TableReport->currentKod()));
        // Without the yearly characteristics with compensation the block has nowhere to go.
        form.flagBox(ReportFlag::YearHarKomp)->click();
        QVERIFY(!box->isEnabled());
    }
};

QTEST_MAIN(TestEconomicsWindows)
#include "test_economics_windows.moc"
