// The list selection dialog over the texts of a table field: distinct values, tabs from the
// leading characters, search, its parameters and warnings.
#include "MessageRecorder.h"
#include "TestData.h"

#include "gui/dialogs/DBListDlg.h"
#include "gui/dialogs/TDBListDlg.h"
#include "gui/widgets/ListTabRow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestListDialog : public QObject {
    Q_OBJECT

    // The hints table holding just the given texts, and the component over its FieldHint.
    struct List {
        TestData t;
        MessageRecorder rec;
        TzqDBListDlg component;
        std::optional<bool> result;
        explicit List(const QStringList &texts)
        {
            TTable &hints = *t.data->TableHints;
            hints.removeAll();
            int n = 0;
            for (const QString &text : texts)
                appendRow(hints, {{"TableName", "t"}, {"FieldName", QString::number(++n)}, {"FieldHint", text}});
            component.setTable(&hints);
            component.setDataField("FieldHint");
        }
        TDBListDlg *open()
        {
            component.Execute([this](bool chosen) { result = chosen; });
            return component.dialog();
        }
        QStringList entries()
        {
            QStringList out;
            QListWidget *list = component.dialog()->list();
            for (int i = 0; i < list->count(); ++i)
                out << list->item(i)->text();
            return out;
        }
        QString selected() { return component.dialog()->selectedText(); }
        QLineEdit *searchField() { return component.dialog()->findChild<QLineEdit *>("EditSearch"); }
        void clickTab(int index) { component.dialog()->tabRow()->tabButton(index)->click(); }
    };

