// The analysis part of the installation selection dialog: which command buttons are enabled and
// when they are re-evaluated, one command of each kind through to the analysis table, the sort
// box, the value filter's check and the recommended range.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/compensation/AnalysisCommands.h"
#include "gui/compensation/ModePanel.h"
#include "gui/compensation/TSelKU_Fm.h"
#include "gui/compensation/TsKUForm.h"
#include "gui/widgets/CommandProgressBar.h"
#include "gui/widgets/NumericEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

using Cmd = TSelKU_Fm;

class TestSelectionAnalysis : public QObject {
    Q_OBJECT

    struct Dialog {
        TestData td;
        MessageRecorder rec;
        TsKUForm catalogue{*td.data};
        TSelKU_Fm form{*td.data, &catalogue};
        qint64 first = 0, second = 0;
        Dialog()
        {
            createExampleProject(dm());
            first = addCatalogueType(dm(), "Фирма", "УКМ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
            second = appendRow(*dm().tblsKU1,
                               {{"Name", "УКМ-40"}, {"Q", 40}, {"Pp", 0.005}, {"Unom", 400}, {"Cena", 20000}});
            appendRow(*dm().tblsKU2, {{"Qstup", 20}, {"Kol_vo", 2}});
            restrictAnalysisToProject(dm());
            form.setVariantFields("1", "0,12");
            form.show();
        }
        TDataModule1 &dm() { return *td.data; }
        QToolButton *cmd(int c) { return form.commandButton(TSelKU_Fm::Command(c)); }
        NumericEdit *edit(const char *name) { return form.findChild<NumericEdit *>(name); }
        int rows() { return dm().tblSel_KU->recordCount(); }
        QList<int> enabled()
        {
            QList<int> out;
            for (int c = 0; c < TSelKU_Fm::CommandCount; ++c)
                if (cmd(c)->isEnabled())
                    out << c;
            return out;
        }
    };

private slots:
    void buttonsOfAnEmptyTable()
    {
        Dialog d;
        QCOMPARE(d.enabled(), QList<int>({Cmd::cmdAdd, Cmd::cmdAddAll}));
        QVERIFY(d.form.okButton()->isEnabled());
        QCOMPARE(d.cmd(Cmd::cmdAdd)->toolTip(), "Добавить конденсаторную установку в таблицу анализа");
        QCOMPARE(d.cmd(Cmd::cmdOptimum)->toolTip(),
                 "Перейти в таблице анализа на конденсаторную установку с оптимальными параметрами");
        QCOMPARE(d.form.findChild<QComboBox *>("cmbSort")->currentText(), "по сроку окупаемости (Срок, лет)");
        QCOMPARE(d.form.findChild<QComboBox *>("cmbCompare")->currentText(), "<");
        QCOMPARE(d.edit("EditCosf")->text(), "0,9");

        // An empty loss coefficient or an empty enabled cos(f) field stops adding, not OK.
        d.edit("EditKp")->clear();
        QCOMPARE(d.enabled(), QList<int>{});
        QVERIFY(d.form.okButton()->isEnabled());
        d.edit("EditKp")->setText("0,1");
        QCOMPARE(d.enabled(), QList<int>({Cmd::cmdAdd, Cmd::cmdAddAll}));
        d.form.findChild<QRadioButton *>("rbRejim4")->click();
        d.edit("EditCosf_tr")->clear();
        QCOMPARE(d.enabled(), QList<int>{});
    }

    void typeWithoutModulesDisablesAddAndOk()
    {
        Dialog d;
        d.form.hide();
        appendRow(*d.dm().tblsKU1, {{"Name", "Пустая"}, {"Q", 10}, {"Pp", 0.005}, {"Unom", 400}});
        d.form.show();
        QCOMPARE(d.enabled(), QList<int>{});
        QVERIFY(!d.form.okButton()->isEnabled());
    }

