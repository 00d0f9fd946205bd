// The filter tab control over the shared project cursor: its tabs and filters, how it follows
// projects created, renamed and deleted, its parameters, search and counts, and the standard mode.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/project/ProjectCommands.h"
#include "gui/dialogs/TabParamsDialog.h"
#include "gui/dialogs/TabSelectDialog.h"
#include "gui/widgets/TzqFilterTabControl.h"

#include <QAction>
#include <QComboBox>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestFilterTabs : public QObject {
    Q_OBJECT

    struct Tabs {
        TestData td;
        MessageRecorder rec;
        TzqFilterTabControl control;
        TTable &projects() { return *td.data->tblProj0; }
        explicit Tabs(const QStringList &names)
        {
            for (const QString &n : names)
                create(n);
            control.setDataField("Name");
            control.setDataSource(td.data->tblProj0);
        }
        void create(const QString &name)
        {
            ProjectParams p = newProjectParams(*td.data);
            p.name = name;
            createProject(*td.data, p);
        }
        QStringList visibleNames()
        {
            QStringList out;
            for (const auto &row : projects().rows())
                out << row[projects().fieldIndex("Name")].toString();
            return out;
        }
        void select(const QString &caption)
        {
            control.tabBar()->setCurrentIndex(control.tabCaptions().indexOf(caption));
        }
        QAction *menuItem(const char *name) { return control.popupMenu()->findChild<QAction *>(name); }
    };

