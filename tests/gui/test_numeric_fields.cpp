// Numeric fields: the key filters, the number checks and their messages, the step operations and
// the variants the dialogs use, and the steps on a table field.
#include "MessageRecorder.h"
#include "TestData.h"

#include "core/calc/Numbers.h"
#include "gui/ui/Lib.h"
#include "gui/widgets/NumericEdit.h"
#include "gui/widgets/StepButton.h"

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestNumericFields : public QObject {
    Q_OBJECT

    // A field with one step button in a window of its own.
    struct Field {
        QDialog window;
        NumericEdit *edit = new NumericEdit(NumericEdit::Decimal, &window);
        QPushButton *other = new QPushButton(&window);
        StepButton *step;
        explicit Field(double s, const QString &text = {}) : step(new StepButton(edit, s, &window))
        {
            edit->setText(text);
        }
    };

private slots:
    void keyFilters_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::newRow("decimal types the point as the comma") << int(NumericEdit::Decimal) << "0.95"
                                                              << "0,95";
        QTest::newRow("decimal keeps the comma") << int(NumericEdit::Decimal) << "0,715"
                                                 << "0,715";
        QTest::newRow("decimal drops minus and letters") << int(NumericEdit::Decimal) << "-1a2e3"
                                                         << "123";
        QTest::newRow("whole drops the comma") << int(NumericEdit::Whole) << "2,5"
                                               << "25";
        QTest::newRow("whole drops the point and spaces") << int(NumericEdit::Whole) << "2 6.0"
                                                          << "260";
    }
    void keyFilters()
    {
        QFETCH(int, kind);
        QFETCH(QString, typed);
        QFETCH(QString, left);
        NumericEdit edit{NumericEdit::Kind(kind)};
        QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.text(), left);
    }

    void editingKeysAndClipboardShortcuts()
    {
        NumericEdit edit(NumericEdit::Decimal);
        edit.setText("0,25");
        edit.setCursorPosition(4);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), "0,2");
        QTest::keyClick(&edit, Qt::Key_Home);
        QTest::keyClick(&edit, Qt::Key_Delete);
        QCOMPARE(edit.text(), ",2");
        // Select all, copy, paste, cut and undo work as in any text field.
        edit.setText("55");
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&edit, "20");
        QCOMPARE(edit.text(), "20");
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(&edit, Qt::Key_End);
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit.text(), "2020");
        QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit.text(), "20");
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(edit.text(), "");
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit.text(), "20");
        // The keypad's decimal key types the comma.
        edit.clear();
        QTest::keyClicks(&edit, "3");
        QTest::keyClick(&edit, Qt::Key_Period, Qt::KeypadModifier);
        QTest::keyClicks(&edit, "5");
        QCOMPARE(edit.text(), "3,5");
    }

    void stepHints()
    {
        QCOMPARE(stepHint(0.01), "Изменение значения параметра на 0,01");
        QCOMPARE(stepHint(0.001), "Изменение значения параметра на 0,001");
        QCOMPARE(stepHint(100), "Изменение значения параметра на 100");
        Field f(0.1);
        QCOMPARE(f.step->toolTip(), "Изменение значения параметра на 0,1");
        QCOMPARE(f.step->upButton()->toolTip(), f.step->toolTip());
    }

    void plainSteps_data()
    {
        QTest::addColumn<double>("step");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("after");
        QTest::newRow("down 0,1 on 0,15") << 0.1 << "0,15" << false << "0,05";
        QTest::newRow("down 0,1 on 0,05 stays") << 0.1 << "0,05" << false << "0,05";
        QTest::newRow("down 0,1 on 0,1 stays") << 0.1 << "0,1" << false << "0,1";
        QTest::newRow("down 0,1 on 0") << 0.1 << "0" << false << "0,1";
        QTest::newRow("down 0,1 on empty") << 0.1 << "" << false << "0,1";
        QTest::newRow("down below zero stays") << 1.0 << "-3" << false << "-3";
        QTest::newRow("down 0,3 - 0,1 without residue") << 0.1 << "0,3" << false << "0,2";
        QTest::newRow("up 0,01 on 0,99") << 0.01 << "0,99" << true << "1";
        QTest::newRow("up on empty") << 0.001 << "" << true << "0,001";
        QTest::newRow("up 0,1 on 0,715") << 0.1 << "0,715" << true << "0,815";
    }
    void plainSteps()
    {
        QFETCH(double, step);
        QFETCH(QString, before);
        QFETCH(bool, up);
        QFETCH(QString, after);
        MessageRecorder rec;
        Field f(step, before);
        (up ? f.step->upButton() : f.step->downButton())->click();
        QCOMPARE(f.edit->text(), after);
        QVERIFY(rec.all.isEmpty());
    }

    void stepOnTextThatIsNoNumber()
    {
        MessageRecorder rec;
        Field f(1, "1,2,3");
        f.step->upButton()->click();
        f.step->downButton()->click();
        QCOMPARE(f.edit->text(), "1,2,3");
        QCOMPARE(rec.errors, QStringList(2, "\"1,2,3\" не является числом."));
    }

    void boundedUpStep_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<double>("step");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("25 + 10 passes 31: nothing") << "25" << 10.0 << "25" << QStringList();
        QTest::newRow("21 + 10 reaches 31") << "21" << 10.0 << "31" << QStringList();
        QTest::newRow("31 + 1: nothing") << "31" << 1.0 << "31" << QStringList();
        QTest::newRow("empty is no number") << "" << 10.0 << "" << QStringList{"\"\" не является числом."};
    }
    void boundedUpStep()
    {
        QFETCH(QString, before);
        QFETCH(double, step);
        QFETCH(QString, after);
        QFETCH(QStringList, errors);
        MessageRecorder rec;
        Field f(step, before);
        f.step->setUpBound(31);
        f.step->upButton()->click();
        QCOMPARE(f.edit->text(), after);
        QCOMPARE(rec.errors, errors);
    }

    // The cos(f) fields: a number check with its message before stepping up, bounded by 1,
    // and no step while the field is disabled.
    void cosfFieldSteps()
    {
        MessageRecorder rec;
        Field f(0.01, "0,99");
        f.step->setUpBound(1);
        f.step->setEnabledOnly(true);
        f.step->setUpCheck("коэффициента мощности");
        f.step->upButton()->click();
        QCOMPARE(f.edit->text(), "1");
        f.step->upButton()->click();
        QCOMPARE(f.edit->text(), "1");
        f.edit->setText("abc");
        f.step->upButton()->click();
        QCOMPARE(rec.errors, QStringList{"\"abc\" - некорректное значение для коэффициента мощности."});
        QCOMPARE(f.window.focusWidget(), f.edit);
        f.edit->setText("0,5");
        f.edit->setEnabled(false);
        f.step->upButton()->click();
        f.step->downButton()->click();
        QCOMPARE(f.edit->text(), "0,5");
    }

    void downStepToZero_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("the step itself gives 0") << "0,1"
                                                 << "0";
        QTest::newRow("above the step") << "1,5"
                                        << "1,4";
        QTest::newRow("0 gives the step") << "0"
                                          << "0,1";
        QTest::newRow("below the step stays") << "0,05"
                                              << "0,05";
    }
    void downStepToZero()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        Field f(0.1, before);
        f.step->setDownToZero(true);
        f.step->downButton()->click();
        QCOMPARE(f.edit->text(), after);
    }

    void checks_data()
    {
        QTest::addColumn<bool>("positive");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("message");
        QTest::newRow("positive on 0") << true << "0"
                                       << "коэффициента потерь"
                                       << "Значение коэффициента потерь должно быть больше 0.";
        QTest::newRow("positive on empty") << true << ""
                                           << "поля \"Среднее количество рабочих дней в месяце\""
                                           << "Введите значение поля \"Среднее количество рабочих дней в месяце\".";
        QTest::newRow("number on abc") << false << "abc"
                                       << "поля \"Начало замеров, ч\""
                                       << "\"abc\" - некорректное значение для поля \"Начало замеров, ч\".";
        QTest::newRow("number on a point") << false << "0.5"
                                           << "коэффициента мощности"
                                           << "\"0.5\" - некорректное значение для коэффициента мощности.";
        QTest::newRow("number on -2 passes") << false << "-2"
                                             << "коэффициента мощности"
                                             << "";
        QTest::newRow("positive on 0,001 passes") << true << "0,001"
                                                  << "коэффициента мощности"
                                                  << "";
    }
    void checks()
    {
        QFETCH(bool, positive);
        QFETCH(QString, text);
        QFETCH(QString, description);
        QFETCH(QString, message);
        MessageRecorder rec;
        Field f(1, text);
        f.other->setFocus();
        auto check = positive ? CheckPositiveNumber : CheckNumber;
        QCOMPARE(check(f.edit, description, false), message.isEmpty());
        QVERIFY(rec.all.isEmpty());
        QCOMPARE(check(f.edit, description, true), message.isEmpty());
        QCOMPARE(rec.errors, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(f.window.focusWidget(), message.isEmpty() ? static_cast<QWidget *>(f.other) : f.edit);
        QCOMPARE(f.edit->text(), text);
    }

    void checksOnOtherWidgets()
    {
        MessageRecorder rec;
        QPushButton button("5");
        QVERIFY(!CheckNumber(&button, "поля", true));
        QVERIFY(!CheckPositiveNumber(&button, "поля", true));
        QComboBox list;
        list.setEditable(true);
        list.setEditText("0,98");
        QVERIFY(CheckPositiveNumber(&list, "коэффициента мощности", true));
        QVERIFY(rec.all.isEmpty());
    }

    void exitCheck()
    {
        MessageRecorder rec;
        Field f(1, "");
        CheckNumberOnExit(f.edit);
        QCOMPARE(rec.errors, QStringList{"Ошибочное значение для числового параметра."});
        QCOMPARE(f.window.focusWidget(), f.edit);
        rec.clear();
        f.edit->setText("0,9");
        CheckNumberOnExit(f.edit);
        QPushButton button;
        CheckNumberOnExit(&button);
        QVERIFY(rec.all.isEmpty());
    }

    void fieldWithTheExitCheck()
    {
        MessageRecorder rec;
        Field f(1, "abc");
        f.edit->setExitCheck(true);
        f.window.show();
        QApplication::setActiveWindow(&f.window);
        f.edit->setFocus(Qt::OtherFocusReason);
        QVERIFY(f.edit->hasFocus());
        f.other->setFocus(Qt::TabFocusReason);
        QCOMPARE(rec.errors, QStringList{"Ошибочное значение для числового параметра."});
        QVERIFY(f.edit->hasFocus());
        f.edit->setText("0,5");
        f.other->setFocus(Qt::TabFocusReason);
        QVERIFY(f.other->hasFocus());
        QCOMPARE(rec.errors.size(), 1);
    }

    void tableFieldSteps_data()
    {
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QVariant>("after");
        QTest::newRow("null up") << QVariant() << true << QVariant(0.0);
        QTest::newRow("null down") << QVariant() << false << QVariant(0.0);
        QTest::newRow("up rounds to two decimals") << QVariant(1.234) << true << QVariant(2.23);
        QTest::newRow("down") << QVariant(2.5) << false << QVariant(1.5);
        QTest::newRow("down at the step stays") << QVariant(1.0) << false << QVariant(1.0);
        QTest::newRow("down below the step stays") << QVariant(0.4) << false << QVariant(0.4);
    }
    void tableFieldSteps()
    {
        QFETCH(QVariant, before);
        QFETCH(bool, up);
        QFETCH(QVariant, after);
        TestData td;
        TTable &p = *td.data->tblProj0;
        appendRow(p, {{"Name", "Проект"}, {"Tarif_a", before}});
        QCOMPARE(p.state(), TTable::State::Browse);
        (up ? StepFieldUp : StepFieldDown)(p, "Tarif_a", 1);
        QCOMPARE(p.state(), TTable::State::Edit);
        QCOMPARE(p.value("Tarif_a"), after);
    }
};

QTEST_MAIN(TestNumericFields)
#include "test_numeric_fields.moc"
