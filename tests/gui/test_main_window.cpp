// The main window on a test store: the command states in the states that matter, the caption,
// the characteristic and data grids, and the project commands driven through their dialogs.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/compensation/VariantCommands.h"
#include "core/project/ProjectCommands.h"
#include "gui/app/CharacteristicGrid.h"
#include "gui/app/TMainForm.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/project/TOpenForm.h"
#include "gui/project/TProjForm.h"
#include "gui/widgets/CommandProgressBar.h"
#include "gui/widgets/CursorGrid.h"
#include "gui/widgets/TzqFilterTabControl.h"

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

const QStringList AllCommands = {
    "mnCreate",        "mnOpen",    "mnEdit",       "mnEconom",    "mnDelete",   "mnSaveAs",      "mnRecalc",
    "mnDiagSut",       "mnDiagPar", "mnWordReport", "mnPdfReport", "mnExit",     "mnAddSutGraf",  "mnEditSutGraf",
    "mnAddSutGrafSpr", "mnKUAdd",   "mnKUEdit",     "mnKUDelete",  "mnKUPodbor", "mnKUPodborAll", "mnWordRepKU",
    "mnPdfRepKU",      "mnsKU",     "mnsSutGr",     "mnParRep",    "mnStore",    "mnHelp",        "mnAbout"};
const QStringList AlwaysEnabled = {"mnCreate", "mnExit",  "mnsKU",  "mnsSutGr",
                                   "mnParRep", "mnStore", "mnHelp", "mnAbout"};