private slots:
    void tabsByFirstLetterIgnoringCase()
    {
        Tabs t({"Цех", "цех 2", "Склад"});
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "С", "Ц"}));
        QCOMPARE(t.control.tabWidth(), 25);
        t.select("Ц");
        QVERIFY(t.projects().filtered());
        QCOMPARE(t.visibleNames(), QStringList({"Цех", "цех 2"}));
        QCOMPARE(t.projects().filter(), "[Name]='Ц*'");
        t.select("А-Я");
        QVERIFY(!t.projects().filtered());
        QCOMPARE(t.visibleNames().size(), 3);
    }

    void emptyNamesHaveTheirOwnTab()
    {
        Tabs t({"Цех"});
        appendRow(t.projects(), {{"Name", QVariant()}});
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "", "Ц"}));
        t.select("");
        QCOMPARE(t.projects().filter(), "[Name]=Null");
        QCOMPARE(t.projects().recordCount(), 1);
    }

    void deletingTheLastOfALetterRemovesItsTab()
    {
        Tabs t({"Цех", "Склад", "Цех 2"});
        t.projects().locate("Name", "Склад");
        deleteProject(*t.td.data);
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "Ц"}));
        // The cursor stays on the project the deletion left current.
        QCOMPARE(t.projects().asString("Name"), "Цех 2");
    }

    void deletingUnderALetterTab()
    {
        Tabs t({"Цех", "Склад", "Цех 2"});
        t.select("С");
        deleteProject(*t.td.data);
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "Ц"}));
        QCOMPARE(t.control.tabBar()->currentIndex(), 0);
        QCOMPARE(t.projects().recordCount(), 2);
        t.select("Ц");
        deleteProject(*t.td.data);
        QCOMPARE(t.control.keyCount("Ц"), 1);
        QCOMPARE(t.control.tabBar()->currentIndex(), 1);
    }

    void aNewProjectAddsItsLetter()
    {
        Tabs t({"Цех", "Склад"});
        t.create("Завод");
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "З", "С", "Ц"}));
        QCOMPARE(t.control.tabBar()->currentIndex(), 0);
        QCOMPARE(t.projects().asString("Name"), "Завод");
        t.create("завод 2");
        QCOMPARE(t.control.keyCount("З"), 2);
    }

    void aNewProjectUnderALetterTabShowsItsOwnTab()
    {
        Tabs t({"Цех", "Склад"});
        t.select("Ц");
        t.create("Завод");
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "З", "С", "Ц"}));
        QCOMPARE(t.control.tabBar()->tabText(t.control.tabBar()->currentIndex()), "З");
        QCOMPARE(t.visibleNames(), QStringList{"Завод"});
        QCOMPARE(t.projects().asString("Name"), "Завод");
    }

    void renamingMovesTheRecordToItsNewTab()
    {
        Tabs t({"Цех", "Склад"});
        t.projects().locate("Name", "Склад");
        ProjectParams p = currentProjectParams(*t.td.data);
        p.name = "Амбар";
        editProject(*t.td.data, p);
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "А", "Ц"}));
        QCOMPARE(t.control.tabBar()->currentIndex(), 0);

        t.select("Ц");
        p = currentProjectParams(*t.td.data);
        QCOMPARE(p.name, "Цех");
        p.name = "Бойлерная";
        editProject(*t.td.data, p);
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "А", "Б"}));
        QCOMPARE(t.control.tabBar()->tabText(t.control.tabBar()->currentIndex()), "Б");
        QCOMPARE(t.visibleNames(), QStringList{"Бойлерная"});

        // A rename within the same letter changes nothing.
        p.name = "Баня";
        editProject(*t.td.data, p);
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "А", "Б"}));
    }

    void threeCharacterTabs()
    {
        Tabs t({"Цех 1", "цеха", "Склад"});
        t.control.setParameters("Name", 3, true);
        QCOMPARE(t.control.tabWidth(), 30);
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "СКЛ", "ЦЕХ"}));
        QVERIFY(t.control.tabBar()->tabRect(1).width() >= 30);
        t.control.setParameters("Name", 1, false);
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "С", "Ц", "ц"}));
        t.select("ц");
        QCOMPARE(t.visibleNames(), QStringList{"цеха"});
    }

    void countsMessage()
    {
        Tabs t({"Цех", "цех 2", "Склад"});
        t.menuItem("popInfo")->trigger();
        QCOMPARE(
            t.rec.informations,
            QStringList{
                "Количество записей, соответствующих каждой закладке:\n\n'С' - 1;  'Ц' - 2.  \n\nВсего записей - 3"});
    }

    void findATab_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("exact") << "С"
                               << "С" << QStringList();
        QTest::newRow("by its beginning, letter case aside") << "а-"
                                                             << "А-Я" << QStringList();
        QTest::newRow("lower case letter") << "ц"
                                           << "Ц" << QStringList();
        QTest::newRow("not found") << "Х"
                                   << "А-Я" << QStringList{"Ошибка.\nЗакладка 'Х' не найдена."};
    }
    void findATab()
    {
        QFETCH(QString, answer);
        QFETCH(QString, selected);
        QFETCH(QStringList, errors);
        Tabs t({"Цех", "Склад"});
        t.menuItem("popFindTab")->trigger();
        auto *input = t.control.findChild<QInputDialog *>("FindTabDialog");
        QVERIFY(input && input->isVisible());
        QCOMPARE(input->windowTitle(), "Введите наименование закладки.");
        QCOMPARE(input->labelText(), "Наименование закладки:");
        QCOMPARE(input->textValue(), "А-Я");
        input->setTextValue(answer);
        input->accept();
        QCOMPARE(t.control.tabBar()->tabText(t.control.tabBar()->currentIndex()), selected);
        QCOMPARE(t.rec.errors, errors);
        QCOMPARE(t.projects().filtered(), selected != "А-Я");
    }

    void pickATabFromTheList()
    {
        Tabs t({"Цех", "Склад", "Завод"});
        t.menuItem("popSelectTab")->trigger();
        auto *dialog = t.control.findChild<TabSelectDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), "Выбор закладки.");
        QCOMPARE(dialog->list()->count(), 4);
        QCOMPARE(dialog->list()->currentRow(), 0);
        QCOMPARE(TabSelectDialog::columnsFor(25), 12);
        dialog->list()->setCurrentRow(2);
        dialog->findChild<QPushButton *>("btnOK")->click();
        QCOMPARE(t.control.tabBar()->currentIndex(), 2);
        QCOMPARE(t.visibleNames(), QStringList{"Склад"});
    }

    void tabParametersDialog()
    {
        Tabs t({"Цех 1", "Склад"});
        t.menuItem("popParam")->trigger();
        auto *dialog = t.control.findChild<TabParamsDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), "Введите параметры закладки.");
        auto *fields = dialog->findChild<QComboBox *>("cmbField");
        QCOMPARE(fields->currentText(), "Name");
        QVERIFY(fields->findText("ProjOwner") >= 0);
        QCOMPARE(fields->findText("Tarif_a"), -1);
        auto *count = dialog->findChild<QSpinBox *>("spinCharCount");
        QCOMPARE(count->value(), 1);
        count->stepUp();
        count->stepUp();
        count->setValue(11);
        QCOMPARE(count->value(), 10);
        count->setValue(2);
        dialog->findChild<QPushButton *>("btnOK")->click();
        QCOMPARE(t.control.charCount(), 2);
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "СК", "ЦЕ"}));
    }

    void standardModeRestoresTheTablesFilter()
    {
        TestData td;
        MessageRecorder rec;
        for (const char *n : {"Цех", "Склад"}) {
            ProjectParams p = newProjectParams(*td.data);
            p.name = n;
            createProject(*td.data, p);
        }
        TTable &projects = *td.data->tblProj0;
        projects.setFilter("[Name]='С*'");
        projects.setFiltered(true);
        TzqFilterTabControl control;
        control.setDataField("Name");
        control.setDataSource(&projects);
        QVERIFY(!projects.filtered());
        QCOMPARE(control.tabCaptions(), QStringList({"А-Я", "С", "Ц"}));

        QAction *on = control.popupMenu()->findChild<QAction *>("popOn");
        QCOMPARE(on->text(), "Стандартный режим");
        on->trigger();
        QVERIFY(!control.autoInclude());
        QCOMPARE(on->text(), "Режим фильтрации");
        QCOMPARE(control.tabCaptions(), QStringList{""});
        QCOMPARE(projects.filter(), "[Name]='С*'");
        QVERIFY(projects.filtered());
        QCOMPARE(projects.recordCount(), 1);
        for (const char *item : {"popCreate", "popAutoRefresh", "popParam", "popFindTab", "popSelectTab", "popInfo"})
            QVERIFY(!control.popupMenu()->findChild<QAction *>(item)->isVisible());

        on->trigger();
        QCOMPARE(control.tabCaptions(), QStringList({"А-Я", "С", "Ц"}));
        QVERIFY(!projects.filtered());
        QVERIFY(control.popupMenu()->findChild<QAction *>("popInfo")->isVisible());
    }

    void withoutAutoRefreshTheTabsWait()
    {
        Tabs t({"Цех"});
        QAction *autoRefresh = t.menuItem("popAutoRefresh");
        QVERIFY(autoRefresh->isChecked());
        autoRefresh->trigger();
        QVERIFY(!t.control.autoRefresh());
        QVERIFY(!autoRefresh->isChecked());
        t.create("Склад");
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "Ц"}));
        t.menuItem("popCreate")->trigger();
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "С", "Ц"}));
    }

    void aDetailTableFollowsItsMaster()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        addCatalogueType(dm, "Первая", "Альфа", 10, 0.005, 100, {{10, 1}});
        appendRow(*dm.tblsKU1, {{"Name", "Бета"}, {"Q", 5}, {"Pp", 0.005}, {"Unom", 400}});
        addCatalogueType(dm, "Вторая", "Гамма", 10, 0.005, 100, {{10, 1}});
        TzqFilterTabControl control;
        control.setDataField("Name");
        control.setDataSource(dm.tblsKU1);
        QCOMPARE(control.tabCaptions(), QStringList({"А-Я", "Г"}));
        dm.tblsKU0->locate("Company", "Первая");
        QCOMPARE(control.tabCaptions(), QStringList({"А-Я", "А", "Б"}));
        control.tabBar()->setCurrentIndex(2);
        QCOMPARE(dm.tblsKU1->recordCount(), 1);
        QCOMPARE(dm.tblsKU1->asString("Name"), "Бета");
        dm.tblsKU0->locate("Company", "Вторая");
        QCOMPARE(control.tabBar()->currentIndex(), 0);
        QCOMPARE(dm.tblsKU1->recordCount(), 1);
        QCOMPARE(dm.tblsKU1->asString("Name"), "Гамма");
    }

    void rowsWrittenThroughAnotherCursorAppearWhenShown()
    {
        Tabs t({"Цех"});
        copyProject(*t.td.data, "Склад");
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "С", "Ц"}));
        // And a deletion after it is still seen.
        deleteProject(*t.td.data);
        QCOMPARE(t.control.tabCaptions(), QStringList({"А-Я", "Ц"}));
    }
};

QTEST_MAIN(TestFilterTabs)
#include "test_filter_tabs.moc"
