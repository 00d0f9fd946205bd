// The project parameters dialog on its own: its defaults and labels, the acceptance checks in
// their order with their messages and focus, the step buttons with their bounds, and help.
#include "MessageRecorder.h"
#include "TestData.h"

#include "core/project/ProjectCommands.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/project/TProjForm.h"
#include "gui/widgets/StepButton.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimeEdit>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestProjectDialogs : public QObject {
    Q_OBJECT

    static QLineEdit *edit(TProjForm &f, const char *name) { return f.findChild<QLineEdit *>(name); }
    static StepButton *step(TProjForm &f, const char *name) { return f.findChild<StepButton *>(name); }
    static void click(TProjForm &f, const char *button) { f.findChild<QPushButton *>(button)->click(); }

private slots:
    void defaultsOfANewProject()
    {
        TestData td;
        ProjectParams p = newProjectParams(*td.data);
        p.name = "Проект 1";
        createProject(*td.data, p);
        p.name = "Проект 2";
        createProject(*td.data, p);

        TProjForm f;
        f.setParams(newProjectParams(*td.data));
        QCOMPARE(f.windowTitle(), "Параметры проекта.");
        QCOMPARE(edit(f, "EditName")->text(), "Проект 3");
        QCOMPARE(edit(f, "EditOwner")->text(), "");
        QCOMPARE(edit(f, "EditMonth")->text(), "21");
        QCOMPARE(edit(f, "EditYear")->text(), "260");
        QCOMPARE(edit(f, "EditTarifA")->text(), "0,715");
        QCOMPARE(edit(f, "EditTarifQ")->text(), "0,02");
        QCOMPARE(f.findChild<QDateEdit *>("DateTimePicker1")->date(), QDate::currentDate());
        QCOMPARE(f.findChild<QDateEdit *>("DateTimePicker1")->displayFormat(), "dd.MM.yyyy");
        QCOMPARE(f.findChild<QTimeEdit *>("DateTimePicker2")->displayFormat(), "HH:mm:ss");

        QStringList labels;
        for (QLabel *l : f.findChildren<QLabel *>())
            if (l->buddy())
                labels << l->text();
        for (const char *label :
             {"Наименование:", "Владелец:", "Дата создания:", "Время создания:", "Примечание:",
              "Среднее количество рабочих дней в месяце:", "Среднее количество рабочих дней в году:",
              "Тариф на активную электроэнергию, грн/кВтч:", "Тариф на реактивную электроэнергию, грн/кВАрч:"})
            QVERIFY2(labels.contains(QString::fromUtf8(label)), label);
    }

    void tabOrderFollowsTheParameters()
    {
        TProjForm f;
        const QStringList expected{"EditName",   "EditOwner", "DateTimePicker1", "DateTimePicker2",
                                   "MemoPrim",   "EditMonth", "EditYear",        "EditTarifA",
                                   "EditTarifQ", "btnOK",     "btnCancel",       "btnHelp"};
        QStringList order;
        QWidget *w = f.findChild<QWidget *>("EditName");
        for (int i = 0; i < 200 && order.size() < expected.size(); ++i, w = w->nextInFocusChain())
            if (expected.contains(w->objectName()) && !order.contains(w->objectName()))
                order << w->objectName();
        QCOMPARE(order, expected);
    }

    void stepButtonsAndHints_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("hint");
        QTest::newRow("month +10 on 25: nothing") << "SpinButtonM10"
                                                  << "EditMonth"
                                                  << "25" << true << "25"
                                                  << "Изменение значения параметра на 10";
        QTest::newRow("month +10 on 21 gives 31") << "SpinButtonM10"
                                                  << "EditMonth"
                                                  << "21" << true << "31"
                                                  << "Изменение значения параметра на 10";
        QTest::newRow("month +1 on 31: nothing") << "SpinButtonM1"
                                                 << "EditMonth"
                                                 << "31" << true << "31"
                                                 << "Изменение значения параметра на 1";
        QTest::newRow("year +10 on 356 gives 366") << "SpinButtonY10"
                                                   << "EditYear"
                                                   << "356" << true << "366"
                                                   << "Изменение значения параметра на 10";
        QTest::newRow("year +10 on 360: nothing") << "SpinButtonY10"
                                                  << "EditYear"
                                                  << "360" << true << "360"
                                                  << "Изменение значения параметра на 10";
        QTest::newRow("month -10 on 10 stays") << "SpinButtonM10"
                                               << "EditMonth"
                                               << "10" << false << "10"
                                               << "Изменение значения параметра на 10";
        QTest::newRow("month -1 on 21") << "SpinButtonM1"
                                        << "EditMonth"
                                        << "21" << false << "20"
                                        << "Изменение значения параметра на 1";
        QTest::newRow("tariff +0,001") << "SpinButtonA0001"
                                       << "EditTarifA"
                                       << "0,715" << true << "0,716"
                                       << "Изменение значения параметра на 0,001";
        QTest::newRow("tariff -0,1 on 0,15") << "SpinButtonQ01"
                                             << "EditTarifQ"
                                             << "0,15" << false << "0,05"
                                             << "Изменение значения параметра на 0,1";
        QTest::newRow("tariff +0,01 on 0,99") << "SpinButtonQ001"
                                              << "EditTarifQ"
                                              << "0,99" << true << "1"
                                              << "Изменение значения параметра на 0,01";
        QTest::newRow("tariff +0,1 unbounded") << "SpinButtonA01"
                                               << "EditTarifA"
                                               << "99,95" << true << "100,05"
                                               << "Изменение значения параметра на 0,1";
    }
    void stepButtonsAndHints()
    {
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(QString, before);
        QFETCH(bool, up);
        QFETCH(QString, after);
        QFETCH(QString, hint);
        MessageRecorder rec;
        TProjForm f;
        QLineEdit *e = f.findChild<QLineEdit *>(field);
        e->setText(before);
        StepButton *b = f.findChild<StepButton *>(button);
        QCOMPARE(b->target(), e);
        QCOMPARE(b->toolTip(), hint);
        (up ? b->upButton() : b->downButton())->click();
        QCOMPARE(e->text(), after);
        QVERIFY(rec.all.isEmpty());
    }

    void emptyDayFieldUpStepReportsTheText()
    {
        MessageRecorder rec;
        TProjForm f;
        edit(f, "EditYear")->clear();
        step(f, "SpinButtonY1")->upButton()->click();
        QCOMPARE(edit(f, "EditYear")->text(), "");
        QCOMPARE(rec.errors, QStringList{"\"\" не является числом."});
    }

    // The checks in their order: each case breaks one field of otherwise valid parameters (and
    // the earlier-checked ones stay valid), so the message and the focus show which check ran.
    void acceptanceChecks_data()
    {
        QTest::addColumn<QStringList>("values"); // name, month, year, tariff a, tariff q
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString monthRange =
            "Значение поля \"Среднее количество рабочих дней в месяце\" должно быть в пределах от 1 до 31.";
        QTest::newRow("empty name") << QStringList{"", "", "0", "", ""}
                                    << "Заполнение поля \"Наименование проекта\" обязательно."
                                    << "EditName";
        QTest::newRow("empty month") << QStringList{"Цех", "", "0", "", ""}
                                     << "Введите значение поля \"Среднее количество рабочих дней в месяце\"."
                                     << "EditMonth";
        QTest::newRow("month 0 before the range")
            << QStringList{"Цех", "0", "260", "0,715", "0,02"}
            << "Значение поля \"Среднее количество рабочих дней в месяце\" должно быть больше 0."
            << "EditMonth";
        QTest::newRow("year 0 before month 32")
            << QStringList{"Цех", "32", "0", "0,715", "0,02"}
            << "Значение поля \"Среднее количество рабочих дней в году\" должно быть больше 0."
            << "EditYear";
        QTest::newRow("empty active tariff before the ranges")
            << QStringList{"Цех", "32", "400", "", "0,02"}
            << "Введите значение поля \"Тариф на активную электроэнергию, грн/кВтч\"."
            << "EditTarifA";
        QTest::newRow("pasted reactive tariff with a point")
            << QStringList{"Цех", "32", "400", "0,715", "0.02"}
            << "\"0.02\" - некорректное значение для поля \"Тариф на реактивную электроэнергию, грн/кВАрч\"."
            << "EditTarifQ";
        QTest::newRow("month 32") << QStringList{"Цех", "32", "400", "0,715", "0,02"} << monthRange << "EditMonth";
        QTest::newRow("pasted fractional month")
            << QStringList{"Цех", "21,5", "260", "0,715", "0,02"}
            << "Значение поля \"Среднее количество рабочих дней в месяце\" должно быть целым числом, а не \"21,5\"."
            << "EditMonth";
        QTest::newRow("year 367")
            << QStringList{"Цех", "21", "367", "0,715", "0,02"}
            << "Значение поля \"Среднее количество рабочих дней в году\" должно быть в пределах от 1 до 366."
            << "EditYear";
        QTest::newRow("year equal to month")
            << QStringList{"Цех", "21", "21", "0,715", "0,02"}
            << "Значение поля \"Среднее количество рабочих дней в году\" должно быть больше значения поля "
               "\"Среднее количество рабочих дней в месяце\"."
            << "EditYear";
        QTest::newRow("all valid") << QStringList{"Цех", "31", "32", "0,001", "5"} << ""
                                   << "";
    }
    void acceptanceChecks()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        MessageRecorder rec;
        TProjForm f;
        f.setParams(ProjectParams{});
        const char *fields[] = {"EditName", "EditMonth", "EditYear", "EditTarifA", "EditTarifQ"};
        for (int i = 0; i < 5; ++i)
            edit(f, fields[i])->setText(values[i]);
        f.findChild<QPushButton *>("btnCancel")->setFocus();
        QSignalSpy accepted(&f, &QDialog::accepted);
        f.show();
        click(f, "btnOK");
        if (message.isEmpty()) {
            QVERIFY(rec.all.isEmpty());
            QCOMPARE(accepted.count(), 1);
            QVERIFY(!f.isVisible());
        } else {
            QCOMPARE(rec.errors, QStringList{message});
            QCOMPARE(accepted.count(), 0);
            QVERIFY(f.isVisible());
            QCOMPARE(f.focusWidget()->objectName(), focus);
        }
    }

    void cancelRunsNoCheck()
    {
        MessageRecorder rec;
        TProjForm f;
        edit(f, "EditName")->clear();
        QSignalSpy rejected(&f, &QDialog::rejected);
        f.show();
        click(f, "btnCancel");
        QCOMPARE(rejected.count(), 1);
        f.show();
        f.close();
        QCOMPARE(rejected.count(), 2);
        QVERIFY(rec.all.isEmpty());
    }

    void helpButtonOpensItsTopic()
    {
        TProjForm f;
        click(f, "btnHelp");
        QVERIFY(HelpWindow::instance()->isVisible());
        QCOMPARE(HelpWindow::instance()->source(), QUrl("qrc:/help/2.html"));
        QVERIFY(HelpWindow::instance()->browser()->toPlainText().contains("Параметры проекта"));
        showHelpContents();
        QCOMPARE(HelpWindow::instance()->source(), QUrl("qrc:/help/index.html"));
        HelpWindow::instance()->close();
    }
};

QTEST_MAIN(TestProjectDialogs)
#include "test_project_dialogs.moc"