void addVariants(TDataModule1 &dm, int count)
{
    addCatalogueType(dm, "Фирма", "УКМ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
    for (int i = 1; i <= count; ++i) {
        VariantParams v;
        v.varNum = QString::number(i);
        addVariant(dm, v);
    }
}

ProjectParams named(TDataModule1 &dm, const QString &name)
{
    ProjectParams p = newProjectParams(dm);
    p.name = name;
    return p;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    struct Main {
        TestData td;
        MessageRecorder rec;
        std::unique_ptr<TMainForm> form;
        TDataModule1 &dm() { return *td.data; }
        void build() { form = std::make_unique<TMainForm>(*td.data); }
        QAction *action(const QString &name) { return form->findChild<QAction *>(name); }
        QToolButton *button(const QString &name) { return form->findChild<QToolButton *>(name); }
        QStringList enabled()
        {
            QStringList out;
            for (const QString &c : AllCommands)
                if (action(c)->isEnabled())
                    out << c;
            return out;
        }
        CharacteristicGrid *grid(const char *name) { return form->findChild<CharacteristicGrid *>(name); }
        CursorGrid *dataGrid(const char *name) { return form->findChild<CursorGrid *>(name); }
    };

    static void clickRow(CursorGrid *grid, int row)
    {
        const QRect r = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    }

    static void click(QWidget *dialog, const char *button) { dialog->findChild<QPushButton *>(button)->click(); }

private slots:
    void commandStates_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QStringList>("enabled");
        QTest::newRow("no project") << "none" << AlwaysEnabled;
        QTest::newRow("one project without periods")
            << "one" << AlwaysEnabled + QStringList{"mnEdit",   "mnEconom",     "mnDelete",
                                                    "mnSaveAs", "mnAddSutGraf", "mnEditSutGraf"};
        QTest::newRow("two projects, the current one without periods")
            << "two" << AlwaysEnabled + QStringList{"mnOpen",   "mnEdit",       "mnEconom",     "mnDelete",
                                                    "mnSaveAs", "mnAddSutGraf", "mnEditSutGraf"};
        QTest::newRow("a project with periods")
            << "periods"
            << AlwaysEnabled + QStringList{"mnEdit",      "mnEconom",     "mnDelete",      "mnSaveAs",
                                           "mnRecalc",    "mnDiagSut",    "mnDiagPar",     "mnWordReport",
                                           "mnPdfReport", "mnAddSutGraf", "mnEditSutGraf", "mnAddSutGrafSpr",
                                           "mnKUAdd"};
        QTest::newRow("a project with variants")
            << "variants"
            << AlwaysEnabled + QStringList{"mnEdit",      "mnEconom",     "mnDelete",      "mnSaveAs",
                                           "mnRecalc",    "mnDiagSut",    "mnDiagPar",     "mnWordReport",
                                           "mnPdfReport", "mnAddSutGraf", "mnEditSutGraf", "mnAddSutGrafSpr",
                                           "mnKUAdd",     "mnKUEdit",     "mnKUDelete",    "mnWordRepKU",
                                           "mnPdfRepKU",  "mnKUPodbor",   "mnKUPodborAll"};
    }
    void commandStates()
    {
        QFETCH(QString, state);
        QFETCH(QStringList, enabled);
        Main m;
        if (state == "one" || state == "two")
            createProject(m.dm(), named(m.dm(), "Склад"));
        if (state == "two")
            createProject(m.dm(), named(m.dm(), "Контора"));
        if (state == "periods" || state == "variants")
            createExampleProject(m.dm());
        if (state == "variants")
            addVariants(m.dm(), 1);
        m.build();
        QStringList got = m.enabled();
        got.sort();
        enabled.sort();
        QCOMPARE(got, enabled);
        // A toolbar button is in the state of its menu item.
        for (QToolButton *b : m.form->findChild<QToolBar *>("ToolBar1")->findChildren<QToolButton *>())
            if (b->defaultAction() && b->defaultAction()->objectName().startsWith("mn"))
                QCOMPARE(b->isEnabled(), b->defaultAction()->isEnabled());
    }

    void commandStatesFollowTheCurrentVariant()
    {
        Main m;
        createExampleProject(m.dm());
        addVariants(m.dm(), 1);
        // A second variant without compensated periods, written as a bare row.
        appendRow(*m.dm().tblProj2, {{"VarNum", 2}, {"TipKU", "Пустой"}});
        m.build();
        QVERIFY(!m.action("mnKUPodbor")->isEnabled());
        clickRow(m.dataGrid("DBGrid2"), 0);
        QCoreApplication::processEvents();
        QCOMPARE(m.dm().tblProj2->asString("VarNum"), "1");
        QVERIFY(m.action("mnKUPodbor")->isEnabled());
        QVERIFY(m.action("mnKUPodborAll")->isEnabled());
    }

    void toolbarAndMenus()
    {
        Main m;
        m.build();
        QStringList bar;
        for (QAction *a : m.form->findChild<QToolBar *>("ToolBar1")->actions())
            if (a->isSeparator())
                bar << "|";
            else if (a->objectName().startsWith("mn"))
                bar << m.form->findChild<QToolBar *>("ToolBar1")->widgetForAction(a)->objectName();
        QCOMPARE(bar.join(' '),
                 "btnCreate btnOpen btnRecalc btnDiagSut btnDiagPar btnWordReport | btnAddSutGraf "
                 "btnEditSutGraf | btnKUAdd btnKUEdit btnKUDelete btnKUPodbor btnKUPodborAll btnWordRepKU | "
                 "btnHelp");
        QCOMPARE(m.button("btnOpen")->toolTip(), "Открыть существующий проект");
        QCOMPARE(m.button("btnDiagSut")->toolTip(), "Просмотр суточных графиков нагрузок...");
        QCOMPARE(m.button("btnWordRepKU")->toolTip(),
                 "Экспорт отчета отдельной конденсаторной установки в Microsoft Word...");
        QCOMPARE(m.form->findChild<QLabel *>("lblProcess")->text(), "Процесс:");
        QCOMPARE(m.form->progressBar()->maximum(), 100);

        // Every menu and item has a mnemonic, none twice in one menu (nor twice in the bar).
        const auto mnemonic = [](const QString &text) {
            const qsizetype at = text.indexOf(u'&');
            return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
        };
        const auto plain = [](QString text) { return text.remove(u'&'); };
        QStringList menus;
        QSet<QChar> barKeys;
        for (QAction *top : m.form->menuBar()->actions()) {
            QVERIFY2(!mnemonic(top->text()).isNull() && !barKeys.contains(mnemonic(top->text())),
                     qPrintable(top->text()));
            barKeys.insert(mnemonic(top->text()));
            QStringList items;
            QSet<QChar> used;
            for (QAction *a : top->menu()->actions()) {
                if (!a->isSeparator()) {
                    const QChar key = mnemonic(a->text());
                    QVERIFY2(!key.isNull() && !used.contains(key), qPrintable(a->text()));
                    used.insert(key);
                }
                items << (a->isSeparator() ? "-" : plain(a->text()));
            }
            menus << plain(top->text()) + ": " + items.join(" / ");
        }
        QCOMPARE(menus,
                 QStringList({"Проект: Создать... / Открыть... / Редактировать... / Экономические параметры... / "
                              "Питание и гармоники... / Удалить... / Сохранить как... / - / "
                              "Пересчет данных / Просмотр суточных графиков... / Просмотр диаграмм... / - / "
                              "Экспорт отчета в Microsoft Word... / Экспорт отчета в PDF... / - / Выход",
                              "Нагрузка: Добавить суточный график... / Редактировать суточный график... / - / "
                              "Добавить суточный график в справочник...",
                              "КУ: Добавить... / Редактировать... / Удалить... / - / Подбор модулей текущей КУ... / "
                              "Подбор модулей всех КУ... / - / Экспорт отчета в Microsoft Word... / "
                              "Экспорт отчета в PDF...",
                              "Справочники: Конденсаторные установки... / Характерные суточные графики...",
                              "Параметры: Параметры отчетов проекта... / - / Хранилище данных...",
                              "Помощь: Справка... / О программе..."}));
        QCOMPARE(m.action("mnCreate")->shortcut(), QKeySequence(QKeySequence::New));
        QCOMPARE(m.action("mnOpen")->shortcut(), QKeySequence(QKeySequence::Open));
        QCOMPARE(m.action("mnRecalc")->shortcut(), QKeySequence(Qt::Key_F5));
        QCOMPARE(m.action("mnWordReport")->shortcut(), QKeySequence(QKeySequence::Print));
        QCOMPARE(m.action("mnEdit")->statusTip(), "Редактировать параметры проекта");
    }

    void captionAndCharacteristics()
    {
        Main m;
        m.build();
        QCOMPARE(m.form->windowTitle(), "Korvan Vkp 1.0.");
        QCOMPARE(m.grid("StrGridS")->header(5), "Рср, кВт");
        QCOMPARE(m.grid("StrGridG")->header(3), "$Wрг, грн");
        QCOMPARE(m.grid("StrGridS")->value(2), "");

        // 0–8 h at 100 kW and 80 kVAr, 8–24 h at 50 kW and 30 kVAr; 21 and 260 working days.
        createExampleProject(m.dm(), "Цех 1");
        m.form->SetCaption();
        QCOMPARE(m.form->windowTitle(), "Korvan Vkp 1.0. Цех 1.");
        QCOMPARE(m.grid("StrGridS")->value(2), "1600");
        QCOMPARE(m.grid("StrGridS")->value(3), "1120");
        QCOMPARE(m.grid("StrGridS")->value(8), "1144");
        QCOMPARE(m.grid("StrGridM")->value(0), "33600");
        QCOMPARE(m.grid("StrGridG")->value(0), "416000");
        QCOMPARE(m.grid("StrGridG")->value(4), QString("5824"));
    }

    void gridsFollowTheCurrentRecords()
    {
        Main m;
        createExampleProject(m.dm());
        addVariants(m.dm(), 2);
        m.build();
        CursorGrid *periods = m.dataGrid("DBGrid1");
        CursorGrid *variants = m.dataGrid("DBGrid2");
        CursorGrid *compensated = m.dataGrid("DBGrid3");
        QCOMPARE(periods->model()->rowCount(), 2);
        QCOMPARE(periods->model()->headerData(2, Qt::Horizontal).toString(), "P, кВт");
        QCOMPARE(periods->model()->index(1, 2).data().toString(), "50");
        QCOMPARE(variants->model()->rowCount(), 2);

        clickRow(variants, 0);
        QCOMPARE(m.dm().tblProj2->recNo(), 0);
        QCOMPARE(compensated->model()->rowCount(), m.dm().tblProj3->recordCount());
        QCOMPARE(compensated->model()->rowCount(), 2);
        const qint64 first = m.dm().tblProj2->currentKod();
        clickRow(compensated, 1);
        QCOMPARE(m.dm().tblProj3->recNo(), 1);
        QCOMPARE(m.dataGrid("DBGrid4")->model()->rowCount(), m.dm().tblProj4->recordCount());
        clickRow(variants, 1);
        QVERIFY(m.dm().tblProj2->currentKod() != first);
        QCOMPARE(compensated->model()->index(0, 0).data().toString(), "0");
        QCOMPARE(compensated->currentIndex().row(), m.dm().tblProj3->recNo());
        // Moving the cursor elsewhere moves the grid.
        m.dm().tblProj2->first();
        QCOMPARE(variants->currentIndex().row(), 0);
    }

    void variantColumnsAndColours()
    {
        Main m;
        m.build();
        auto *model = m.dataGrid("DBGrid2")->cursorModel();
        const QColor cream(255, 251, 240), green(192, 220, 192), blue(166, 202, 240);
        const QList<std::pair<QString, QColor>> cases = {{"D$Wsk", cream}, {"Wp_m", green}, {"D$Ws_m", green},
                                                         {"Wp_g", blue},   {"Srok", blue},  {"Rejim", cream}};
        for (const auto &[field, colour] : cases) {
            const int c = model->columnOf(field);
            QVERIFY2(c >= 0, qPrintable(field));
            const QColor background = model->columns()[c].background.isValid() ? model->columns()[c].background : cream;
            QCOMPARE(background, colour);
        }
        // The lifecycle figures follow the yearly columns, on the yearly blue; the resonance
        // check's five columns close the grid.
        QCOMPARE(model->columnCount(), 58);
        QCOMPARE(model->headerData(model->columnOf("Srok"), Qt::Horizontal).toString(), "Срок, лет");
        QCOMPARE(model->headerData(model->columnCount() - 9, Qt::Horizontal).toString(), "cos(f) тр");
        for (int c = 50; c < 53; ++c) {
            QCOMPARE(model->headerData(c, Qt::Horizontal).toString(),
                     (QStringList{"ЧДД, грн", "ВНД, %", "Срок диск., лет"}[c - 50]));
            QCOMPARE(model->columns()[c].background, blue);
        }
        QCOMPARE(model->headerData(model->columnCount() - 1, Qt::Horizontal).toString(), "Ч опер., ч");
    }

    void createThroughTheDialog()
    {
        Main m;
        createProject(m.dm(), named(m.dm(), "Склад"));
        createProject(m.dm(), named(m.dm(), "Контора"));
        m.build();
        m.button("btnCreate")->click();
        TProjForm *dialog = m.form->projForm();
        QVERIFY(dialog->isVisible());
        auto *name = dialog->findChild<QLineEdit *>("EditName");
        QCOMPARE(name->text(), "Проект 3");
        name->setText("Цех 2");
        dialog->findChild<QLineEdit *>("EditTarifA")->setText("1,2");
        click(dialog, "btnOK");
        QVERIFY(!dialog->isVisible());
        QCOMPARE(m.dm().tblProj0->recordCount(), 3);
        QCOMPARE(m.dm().tblProj0->asString("Name"), "Цех 2");
        QCOMPARE(m.dm().tblProj0->asString("Tarif_a"), "1,2");
        QCOMPARE(m.form->windowTitle(), "Korvan Vkp 1.0. Цех 2.");
        QVERIFY(m.action("mnOpen")->isEnabled());

        // Cancel writes nothing.
        m.button("btnCreate")->click();
        click(dialog, "btnCancel");
        QCOMPARE(m.dm().tblProj0->recordCount(), 3);
    }

    // A new tariff reaches the grids with the edit; the recalculation after it changes nothing.
    void editRecalculatesAtOnce()
    {
        Main m;
        createExampleProject(m.dm(), "Цех 1");
        m.build();
        QCOMPARE(m.grid("StrGridS")->value(8), "1144");
        m.action("mnEdit")->trigger();
        TProjForm *dialog = m.form->projForm();
        QCOMPARE(dialog->findChild<QLineEdit *>("EditTarifA")->text(), "0,715");
        QCOMPARE(dialog->findChild<QLineEdit *>("EditMonth")->text(), "21");
        dialog->findChild<QLineEdit *>("EditTarifA")->setText("1");
        dialog->findChild<QLineEdit *>("EditName")->setText("Цех 1А");
        click(dialog, "btnOK");
        QCOMPARE(m.form->windowTitle(), "Korvan Vkp 1.0. Цех 1А.");
        m.dm().tblProj1->first();
        QCOMPARE(m.dm().tblProj1->asString("$Wa"), m.dm().tblProj1->asString("Wa"));
        QCOMPARE(m.grid("StrGridS")->value(8), "1600");

        m.button("btnRecalc")->click();
        QCOMPARE(m.grid("StrGridS")->value(8), "1600");
        QVERIFY(m.rec.all.isEmpty());
    }

    void deleteTheOnlyProject()
    {
        Main m;
        createExampleProject(m.dm(), "Цех 1");
        m.build();
        m.action("mnDelete")->trigger();
        QCOMPARE(m.rec.questions, QStringList{"Удалить текущий проект «Цех 1»?"});
        QCOMPARE(m.rec.cautiousQuestions, m.rec.questions);
        QCOMPARE(m.dm().tblProj0->recordCount(), 1);

        m.rec.answers = {true};
        m.action("mnDelete")->trigger();
        QCOMPARE(m.dm().tblProj0->recordCount(), 0);
        QCOMPARE(rowsIn(m.dm().store(), "project1.db"), 0);
        QCOMPARE(m.form->windowTitle(), "Korvan Vkp 1.0.");
        QCOMPARE(m.enabled(), AlwaysEnabled);
        QCOMPARE(m.grid("StrGridS")->value(0), "");
        QCOMPARE(m.dataGrid("DBGrid1")->model()->rowCount(), 0);
    }

    void openWithATabSelected()
    {
        Main m;
        for (const char *name : {"Склад", "Котельная", "Компрессорная"})
            createProject(m.dm(), named(m.dm(), name));
        m.dm().tblProj0->first();
        m.build();
        m.button("btnOpen")->click();
        TOpenForm *dialog = m.form->openForm();
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->findChild<QPushButton *>("btnOK")->isEnabled());
        TzqFilterTabControl *tabs = dialog->tabControl();
        QCOMPARE(tabs->tabCaptions(), QStringList({"А-Я", "К", "С"}));
        tabs->tabBar()->setCurrentIndex(1);
        QCOMPARE(dialog->grid()->model()->rowCount(), 2);
        clickRow(dialog->grid(), 1);
        QCOMPARE(m.dm().tblProj0->asString("Name"), "Компрессорная");
        QCOMPARE(dialog->findChild<QLineEdit *>("DBEditYearDay")->text(), "260");
        click(dialog, "btnOK");
        QCOMPARE(m.dm().tblProj0->asString("Name"), "Компрессорная");
        QVERIFY(!m.dm().tblProj0->filtered());
        QCOMPARE(m.dm().tblProj0->recordCount(), 3);
        QCOMPARE(m.form->windowTitle(), "Korvan Vkp 1.0. Компрессорная.");

        m.button("btnOpen")->click();
        QCOMPARE(tabs->tabBar()->currentIndex(), 0);
        QCOMPARE(dialog->grid()->model()->rowCount(), 3);
        click(dialog, "btnCancel");
    }

    void cancelOpenReturnsToTheProjectBefore()
    {
        Main m;
        for (const char *name : {"Склад", "Котельная", "Цех"})
            createProject(m.dm(), named(m.dm(), name));
        m.dm().tblProj0->first();
        m.build();
        m.form->SetCaption();
        m.button("btnOpen")->click();
        TOpenForm *dialog = m.form->openForm();
        clickRow(dialog->grid(), 1);
        clickRow(dialog->grid(), 2);
        // The window behind follows the choice at once.
        QCOMPARE(m.dm().tblProj0->asString("Name"), "Цех");
        dialog->tabControl()->tabBar()->setCurrentIndex(2);
        click(dialog, "btnCancel");
        QCOMPARE(m.dm().tblProj0->asString("Name"), "Склад");
        QVERIFY(!m.dm().tblProj0->filtered());
        QCOMPARE(dialog->tabControl()->tabBar()->currentIndex(), 0);
        QCOMPARE(m.form->windowTitle(), "Korvan Vkp 1.0. Склад.");
    }

    void saveAs_data()
    {
        QTest::addColumn<bool>("withGraph");
        QTest::addColumn<int>("maximum");
        QTest::newRow("two periods and two variants") << true << 4;
        QTest::newRow("a bare project") << false << 0;
    }
    void saveAs()
    {
        QFETCH(bool, withGraph);
        QFETCH(int, maximum);
        Main m;
        if (withGraph) {
            createExampleProject(m.dm(), "Цех 1");
            addVariants(m.dm(), 2);
        } else {
            createProject(m.dm(), named(m.dm(), "Цех 1"));
        }
        m.build();
        m.action("mnSaveAs")->trigger();
        auto *input = m.form->findChild<QInputDialog *>("SaveAsDialog");
        QVERIFY(input && input->isVisible());
        QCOMPARE(input->windowTitle(), "Сохранить как...");
        QCOMPARE(input->labelText(), "Наименование проекта:");
        QCOMPARE(input->textValue(), "Цех 1_1");
        input->accept();
        QCOMPARE(m.form->progressBar()->commandMaximum(), maximum);
        QCOMPARE(m.form->progressBar()->value(), 0);
        QCOMPARE(m.dm().tblProj0->recordCount(), 2);
        QCOMPARE(m.dm().tblProj0->asString("Name"), "Цех 1_1");
        QCOMPARE(m.form->windowTitle(), "Korvan Vkp 1.0. Цех 1_1.");
        QCOMPARE(m.dm().tblProj1->recordCount(), withGraph ? 2 : 0);
        QCOMPARE(m.dm().tblProj2->recordCount(), withGraph ? 2 : 0);
        QVERIFY(m.action("mnOpen")->isEnabled());
        QVERIFY(m.rec.all.isEmpty());
        // The open dialog's tabs know the copy.
        QCOMPARE(m.form->openForm()->tabControl()->keyCount("Ц"), 2);
    }

    void aFailedCopyCleansUp()
    {
        Main m;
        createExampleProject(m.dm(), "Цех 1");
        addVariants(m.dm(), 1);
        // A table that refuses new rows halfway through the copy.
        m.dm().store().exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON \"project2.db\" BEGIN SELECT RAISE(ABORT, 'занято'); END");
        m.build();
        m.action("mnSaveAs")->trigger();
        m.form->findChild<QInputDialog *>("SaveAsDialog")->accept();
        QCOMPARE(m.rec.errors.size(), 1);
        QVERIFY2(m.rec.errors.first().contains("занято"), qPrintable(m.rec.errors.first()));
        QCOMPARE(m.form->progressBar()->value(), 0);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(m.dm().tblProj0->recordCount(), 1);
        QCOMPARE(m.dm().tblProj0->asString("Name"), "Цех 1");
        QCOMPARE(rowsIn(m.dm().store(), "project1.db"), 2);
        QCOMPARE(m.form->windowTitle(), "Korvan Vkp 1.0. Цех 1.");
    }

    void saveAsCancelled()
    {
        Main m;
        createExampleProject(m.dm(), "Цех 1");
        m.build();
        m.action("mnSaveAs")->trigger();
        m.form->findChild<QInputDialog *>("SaveAsDialog")->reject();
        QCOMPARE(m.dm().tblProj0->recordCount(), 1);
        QCOMPARE(m.form->progressBar()->commandMaximum(), 100);
    }

    // An edit the store refuses (on a server: another user changed the project meanwhile) shows
    // its error, and the window opens again with what the user typed; OK then writes it.
    void refusedEditKeepsTypedValues()
    {
        Main m;
        createExampleProject(m.dm(), "Цех");
        m.build();
        const QString refusal = "Запись изменена другим пользователем. Обновите данные.";
        int refusals = 1;
        m.dm().tblProj0->beforePost = [&](TTable &) {
            if (refusals-- > 0)
                throw KorvanError(refusal);
        };
        m.action("mnEdit")->trigger();
        TProjForm *f = m.form->projForm();
        QVERIFY(f->isVisible());
        auto *name = f->findChild<QLineEdit *>("EditName");
        auto *owner = f->findChild<QLineEdit *>("EditOwner");
        name->setText("Цех А");
        owner->setText("Завод А");
        f->findChild<QPushButton *>("btnOK")->click();
        QCOMPARE(m.rec.errors, QStringList{refusal});
        QCOMPARE(m.dm().tblProj0->asString("Name"), "Цех");
        QTRY_VERIFY(f->isVisible());
        QCOMPARE(name->text(), "Цех А");
        QCOMPARE(owner->text(), "Завод А");

        f->findChild<QPushButton *>("btnOK")->click();
        QCOMPARE(m.rec.errors.size(), 1);
        QCOMPARE(m.dm().tblProj0->asString("Name"), "Цех А");
        QCOMPARE(m.form->windowTitle(), "Korvan Vkp 1.0. Цех А.");
        QTest::qWait(20);
        QVERIFY(!f->isVisible());
    }

    void helpAndAbout()
    {
        Main m;
        m.build();
        m.button("btnHelp")->click();
        QCOMPARE(HelpWindow::instance()->source(), QUrl("qrc:/help/index.html"));
        click(m.form->openForm(), "btnHelp");
        QCOMPARE(HelpWindow::instance()->source(), QUrl("qrc:/help/1.html"));
        HelpWindow::instance()->close();
        m.action("mnAbout")->trigger();
        QWidget *about = m.form->findChild<QDialog *>("AboutForm");
        QVERIFY(about->isVisible());
        QCOMPARE(about->windowTitle(), "О программе.");
        QCOMPARE(about->findChild<QLabel *>("lblPurpose")->text(),
                 "Программа выбора конденсаторных установок напряжением до 1 кВ.");
        click(about, "btnOK");
        QVERIFY(!about->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
