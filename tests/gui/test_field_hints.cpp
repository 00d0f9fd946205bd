// Field hints in the main window: the status bar under the mouse, the pop-up commands on the data
// and totals grids, and the hint dialog with its list of stored hints.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/hints/HintCommands.h"
#include "core/hints/Hints.h"
#include "gui/app/CharacteristicGrid.h"
#include "gui/app/TMainForm.h"
#include "gui/dialogs/DBListDlg.h"
#include "gui/dialogs/TDBListDlg.h"
#include "gui/ui/HintUnit.h"
#include "gui/ui/Lib.h"
#include "gui/widgets/CursorGrid.h"

#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestFieldHints : public QObject {
    Q_OBJECT

    struct Main {
        TestData td;
        MessageRecorder rec;
        std::unique_ptr<TMainForm> form;
        Main()
        {
            createExampleProject(*td.data);
            form = std::make_unique<TMainForm>(*td.data);
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        }
        TDataModule1 &dm() { return *td.data; }
        CursorGrid *dataGrid(const char *name) { return form->findChild<CursorGrid *>(name); }
        CharacteristicGrid *strGrid(const char *name) { return form->findChild<CharacteristicGrid *>(name); }
        THintForm *hintForm() { return form->hintForm(); }
        QString memo() { return hintForm()->findChild<QPlainTextEdit *>("MemoHint")->toPlainText(); }
        QPushButton *ok() { return hintForm()->findChild<QPushButton *>("btnOK"); }
        void menu(QWidget *grid, const char *item)
        {
            QAction *a = grid->findChild<QAction *>(item);
            QVERIFY(a);
            a->trigger();
        }
    };

    static QPoint cell(QAbstractItemView *grid, int row, int column)
    {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }

private slots:
    void deliveredHintsShowInTheStatusBar_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::newRow("load periods, P") << "DBGrid1" << 2 << "project1.db"
                                         << "P";
        QTest::newRow("load periods, $Ws") << "DBGrid1" << 13 << "project1.db"
                                           << "$Ws";
        QTest::newRow("load periods, Tgf") << "DBGrid1" << 7 << "project1.db"
                                           << "Tgf";
        QTest::newRow("daily totals, Wq") << "StrGridS" << 3 << "project0.db"
                                          << "Wq";
        QTest::newRow("monthly totals, $Ws_m") << "StrGridM" << 5 << "project0.db"
                                               << "$Ws_m";
        QTest::newRow("yearly totals, Wa_g") << "StrGridG" << 0 << "project0.db"
                                             << "Wa_g";
    }
    void deliveredHintsShowInTheStatusBar()
    {
        QFETCH(QString, grid);
        QFETCH(int, column);
        QFETCH(QString, table);
        QFETCH(QString, field);
        Main m;
        const QString hint = LookUpHint(m.dm(), table, field);
        QVERIFY(!hint.isEmpty());
        auto *view = m.form->findChild<QAbstractItemView *>(grid);
        view->scrollTo(view->model()->index(0, column));
        QTest::mouseMove(view->viewport(), cell(view, view->model()->rowCount() > 1 ? 1 : 0, column));
        QCOMPARE(m.form->statusHint(), hint);
    }

    // The catalogue windows and the selection dialog: hints under the mouse and the pop-up menu.
    void otherWindowsGridsCarryHints_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("table");
        QTest::newRow("installation catalogue, types") << "sKUForm"
                                                       << "DBGrid1"
                                                       << "sKU1.DB";
        QTest::newRow("typical graphs, industries") << "sSutGrFm"
                                                    << "DBGrid0"
                                                    << "sSutGraphic0.db";
        QTest::newRow("selection, companies") << "SelKU_Fm"
                                              << "DBGrid0"
                                              << "sKU0.db";
    }
    void otherWindowsGridsCarryHints()
    {
        QFETCH(QString, window);
        QFETCH(QString, grid);
        QFETCH(QString, table);
        Main m;
        QWidget *w = m.form->findChild<QWidget *>(window);
        QVERIFY2(w, qPrintable(window));
        CursorGrid *g = nullptr;
        for (CursorGrid *candidate : w->findChildren<CursorGrid *>())
            if (candidate->objectName() == grid)
                g = candidate;
        QVERIFY2(g, qPrintable(grid));
        QVERIFY(g->findChild<QAction *>("MenuItem1"));
        QVERIFY(g->findChild<QAction *>("MenuItem2"));
        // The grid reports the field under the mouse (the grid's own tests cover how); the
        // attachment puts its hint into the main window's status bar.
        const QString field = g->model()->headerData(0, Qt::Horizontal, Qt::UserRole).toString();
        const QString expected = LookUpHint(m.dm(), table, field.isEmpty() ? g->currentField() : field);
        QVERIFY(!expected.isEmpty());
        emit g->mouseOverField(table, field.isEmpty() ? g->currentField() : field);
        QCOMPARE(m.form->statusHint(), expected);
        emit g->mouseOverField(table, QString());
        QCOMPARE(m.form->statusHint(), QString());
    }

    void aColumnWithoutAHintClearsThePanel_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("withHint");
        QTest::addColumn<int>("withoutHint");
        QTest::newRow("data grid") << "DBGrid1"
                                   << "project1.db" << 2 << 3;
        QTest::newRow("totals grid") << "StrGridS"
                                     << "project0.db" << 2 << 3;
    }
    void aColumnWithoutAHintClearsThePanel()
    {
        QFETCH(QString, grid);
        QFETCH(QString, table);
        QFETCH(int, withHint);
        QFETCH(int, withoutHint);
        Main m;
        auto *view = m.form->findChild<QAbstractItemView *>(grid);
        const QString field = grid == "DBGrid1" ? QStringLiteral("Q") : QStringLiteral("Wq");
        QVERIFY(RemoveHint(m.dm(), {table, field}));
        QTest::mouseMove(view->viewport(), cell(view, 0, withHint));
        QVERIFY(!m.form->statusHint().isEmpty());
        QTest::mouseMove(view->viewport(), cell(view, 0, withoutHint));
        QCOMPARE(m.form->statusHint(), QString());
    }

    void theIndicatorColumnHasNoHint()
    {
        Main m;
        CursorGrid *grid = m.dataGrid("DBGrid1");
        const QPoint first = grid->viewport()->mapTo(grid, cell(grid, 0, 0));
        QVERIFY(!GetGridHintAt(m.dm(), grid, first.x(), first.y()).isEmpty());
        const QHeaderView *indicator = grid->verticalHeader();
        const QPoint onIndicator =
            indicator->mapTo(grid, QPoint(indicator->width() / 2, indicator->sectionViewportPosition(0) + 3));
        QCOMPARE(GetGridHintAt(m.dm(), grid, onIndicator.x(), onIndicator.y()), QString());
        // The mouse leaving the cells for the indicator clears the panel.
        QTest::mouseMove(grid->viewport(), cell(grid, 0, 0));
        QVERIFY(!m.form->statusHint().isEmpty());
        QTest::mouseMove(grid->verticalHeader()->viewport(), QPoint(indicator->width() / 2, 5));
        QCOMPARE(m.form->statusHint(), QString());
        // (-1, -1) asks for the current column.
        grid->setCurrentIndex(grid->model()->index(0, 6));
        QCOMPARE(GetGridHintAt(m.dm(), grid, -1, -1), LookUpHint(m.dm(), "project1.db", "Cosf"));
        QCOMPARE(GetGridHintAt(m.dm(), m.strGrid("StrGridS"), -1, -1), QString());
    }

    void rightClickOnTheDailyTotalsEditsWq()
    {
        Main m;
        CharacteristicGrid *grid = m.strGrid("StrGridS");
        QVERIFY(grid->currentColumn() != 3);
        const QString old = LookUpHint(m.dm(), "project0.db", "Wq");
        QVERIFY(m.dm().TableHints->locate(QStringList{"TableName", "FieldName"}, QVariantList{"project0.db", "Wq"}));
        const qint64 kod = m.dm().TableHints->currentKod();
        const int hints = m.dm().TableHints->recordCount();

        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, cell(grid, 1, 3));
        QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, cell(grid, 1, 3));
        QCOMPARE(grid->currentColumn(), 3);
        m.menu(grid, "MenuItem3");
        QVERIFY(m.hintForm()->isVisible());
        QCOMPARE(m.hintForm()->windowTitle(), QStringLiteral("Редактирование подсказки."));
        QCOMPARE(m.memo(), old);
        auto *memo = m.hintForm()->findChild<QPlainTextEdit *>("MemoHint");
        memo->selectAll();
        memo->insertPlainText("Реактивная энергия за сутки");
        m.ok()->click();
        QVERIFY(!m.hintForm()->isVisible());
        QCOMPARE(LookUpHint(m.dm(), "project0.db", "Wq"), QStringLiteral("Реактивная энергия за сутки"));
        QCOMPARE(m.dm().TableHints->recordCount(), hints);
        QCOMPARE(m.dm().TableHints->currentKod(), kod);
    }

    void rightClickMakesTheDataColumnCurrent()
    {
        Main m;
        CursorGrid *grid = m.dataGrid("DBGrid1");
        m.dm().tblProj1->first();
        QCOMPARE(grid->currentField(), QStringLiteral("T1"));
        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, cell(grid, 1, 4));
        QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, cell(grid, 1, 4));
        QCOMPARE(grid->currentField(), QStringLiteral("S"));
        QCOMPARE(m.dm().tblProj1->recNo(), 1);

        // Detach it, detach it again, then attach a new one.
        m.menu(grid, "MenuItem2");
        QVERIFY(m.rec.all.isEmpty());
        QVERIFY(!FindHint(m.dm(), {"project1.db", "S"}));
        QVERIFY(FindHint(m.dm(), {"project1.db", "T1"}));
        m.menu(grid, "MenuItem2");
        QCOMPARE(m.rec.informations, QStringList{"Подсказка не подключена."});

        m.menu(grid, "MenuItem1");
        QCOMPARE(m.hintForm()->windowTitle(), QStringLiteral("Ввод подсказки."));
        QCOMPARE(m.memo(), QString());
        QVERIFY(!m.ok()->isEnabled());
        auto *memo = m.hintForm()->findChild<QPlainTextEdit *>("MemoHint");
        memo->insertPlainText("Полная мощность");
        QVERIFY(m.ok()->isEnabled());
        memo->clear();
        QVERIFY(!m.ok()->isEnabled());
        memo->insertPlainText(QString(300, u'щ'));
        m.ok()->click();
        QCOMPARE(LookUpHint(m.dm(), "project1.db", "S"), QString(255, u'щ'));
        // The new hint shows at the next mouse-over.
        QTest::mouseMove(grid->viewport(), cell(grid, 0, 4));
        QCOMPARE(m.form->statusHint(), QString(255, u'щ'));
    }

    void cancelChangesNothing()
    {
        Main m;
        CursorGrid *grid = m.dataGrid("DBGrid2");
        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        const int hints = m.dm().TableHints->recordCount();
        CharacteristicGrid *totals = m.strGrid("StrGridM");
        QTest::mousePress(totals->viewport(), Qt::RightButton, {}, cell(totals, 0, 2));
        m.menu(totals, "MenuItem3");
        auto *memo = m.hintForm()->findChild<QPlainTextEdit *>("MemoHint");
        memo->insertPlainText(" и ещё");
        m.hintForm()->findChild<QPushButton *>("btnCancel")->click();
        QVERIFY(!m.hintForm()->isVisible());
        QCOMPARE(m.dm().TableHints->recordCount(), hints);
        QVERIFY(!LookUpHint(m.dm(), "project0.db", "Ws_m").endsWith(" и ещё"));
    }

    void aStoredHintIsChosenFromTheList()
    {
        Main m;
        CharacteristicGrid *grid = m.strGrid("StrGridG");
        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, cell(grid, 1, 1));
        QVERIFY(RemoveHint(m.dm(), {"project0.db", "Wq_g"}));
        m.menu(grid, "MenuItem3");
        QVERIFY(!m.ok()->isEnabled());
        m.hintForm()->findChild<QPushButton *>("btnHints")->click();
        TDBListDlg *dlg = m.hintForm()->listDlg()->dialog();
        QVERIFY(dlg && dlg->isVisible());
        // The column count 0 of the hint dialog shows as one column.
        QCOMPARE(dlg->listColumns(), 1);
        QCOMPARE(dlg->findChild<QSpinBox *>("seColCount")->value(), 1);
        const QString wanted = LookUpHint(m.dm(), "project0.db", "Wa_g");
        const QList<QListWidgetItem *> found = dlg->list()->findItems(wanted, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        dlg->list()->setCurrentItem(found.first());
        dlg->findChild<QPushButton *>("btnOK")->click();
        QCOMPARE(m.memo(), wanted);
        QVERIFY(m.ok()->isEnabled());
        m.ok()->click();
        QCOMPARE(LookUpHint(m.dm(), "project0.db", "Wq_g"), wanted);
    }
};

QTEST_MAIN(TestFieldHints)
#include "test_field_hints.moc"