    void addReplaceDeleteReachTheTable()
    {
        Dialog d;
        d.dm().tblsKU1->locate("Kod", d.first);
        d.cmd(Cmd::cmdAdd)->click();
        QVERIFY(d.rec.errors.isEmpty());
        QCOMPARE(d.rows(), 1);
        QCOMPARE(d.dm().tblSel_KU->asString("TipKU"), "УКМ-70");
        QCOMPARE(d.dm().tblSel_KU->asString("Company"), "Фирма");
        QCOMPARE(d.dm().tblSel_KU->asString("Qk"), "70");
        const QList<int> all = {Cmd::cmdAdd,           Cmd::cmdAddAll,          Cmd::cmdReplace,     Cmd::cmdDelete,
                                Cmd::cmdDeleteAll,     Cmd::cmdFindInCatalogue, Cmd::cmdFindInTable, Cmd::cmdOptimum,
                                Cmd::cmdDailyCriteria, Cmd::cmdPeriodCriteria,  Cmd::cmdInvalid,     Cmd::cmdNotFull,
                                Cmd::cmdDailyValue,    Cmd::cmdPeriodValue,     Cmd::cmdResonance};
        QCOMPARE(d.enabled(), all);
        // An empty value field stops only the two value filters.
        d.edit("EditCosf")->clear();
        QVERIFY(!d.cmd(Cmd::cmdDailyValue)->isEnabled());
        QVERIFY(!d.cmd(Cmd::cmdPeriodValue)->isEnabled());
        QVERIFY(d.cmd(Cmd::cmdDailyCriteria)->isEnabled());
        d.edit("EditCosf")->setText("0,9");

        d.dm().tblsKU1->locate("Kod", d.second);
        d.cmd(Cmd::cmdReplace)->click();
        QCOMPARE(d.rows(), 1);
        QCOMPARE(d.dm().tblSel_KU->asString("TipKU"), "УКМ-40");

        d.cmd(Cmd::cmdAddAll)->click();
        QCOMPARE(d.rows(), 3);
        QCOMPARE(d.dm().tblsKU1->currentKod(), d.second);
        QCOMPARE(d.form.progressBar()->value(), 0);

        d.cmd(Cmd::cmdDelete)->click();
        QCOMPARE(d.rows(), 2);
        QVERIFY(d.rec.questions.isEmpty());
        d.cmd(Cmd::cmdDeleteAll)->click();
        QCOMPARE(d.rows(), 0);
        QCOMPARE(d.enabled(), QList<int>({Cmd::cmdAdd, Cmd::cmdAddAll}));
    }

    void addRefusedByTheInputCheck()
    {
        Dialog d;
        d.form.findChild<QRadioButton *>("rbRejim3")->click();
        d.edit("EditCosf_min")->setText("0,95");
        d.edit("EditCosf_max")->setText("0,9");
        d.cmd(Cmd::cmdAdd)->click();
        QCOMPARE(d.rec.errors, QStringList{"Значение минимального значения коэффициента мощности должно быть меньше "
                                           "максимального значения коэффициента мощности."});
        QCOMPARE(d.form.focusWidget(), d.edit("EditCosf_min"));
        QCOMPARE(d.rows(), 0);
    }

    void valueFilterChecksItsValue_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("comparison");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("left");
        QTest::newRow("above 1") << "1,2"
                                 << ">"
                                 << "Значение коэффициента мощности должно быть меньше либо равно 1." << 2;
        QTest::newRow("not a number") << "0,9,1"
                                      << ">"
                                      << "" << 2;
        QTest::newRow("every row above 0,1") << "0,1"
                                             << ">"
                                             << "" << 0;
        QTest::newRow("no row below 0,1") << "0,1"
                                          << "<"
                                          << "" << 2;
    }
    void valueFilterChecksItsValue()
    {
        QFETCH(QString, value);
        QFETCH(QString, comparison);
        QFETCH(QString, message);
        QFETCH(int, left);
        Dialog d;
        d.cmd(Cmd::cmdAddAll)->click();
        QCOMPARE(d.rows(), 2);
        d.form.findChild<QComboBox *>("cmbCompare")->setCurrentText(comparison);
        d.edit("EditCosf")->setText(value);
        d.cmd(Cmd::cmdDailyValue)->click();
        QCOMPARE(d.rows(), left);
        if (QTest::currentDataTag() == QByteArray("not a number")) {
            QCOMPARE(d.rec.errors.size(), 1);
            QCOMPARE(d.form.focusWidget(), d.edit("EditCosf"));
        } else if (!message.isEmpty()) {
            QCOMPARE(d.rec.errors, QStringList{message});
            QCOMPARE(d.form.focusWidget(), d.edit("EditCosf"));
        } else {
            QVERIFY(d.rec.errors.isEmpty());
        }
        QCOMPARE(d.form.progressBar()->value(), 0);
    }

