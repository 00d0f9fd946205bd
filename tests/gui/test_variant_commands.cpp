// The commands of the menu "КУ" through the main window and its two dialogs: the priming of the
// selection dialog, its closing checks in order with their messages and focus, the mode fields
// and their step buttons, and what add, edit, delete and module selection leave in the tables.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/calc/ModuleSwitching.h"
#include "core/compensation/VariantCommands.h"
#include "core/project/ProjectCommands.h"
#include "gui/app/TMainForm.h"
#include "gui/compensation/ModePanel.h"
#include "gui/compensation/TSelKompF.h"
#include "gui/compensation/TSelKU_Fm.h"
#include "gui/compensation/TsKUForm.h"
#include "gui/widgets/NumericEdit.h"
#include "gui/widgets/StepButton.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

const QString MinMaxMessage = QStringLiteral("Значение минимального значения коэффициента мощности должно быть меньше "
                                             "максимального значения коэффициента мощности.");
const QString AboveOneMessage = QStringLiteral("Значение коэффициента мощности должно быть меньше либо равно 1.");

QString duplicateMessage(const QString &number)
{
    return QStringLiteral("Таблица конденсаторных установок уже содержит вариант компенсации с наименованием \"") +
           number + QStringLiteral("\". Введите другое наименование варианта компенсации.");
}

void addVariants(TDataModule1 &dm, int count)
{
    for (int i = 1; i <= count; ++i) {
        VariantParams v;
        v.varNum = QString::number(i);
        addVariant(dm, v);
    }
}

} // namespace

class TestVariantCommands : public QObject {
    Q_OBJECT

    struct Main {
        TestData td;
        MessageRecorder rec;
        std::unique_ptr<TMainForm> form;
        qint64 type = 0;
        Main()
        {
            createExampleProject(dm(), "Цех 1");
            type = addCatalogueType(dm(), "Фирма", "УКМ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
        }
        TDataModule1 &dm() { return *td.data; }
        void build() { form = std::make_unique<TMainForm>(*td.data); }
        void click(const char *toolButton) { form->findChild<QToolButton *>(toolButton)->click(); }
        TSelKU_Fm *sel() { return form->selKUForm(); }
        TSelKompF *komp() { return form->selKompForm(); }
        NumericEdit *edit(QWidget *dialog, const char *name) { return dialog->findChild<NumericEdit *>(name); }
        void ok(QWidget *dialog) { dialog->findChild<QPushButton *>("btnOK")->click(); }
        void chooseMode(QWidget *dialog, int mode)
        {
            dialog->findChild<QRadioButton *>(QStringLiteral("rbRejim%1").arg(mode))->click();
        }
    };

private slots:
    void addProposesTheNextNumber()
    {
        Main m;
        addVariants(m.dm(), 3);
        m.build();
        m.click("btnKUAdd");
        QVERIFY(m.sel()->isVisible());
        QCOMPARE(m.sel()->windowTitle(), "Выбор конденсаторной установки.");
        QCOMPARE(m.edit(m.sel(), "EditVar")->text(), "4");
        QCOMPARE(m.edit(m.sel(), "EditKp")->text(), "0,12");
        QVERIFY(m.sel()->okButton()->isEnabled());
        m.ok(m.sel());
        QVERIFY(!m.sel()->isVisible());
        QVERIFY(m.rec.errors.isEmpty());
        QCOMPARE(m.dm().tblProj2->recordCount(), 4);
        QCOMPARE(m.dm().tblProj2->asString("VarNum"), "4");
        QCOMPARE(m.dm().tblProj2->asString("TipKU"), "УКМ-70");
        QCOMPARE(m.dm().tblProj3->recordCount(), 2);
        QCOMPARE(m.dm().tblProj5->recordCount(), 3);
        QVERIFY(m.form->findChild<QAction *>("mnKUPodbor")->isEnabled());
    }

    void cancelAddsNothing()
    {
        Main m;
        m.build();
        m.click("btnKUAdd");
        m.sel()->findChild<QPushButton *>("btnCancel")->click();
        QVERIFY(!m.sel()->isVisible());
        QCOMPARE(m.dm().tblProj2->recordCount(), 0);
    }