private slots:
    void textsDifferingInCaseAreListedOnce()
    {
        List l({"Кабель", "кабель", "Шина", "КАБЕЛЬ", "Провод"});
        QVERIFY(l.open());
        QCOMPARE(l.entries(), (QStringList{"Кабель", "Провод", "Шина"}));
        QCOMPARE(l.component.dialog()->windowTitle(), QStringLiteral("Выбор из списка."));
        // The cursor of the table stays where it was.
        QCOMPARE(l.t.data->TableHints->recNo(), 4);
    }

    void tabsFromTheFirstCharacter()
    {
        List l({"Бв", "аВ", "Аб"});
        TDBListDlg *dlg = l.open();
        QCOMPARE(dlg->tabRow()->tabs(), (QStringList{"А-Я", "А", "Б"}));
        QCOMPARE(l.entries(), (QStringList{"Аб", "аВ", "Бв"}));
        QVERIFY(!dlg->findChild<QPushButton *>("btnOK")->isEnabled());
        l.clickTab(1);
        QCOMPARE(l.entries(), (QStringList{"Аб", "аВ"}));
        QCOMPARE(l.searchField()->text(), QStringLiteral("А"));
        QCOMPARE(l.selected(), QStringLiteral("Аб"));
        QVERIFY(dlg->findChild<QPushButton *>("btnOK")->isEnabled());
        l.clickTab(0);
        QCOMPARE(l.entries(), (QStringList{"Аб", "аВ", "Бв"}));
        QCOMPARE(l.searchField()->text(), QString());
        // Searching selects the first text that starts so, whatever the letter case.
        l.searchField()->insert("бВ");
        QCOMPARE(l.selected(), QStringLiteral("Бв"));
        // No match leaves the selection as it was.
        l.searchField()->insert("я");
        QCOMPARE(l.selected(), QStringLiteral("Бв"));
        dlg->findChild<QPushButton *>("btnOK")->click();
        QCOMPARE(l.result, std::optional<bool>(true));
        QCOMPARE(l.component.SelectedText(), QStringLiteral("Бв"));
        QVERIFY(!l.component.dialog());
    }

    void tabsFromTheSecondCharacter()
    {
        List l({"ББа", "АБв", "Вг"});
        l.component.setFirstCharNo(2);
        TDBListDlg *dlg = l.open();
        QCOMPARE(dlg->tabRow()->tabs(), (QStringList{"А-Я", "Б", "Г"}));
        l.clickTab(1);
        // "ББа" holds its first "Б" at position 1, not 2.
        QCOMPARE(l.entries(), QStringList{"АБв"});
        QCOMPARE(l.selected(), QStringLiteral("АБв"));
    }

    void nineRowsOfTabsAreRefused()
    {
        QStringList texts;
        for (int i = 0; i < 150; ++i)
            texts << QStringLiteral("Т%1").arg(i, 3, 10, QChar('0'));
        List l(texts);
        l.component.setMultiLine(true);
        TDBListDlg *dlg = l.open();
        auto *count = dlg->findChild<QSpinBox *>("seCharCount");
        auto *multi = dlg->findChild<QCheckBox *>("chkMultiLine");
        QVERIFY(multi->isChecked());
        QCOMPARE(count->maximum(), 4);
        count->stepUp();
        count->stepUp();
        QCOMPARE(dlg->tabRow()->count(), 16);
        QCOMPARE(dlg->tabRow()->rowCount(), 2);
        QCOMPARE(dlg->list()->y(), 2 * 18 + 12);
        QVERIFY(l.rec.warnings.isEmpty());
        count->stepUp();
        QCOMPARE(dlg->tabRow()->count(), 151);
        QCOMPARE(l.rec.warnings, QStringList{"Внимание.\nКоличество строк в закладке превысило допустимое значение "
                                             "(8).\nЗакладка будет однострочной."});
        QVERIFY(!multi->isChecked());
        QCOMPARE(dlg->tabRow()->rowCount(), 1);
        QCOMPARE(dlg->tabRow()->height(), 18 + 7);
        QCOMPARE(dlg->list()->y(), 18 + 12);
        QCOMPARE(dlg->list()->height(), 203 - 18);
        // Switching the box on again is refused the same way.
        multi->click();
        QCOMPARE(l.rec.warnings.size(), 2);
        QVERIFY(l.rec.warnings.last().startsWith("Внимание. Количество строк"));
        QVERIFY(!multi->isChecked());
    }

    void upperCaseIsReturned()
    {
        List l({"кабель медный", "шина"});
        TDBListDlg *dlg = l.open();
        dlg->findChild<QRadioButton *>("rdgCase1")->click();
        QCOMPARE(l.entries(), (QStringList{"КАБЕЛЬ МЕДНЫЙ", "ШИНА"}));
        dlg->list()->setCurrentRow(0);
        dlg->findChild<QPushButton *>("btnOK")->click();
        QCOMPARE(l.component.SelectedText(), QStringLiteral("КАБЕЛЬ МЕДНЫЙ"));
        // The component's own settings are left as they were.
        QCOMPARE(l.component.listCase(), TListCase::lcDefault);
    }

    void columnCountIsBrought_data()
    {
        QTest::addColumn<int>("given");
        QTest::addColumn<int>("shown");
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("3") << 3 << 3;
        QTest::newRow("15") << 15 << 10;
    }
    void columnCountIsBrought()
    {
        QFETCH(int, given);
        QFETCH(int, shown);
        List l({"a", "b"});
        l.component.setColCount(given);
        TDBListDlg *dlg = l.open();
        QCOMPARE(dlg->listColumns(), shown);
        QCOMPARE(dlg->findChild<QSpinBox *>("seColCount")->value(), shown);
    }

    void anEmptyTableEndsAtOnce()
    {
        List l({});
        QVERIFY(!l.open());
        QCOMPARE(l.result, std::optional<bool>(false));
        QCOMPARE(l.rec.informations, QStringList{"Список пуст."});
    }

    void doubleClickAndCancel()
    {
        List l({"Один", "Два"});
        TDBListDlg *dlg = l.open();
        dlg->findChild<QPushButton *>("btnCancel")->click();
        QCOMPARE(l.result, std::optional<bool>(false));
        QCOMPARE(l.component.SelectedText(), QString());
        dlg = l.open();
        QListWidget *list = dlg->list();
        const QPoint at = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(l.result, std::optional<bool>(true));
        QCOMPARE(l.component.SelectedText(), QStringLiteral("Два"));
    }
};

QTEST_MAIN(TestListDialog)
#include "test_list_dialog.moc"