    void findAndSort()
    {
        Dialog d;
        d.dm().tblsKU1->locate("Kod", d.first);
        d.cmd(Cmd::cmdAdd)->click();
        d.dm().tblsKU1->locate("Kod", d.second);
        d.cmd(Cmd::cmdFindInTable)->click();
        QCOMPARE(d.rec.informations + d.rec.errors + d.rec.warnings,
                 QStringList{"Конденсаторная установка не найдена."});
        d.cmd(Cmd::cmdFindInCatalogue)->click();
        QCOMPARE(d.dm().tblsKU1->currentKod(), d.first);

        d.cmd(Cmd::cmdAddAll)->click();
        QCOMPARE(d.rows(), 3);
        auto *sort = d.form.findChild<QComboBox *>("cmbSort");
        sort->setCurrentIndex(sort->findText("по годовой экономии на оплате (d$Wskг, грн)"));
        emit sort->activated(sort->currentIndex());
        QCOMPARE(d.dm().tblSel_KU->indexName(), "siDSWskg");
        TTable &t = *d.dm().tblSel_KU;
        double previous = 1e300;
        for (t.first(); !t.eof(); t.next()) {
            QVERIFY(t.asFloat("DSWskg") <= previous);
            previous = t.asFloat("DSWskg");
        }
        // The optimum of full compensation is the highest daily cos(f).
        d.cmd(Cmd::cmdOptimum)->click();
        const double best = t.asFloat("Cosf_sr");
        const qint64 chosen = t.currentKod();
        for (t.first(); !t.eof(); t.next())
            QVERIFY(t.asFloat("Cosf_sr") <= best);
        QVERIFY(chosen != 0);
    }

    void minimumFieldChecksOnExit()
    {
        Dialog d;
        QApplication::setActiveWindow(&d.form);
        d.form.findChild<QRadioButton *>("rbRejim2")->click();
        NumericEdit *min = d.edit("EditCosf_min");
        min->setText("0,9,2");
        min->setFocus(Qt::OtherFocusReason);
        QVERIFY(min->hasFocus());
        d.edit("EditKp")->setFocus(Qt::TabFocusReason);
        QCOMPARE(d.rec.errors, QStringList{"Ошибочное значение для числового параметра."});
        QVERIFY(min->hasFocus());
        // The maximum field has no such check.
        d.form.findChild<QRadioButton *>("rbRejim3")->click();
        min->setText("0,9");
        NumericEdit *max = d.edit("EditCosf_max");
        max->setText("0,9,2");
        max->setFocus(Qt::OtherFocusReason);
        d.edit("EditKp")->setFocus(Qt::TabFocusReason);
        QCOMPARE(d.rec.errors.size(), 1);
    }

    void recommendedRange()
    {
        Dialog d;
        auto *range = d.form.findChild<QLineEdit *>("EditDiapQku");
        QCOMPARE(range->toolTip(), "Рекомендуемые ориентировочные пределы изменения мощности конденсаторной установки");
        const QString qmin = d.form.findChild<QLineEdit *>("EditQmin")->text();
        const QString qmax = d.form.findChild<QLineEdit *>("EditQmax")->text();
        QCOMPARE(qmin, d.dm().tblProj0->asString("Qmin"));
        QCOMPARE(qmax, d.dm().tblProj0->asString("Qmax"));
        QVERIFY(!qmin.isEmpty());
        QCOMPARE(range->text(), qmin + " - " + qmax);

        d.form.findChild<QRadioButton *>("rbRejim3")->click();
        d.edit("EditCosf_min")->setText("0,95");
        d.edit("EditCosf_max")->setText("0,9");
        QCOMPARE(range->text(), "");
        d.edit("EditCosf_max")->setText("0,98");
        QVERIFY(!range->text().isEmpty());
        d.form.findChild<QRadioButton *>("rbRejim0")->click();
        QCOMPARE(range->text(), qmin + " - " + qmax);
    }
};

QTEST_MAIN(TestSelectionAnalysis)
#include "test_selection_analysis.moc"