    void duplicateNumberOnlyWithinTheProject()
    {
        Main m;
        addVariants(m.dm(), 1);
        m.build();
        m.click("btnKUAdd");
        m.edit(m.sel(), "EditVar")->setText("1");
        m.ok(m.sel());
        QVERIFY(m.sel()->isVisible());
        QCOMPARE(m.rec.errors, QStringList{duplicateMessage("1")});
        QCOMPARE(m.sel()->focusWidget(), m.edit(m.sel(), "EditVar"));
        QCOMPARE(m.dm().tblProj2->recordCount(), 1);
        m.sel()->reject();

        // Another project may use the same number.
        createExampleProject(m.dm(), "Цех 2");
        m.rec.clear();
        m.click("btnKUAdd");
        QCOMPARE(m.edit(m.sel(), "EditVar")->text(), "1");
        m.ok(m.sel());
        QVERIFY(m.rec.errors.isEmpty());
        QVERIFY(!m.sel()->isVisible());
        QCOMPARE(m.dm().tblProj0->asString("Name"), "Цех 2");
        QCOMPARE(m.dm().tblProj2->recordCount(), 1);
    }

    void emptyNumberComesFirst()
    {
        Main m;
        m.build();
        m.click("btnKUAdd");
        m.edit(m.sel(), "EditVar")->clear();
        m.edit(m.sel(), "EditKp")->clear();
        m.ok(m.sel());
        QCOMPARE(m.rec.errors, QStringList{"Заполнение поля \"Вариант компенсации\" обязательно."});
        QCOMPARE(m.sel()->focusWidget(), m.edit(m.sel(), "EditVar"));
        QVERIFY(m.sel()->isVisible());
    }

    void editKeepsItsOwnNumber()
    {
        Main m;
        addVariants(m.dm(), 2);
        m.build();
        QCOMPARE(m.dm().tblProj2->asString("VarNum"), "2");
        m.click("btnKUEdit");
        QCOMPARE(m.edit(m.sel(), "EditVar")->text(), "2");
        QVERIFY(!m.sel()->adding());
        m.ok(m.sel());
        QVERIFY(m.rec.errors.isEmpty());
        QVERIFY(!m.sel()->isVisible());
        QCOMPARE(m.dm().tblProj2->recordCount(), 2);
        QCOMPARE(m.dm().tblProj2->asString("VarNum"), "2");

        m.click("btnKUEdit");
        m.edit(m.sel(), "EditVar")->setText("1");
        m.ok(m.sel());
        QCOMPARE(m.rec.errors, QStringList{duplicateMessage("1")});
        QVERIFY(m.sel()->isVisible());
        QCOMPARE(m.dm().tblProj2->asString("VarNum"), "2");
    }

    void editMovesTheCatalogueToTheVariantsType()
    {
        Main m;
        addVariants(m.dm(), 1);
        const qint64 other = addCatalogueType(m.dm(), "Другая", "КРМ-100", 100, 0.004, 50000, {{50, 2}});
        QCOMPARE(m.dm().tblsKU1->currentKod(), other);
        m.build();
        m.click("btnKUEdit");
        QCOMPARE(m.dm().tblsKU1->currentKod(), m.type);
        QCOMPARE(m.dm().tblsKU0->asString("Company"), "Фирма");
        m.sel()->reject();
    }

    void modeChecks_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        QTest::addColumn<QString>("tr");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("minimum above maximum") << 3 << "0,95"
                                               << "0,9"
                                               << "0,97" << MinMaxMessage << "EditCosf_min";
        QTest::newRow("equal limits pass") << 3 << "0,95"
                                           << "0,95"
                                           << "0,97"
                                           << ""
                                           << "";
        QTest::newRow("required above 1") << 4 << "0,92"
                                          << "0,98"
                                          << "1,2" << AboveOneMessage << "EditCosf_tr";
        QTest::newRow("maximum above 1") << 1 << "0,92"
                                         << "1,2"
                                         << "0,97" << AboveOneMessage << "EditCosf_max";
        // A disabled field is not checked.
        QTest::newRow("disabled field ignored") << 2 << "0,92"
                                                << "1,2"
                                                << "abc"
                                                << ""
                                                << "";
    }
    void modeChecks()
    {
        QFETCH(int, mode);
        QFETCH(QString, min);
        QFETCH(QString, max);
        QFETCH(QString, tr);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        for (bool selection : {true, false}) {
            Main m;
            addVariants(m.dm(), 1);
            m.build();
            m.click(selection ? "btnKUAdd" : "btnKUPodbor");
            QDialog *dialog = selection ? static_cast<QDialog *>(m.sel()) : m.komp();
            QVERIFY(dialog->isVisible());
            m.chooseMode(dialog, mode);
            m.edit(dialog, "EditCosf_min")->setText(min);
            m.edit(dialog, "EditCosf_max")->setText(max);
            m.edit(dialog, "EditCosf_tr")->setText(tr);
            m.ok(dialog);
            if (message.isEmpty()) {
                QVERIFY2(m.rec.errors.isEmpty(), qPrintable(m.rec.errors.join('|')));
                QVERIFY(!dialog->isVisible());
                QCOMPARE(m.dm().tblProj2->asString("Rejim"), selectionModeCaptions()[mode]);
            } else {
                QCOMPARE(m.rec.errors, QStringList{message});
                QVERIFY(dialog->isVisible());
                QCOMPARE(dialog->focusWidget(), m.edit(dialog, qPrintable(focus)));
                QCOMPARE(m.dm().tblProj2->asString("Rejim"), selectionModeCaptions()[0]);
                QCOMPARE(m.dm().tblProj2->recordCount(), 1);
            }
        }
    }

    void modeFieldsFollowTheMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("full") << 0 << "";
        QTest::newRow("not above") << 1 << "max";
        QTest::newRow("not below") << 2 << "min";
        QTest::newRow("range") << 3 << "min max";
        QTest::newRow("nearest") << 4 << "tr";
    }
    void modeFieldsFollowTheMode()
    {
        QFETCH(int, mode);
        QFETCH(QString, enabled);
        ModePanel panel;
        panel.setMode(mode);
        const QStringList on = enabled.split(' ', Qt::SkipEmptyParts);
        for (auto [name, field] : {std::pair{"min", VariantParams::CosfMin}, std::pair{"max", VariantParams::CosfMax},
                                   std::pair{"tr", VariantParams::CosfTr}}) {
            QCOMPARE(panel.field(field)->isEnabled(), on.contains(name));
            QLabel *label = nullptr;
            for (QLabel *l : panel.findChildren<QLabel *>())
                if (l->buddy() == panel.field(field))
                    label = l;
            QVERIFY(label);
            QCOMPARE(label->isEnabled(), on.contains(name));
        }
        QCOMPARE(panel.input().mode, mode);
    }

    void stepButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("0,95 up by 0,01") << "SpinButtonTr001" << true << "0,95"
                                         << "0,96";
        QTest::newRow("0,95 up by 0,1 stays") << "SpinButtonTr01" << true << "0,95"
                                              << "0,95";
        QTest::newRow("0,99 up by 0,01 to 1") << "SpinButtonTr001" << true << "0,99"
                                              << "1";
        QTest::newRow("0,95 down by 0,1") << "SpinButtonTr01" << false << "0,95"
                                          << "0,85";
        QTest::newRow("disabled field does not step") << "SpinButtonMin001" << true << "0,92"
                                                      << "0,92";
    }
    void stepButtons()
    {
        QFETCH(QString, button);
        QFETCH(bool, up);
        QFETCH(QString, before);
        QFETCH(QString, after);
        MessageRecorder rec;
        ModePanel panel;
        panel.setMode(CosNearest);
        auto *b = panel.findChild<StepButton *>(button);
        QVERIFY(b);
        auto *target = qobject_cast<NumericEdit *>(b->target());
        target->setText(before);
        (up ? b->upButton() : b->downButton())->click();
        QCOMPARE(target->text(), after);
        QVERIFY(rec.errors.isEmpty());
        QCOMPARE(b->toolTip(),
                 b->step() == 0.1 ? "Изменение значения параметра на 0,1" : "Изменение значения параметра на 0,01");
    }

    void fullCompensationShowsTheDefaults()
    {
        Main m;
        VariantParams v;
        v.varNum = "1";
        v.mode.mode = FullCompensation;
        v.mode.cosfMin = "0,8";
        v.mode.cosfMax = "0,85";
        v.mode.cosfTr = "0,9";
        addVariant(m.dm(), v);
        QVERIFY(m.dm().tblProj2->isNull("Cosf_min"));
        m.build();
        // Whatever the dialogs held before, they show the defaults for this variant.
        for (const char *command : {"btnKUEdit", "btnKUPodbor", "btnKUAdd"}) {
            m.click(command);
            QDialog *dialog = QByteArray(command) == "btnKUPodbor" ? static_cast<QDialog *>(m.komp()) : m.sel();
            QVERIFY2(dialog->isVisible(), command);
            QVERIFY(dialog->findChild<QRadioButton *>("rbRejim0")->isChecked());
            for (auto [name, text] : {std::pair{"EditCosf_min", "0,92"}, std::pair{"EditCosf_max", "0,98"},
                                      std::pair{"EditCosf_tr", "0,97"}}) {
                QCOMPARE(m.edit(dialog, name)->text(), text);
                QVERIFY(!m.edit(dialog, name)->isEnabled());
            }
            m.chooseMode(dialog, CosInRange);
            m.edit(dialog, "EditCosf_min")->setText("0,5");
            dialog->reject();
        }
    }

    void activationTakesTheVariantsMode()
    {
        Main m;
        VariantParams v;
        v.varNum = "1";
        v.mode.mode = CosNotBelow;
        v.mode.cosfMin = "0,93";
        addVariant(m.dm(), v);
        m.build();
        m.click("btnKUPodbor");
        QVERIFY(m.komp()->findChild<QRadioButton *>("rbRejim2")->isChecked());
        QCOMPARE(m.edit(m.komp(), "EditCosf_min")->text(), "0,93");
        QVERIFY(m.edit(m.komp(), "EditCosf_min")->isEnabled());
        QCOMPARE(m.edit(m.komp(), "EditCosf_max")->text(), "0,98");
        m.komp()->reject();
    }

    void typeWithoutPriceGivesCenaZero()
    {
        Main m;
        addCatalogueType(m.dm(), "Без цены", "УК-50", 50, 0.005, QVariant(), {{25, 2}});
        m.build();
        m.click("btnKUAdd");
        m.ok(m.sel());
        QVERIFY(m.rec.errors.isEmpty());
        QCOMPARE(m.dm().tblProj2->asString("TipKU"), "УК-50");
        QVERIFY(!m.dm().tblProj2->isNull("Cena"));
        QCOMPARE(m.dm().tblProj2->asFloat("Cena"), 0.0);
    }

    void deleteAsksFirst()
    {
        Main m;
        addVariants(m.dm(), 2);
        m.build();
        m.dm().tblProj2->last();
        const QString question = QStringLiteral("Удалить вариант 2 (конденсаторная установка «%1»)?")
                                     .arg(m.dm().tblProj2->asString("TipKU"));
        m.click("btnKUDelete");
        // The question names the variant and defaults to No.
        QCOMPARE(m.rec.cautiousQuestions, QStringList{question});
        QCOMPARE(m.dm().tblProj2->recordCount(), 2);
        m.rec.answers = {true};
        m.click("btnKUDelete");
        QCOMPARE(m.dm().tblProj2->recordCount(), 1);
        QCOMPARE(m.dm().tblProj2->asString("VarNum"), "1");
        m.rec.answers = {true};
        m.click("btnKUDelete");
        QCOMPARE(m.dm().tblProj2->recordCount(), 0);
        QVERIFY(!m.form->findChild<QAction *>("mnKUEdit")->isEnabled());
        QVERIFY(!m.form->findChild<QAction *>("mnKUPodbor")->isEnabled());
    }

    void podborKeepsTheCurrentPeriod()
    {
        Main m;
        addVariants(m.dm(), 2);
        m.dm().tblProj3->last();
        const qint64 variant = m.dm().tblProj2->currentKod();
        const qint64 period = m.dm().tblProj3->currentKod();
        const QString qkuBefore = m.dm().tblProj3->asString("Qku");
        m.build();
        m.click("btnKUPodbor");
        QCOMPARE(m.komp()->windowTitle(), "Режим подбора модулей КУ.");
        m.chooseMode(m.komp(), CosNearest);
        m.edit(m.komp(), "EditCosf_tr")->setText("0,9");
        m.ok(m.komp());
        QVERIFY(!m.komp()->isVisible());
        QCOMPARE(m.dm().tblProj2->currentKod(), variant);
        QCOMPARE(m.dm().tblProj3->currentKod(), period);
        QCOMPARE(m.dm().tblProj2->asString("Rejim"), selectionModeCaptions()[CosNearest]);
        QCOMPARE(m.dm().tblProj2->asString("Cosf_tr"), "0,9");
        QVERIFY(m.dm().tblProj2->isNull("Cosf_min"));
        // 50 kW and 30 kVAr to cos(f) 0,9 need about 5,8 kVAr: less than full compensation.
        QVERIFY(m.dm().tblProj3->asString("Qku") != qkuBefore);
        // The other variant is untouched.
        m.dm().tblProj2->first();
        QCOMPARE(m.dm().tblProj2->asString("Rejim"), selectionModeCaptions()[FullCompensation]);
    }

    void podborAllReachesEveryVariant()
    {
        Main m;
        addVariants(m.dm(), 2);
        const qint64 variant = m.dm().tblProj2->currentKod();
        m.build();
        m.click("btnKUPodborAll");
        m.chooseMode(m.komp(), CosNotAbove);
        m.edit(m.komp(), "EditCosf_max")->setText("0,95");
        m.ok(m.komp());
        QCOMPARE(m.dm().tblProj2->currentKod(), variant);
        for (m.dm().tblProj2->first(); !m.dm().tblProj2->eof(); m.dm().tblProj2->next()) {
            QCOMPARE(m.dm().tblProj2->asString("Rejim"), selectionModeCaptions()[CosNotAbove]);
            QCOMPARE(m.dm().tblProj2->asString("Cosf_max"), "0,95");
        }
    }

    void cancelledModeDialogChangesNothing()
    {
        Main m;
        addVariants(m.dm(), 1);
        m.build();
        m.click("btnKUPodbor");
        m.chooseMode(m.komp(), CosNearest);
        m.komp()->findChild<QPushButton *>("btnCancel")->click();
        QVERIFY(!m.komp()->isVisible());
        QCOMPARE(m.dm().tblProj2->asString("Rejim"), selectionModeCaptions()[FullCompensation]);
    }

    void catalogueFromTheMenuAndFromTheDialog()
    {
        Main m;
        m.build();
        m.form->findChild<QAction *>("mnsKU")->trigger();
        QVERIFY(m.form->sKUForm()->isVisible());
        QCOMPARE(m.form->sKUForm()->windowTitle(), "Конденсаторные установки.");
        m.form->sKUForm()->findChild<QPushButton *>("btnClose")->click();
        QVERIFY(!m.form->sKUForm()->isVisible());

        // From the selection dialog; a type without modules chosen there disables OK on return.
        m.click("btnKUAdd");
        QVERIFY(m.sel()->okButton()->isEnabled());
        m.sel()->findChild<QPushButton *>("btnSpr")->click();
        QVERIFY(m.form->sKUForm()->isVisible());
        appendRow(*m.dm().tblsKU1, {{"Name", "Пустая"}, {"Q", 10}, {"Pp", 0.005}, {"Unom", 400}});
        m.form->sKUForm()->findChild<QPushButton *>("btnClose")->click();
        QVERIFY(!m.sel()->okButton()->isEnabled());
        m.sel()->reject();
    }
};

QTEST_MAIN(TestVariantCommands)
#include "test_variant_commands.moc"
