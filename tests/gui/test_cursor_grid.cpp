// The cursor grid: cells as the cursor shows them, the current row in step with the cursor both
// ways, edits through the cursor's buffer posted on leaving the row, and the field under the mouse.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/graphs/GraphCommands.h"
#include "gui/widgets/CursorGrid.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QStyleHints>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestCursorGrid : public QObject {
    Q_OBJECT

    static void clickRow(CursorGrid &grid, int row, int column = 0)
    {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.model()->index(row, column)).center());
    }

private slots:
    // Period times at their own precision; a one-minute graph reads in hours and minutes
    // throughout, never as a cut decimal; the column fits its values again in the next graph.
    void periodTimesShowWhole()
    {
        TestData td;
        createExampleProject(*td.data);
        CursorGrid grid(td.data->tblProj1);
        grid.setColumns({{"T1"}, {"T2"}, {"P"}});
        QAbstractItemModel *m = grid.model();
        const auto times = [&] {
            QStringList out;
            for (int r = 0; r < m->rowCount(); ++r)
                out << m->index(r, 0).data().toString() + "-" + m->index(r, 1).data().toString();
            return out;
        };
        QCOMPARE(times(), (QStringList{"0-8", "8-24"}));
        QList<LoadPeriod> minutes;
        for (int i = 0; i < 1440; ++i)
            minutes.append({i / 60.0, i == 1439 ? 24.0 : (i + 1) / 60.0, 100, 50});
        replaceProjectGraph(*td.data, minutes);
        QCOMPARE(m->rowCount(), 1440);
        QCOMPARE(m->index(0, 0).data().toString(), "0:00");
        QCOMPARE(m->index(6, 0).data().toString(), "0:06"); // 0,1 h, but the column reads one way
        QCOMPARE(m->index(1439, 0).data().toString(), "23:59");
        QCOMPARE(m->index(1439, 1).data().toString(), "24:00");
        QCOMPARE(m->index(1439, 0).data(Qt::EditRole).toString(), "23,9833333333333"); // edited as a number
        // Quarter hours keep their decimals.
        QList<LoadPeriod> quarters;
        for (int i = 0; i < 96; ++i)
            quarters.append({i / 4.0, (i + 1) / 4.0, 100, 50});
        replaceProjectGraph(*td.data, quarters);
        QCOMPARE(m->index(1, 0).data().toString(), "0,25");
        QCOMPARE(m->index(95, 1).data().toString(), "24");
    }

    void cellsAsTheCursorShowsThem()
    {
        TestData td;
        TTable &p = *td.data->tblProj0;
        appendRow(p, {{"Name", "Цех"}, {"Tarif_a", 0.3 - 0.1}, {"MonthDay", 21}, {"ProjDate", QDate(2024, 3, 5)}});
        appendRow(p, {{"Name", "Склад"}});
        CursorGrid grid(&p);
        grid.setColumns({{"Name", "Наименование"}, {"Tarif_a"}, {"MonthDay"}, {"ProjDate"}, {"Wa_m"}});
        QAbstractItemModel *m = grid.model();
        QCOMPARE(m->rowCount(), 2);
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), "Наименование");
        QCOMPARE(m->headerData(4, Qt::Horizontal).toString(), "Wрм, кВтч"); // the field's display label
        QCOMPARE(m->index(0, 1).data().toString(), "0,2");
        QCOMPARE(m->index(0, 2).data().toString(), "21");
        QCOMPARE(m->index(0, 3).data().toString(), "05.03.2024");
        QCOMPARE(m->index(1, 1).data().toString(), "");
        QCOMPARE(m->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight, int(Qt::AlignRight));
        QCOMPARE(m->index(0, 0).data(Qt::TextAlignmentRole).toInt() & Qt::AlignLeft, int(Qt::AlignLeft));
        QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable));
    }

    void backgrounds()
    {
        TestData td;
        appendRow(*td.data->tblProj0, {{"Name", "Цех"}});
        CursorGrid grid(td.data->tblProj0);
        grid.setDefaultBackground(QColor(255, 251, 240));
        grid.setColumns({{"Name"}, {"Wa_m", "", QColor(192, 220, 192)}});
        QCOMPARE(grid.model()->index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 251, 240));
        QCOMPARE(grid.model()->index(0, 1).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(192, 220, 192));
    }

    void currentRowBothWays()
    {
        TestData td;
        TTable &p = *td.data->tblProj0;
        for (const char *n : {"А", "Б", "В"})
            appendRow(p, {{"Name", n}});
        appendRow(*td.data->tblProj1, {{"T1", 0}, {"T2", 24}, {"P", 10}, {"Q", 5}});
        CursorGrid grid(&p), periods(td.data->tblProj1);
        grid.setColumns({{"Name"}});
        periods.setColumns({{"T1"}, {"P"}});
        grid.resize(300, 200);
        grid.show();
        QCOMPARE(grid.currentIndex().row(), 2);
        QCOMPARE(periods.model()->rowCount(), 1);

        clickRow(grid, 0, 0);
        QCOMPARE(p.asString("Name"), "А");
        QCOMPARE(periods.model()->rowCount(), 0);
        QCOMPARE(grid.model()->headerData(0, Qt::Vertical).toString(), "►");
        QCOMPARE(grid.model()->headerData(2, Qt::Vertical).toString(), "");

        p.last();
        QCOMPARE(grid.currentIndex().row(), 2);
        QCOMPARE(periods.model()->rowCount(), 1);
        QCOMPARE(periods.model()->index(0, 1).data().toString(), "10");

        // Rows added and removed through the cursor show at once.
        appendRow(p, {{"Name", "Г"}});
        QCOMPARE(grid.model()->rowCount(), 4);
        QCOMPARE(grid.currentIndex().row(), 3);
        p.remove();
        QCOMPARE(grid.model()->rowCount(), 3);
        QCOMPARE(grid.currentIndex().row(), p.recNo());
    }

    void editsPostOnLeavingTheRow()
    {
        TestData td;
        TTable &companies = *td.data->tblsKU0;
        const int before = companies.recordCount();
        QVERIFY(before >= 2);
        CursorGrid grid(&companies);
        grid.setColumns({{"Company", "Компания"}});
        grid.setReadOnly(false);
        grid.resize(300, 300);
        grid.show();
        QAbstractItemModel *m = grid.model();
        QVERIFY(m->flags(m->index(0, 0)) & Qt::ItemIsEditable);

        clickRow(grid, 0);
        QVERIFY(m->setData(m->index(0, 0), "Новая компания"));
        QCOMPARE(companies.state(), TTable::State::Edit);
        QCOMPARE(m->index(0, 0).data().toString(), "Новая компания");
        QCOMPARE(m->headerData(0, Qt::Vertical).toString(), "I");
        QCOMPARE(rowsIn(td.data->store(), "sKU0.db"), before);

        clickRow(grid, 1);
        QCOMPARE(companies.state(), TTable::State::Browse);
        QCOMPARE(companies.recNo(), 1);
        companies.first();
        QCOMPARE(companies.asString("Company"), "Новая компания");

        // Escape drops unposted edits.
        QVERIFY(m->setData(m->index(0, 0), "Другая"));
        QTest::keyClick(&grid, Qt::Key_Escape);
        QCOMPARE(companies.state(), TTable::State::Browse);
        QCOMPARE(m->index(0, 0).data().toString(), "Новая компания");
    }

    void aRefusedPostKeepsTheRow()
    {
        TestData td;
        MessageRecorder rec;
        TTable &companies = *td.data->tblsKU0;
        CursorGrid grid(&companies);
        grid.setColumns({{"Company"}});
        grid.setReadOnly(false);
        grid.resize(300, 300);
        grid.show();
        clickRow(grid, 0);
        QVERIFY(grid.model()->setData(grid.model()->index(0, 0), ""));
        clickRow(grid, 1);
        QCOMPARE(rec.errors, QStringList{"Заполнение поля \"Компания\" обязательно."});
        QCOMPARE(companies.recNo(), 0);
        QCOMPARE(companies.state(), TTable::State::Edit);
        QCOMPARE(grid.currentIndex().row(), 0);
    }

    void reportsTheFieldUnderTheMouse()
    {
        TestData td;
        appendRow(*td.data->tblProj0, {{"Name", "Цех"}});
        CursorGrid grid(td.data->tblProj0);
        grid.setColumns({{"Name"}, {"Tarif_a"}});
        grid.resize(400, 200);
        grid.show();
        QSignalSpy spy(&grid, &CursorGrid::mouseOverField);
        const QPoint cell = grid.visualRect(grid.model()->index(0, 1)).center();
        QCOMPARE(grid.fieldAt(cell), "Tarif_a");
        QTest::mouseMove(grid.viewport(), cell);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.last(), QVariantList({"project0.db", "Tarif_a"}));
        // Below the last row: no field.
        QTest::mouseMove(grid.viewport(), QPoint(grid.viewport()->width() - 5, grid.viewport()->height() - 5));
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.last(), QVariantList({"project0.db", ""}));
        grid.setCurrentIndex(grid.model()->index(0, 1));
        QCOMPARE(grid.currentField(), "Tarif_a");
    }

    // Keys as they arrive: to the grid, then to the cell's editor once it is open.
    static void type(const QString &text)
    {
        for (const QChar ch : text) {
            QCoreApplication::processEvents();
            // Letters of any alphabet, as a keyboard layout sends them.
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(ch),
                                Qt::NoModifier);
        }
    }

    // Typing right after a click on the current cell edits that cell, even when its first letter
    // starts another row; Escape drops the cell's typing, a second one the row's edits.
    void typingEditsTheCurrentCell()
    {
        TestData td;
        TTable &companies = *td.data->tblsKU0;
        QVERIFY(companies.recordCount() >= 2);
        companies.first();
        const QString first = companies.asString("Company");
        companies.next();
        const QString second = companies.asString("Company");
        CursorGrid grid(&companies);
        grid.setColumns({{"Company"}});
        grid.setReadOnly(false);
        grid.resize(300, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QApplication::setActiveWindow(&grid);
        grid.setFocus();
        clickRow(grid, 0);
        clickRow(grid, 0);
        type(second.left(1) + "1");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::qWait(QApplication::styleHints()->mouseDoubleClickInterval() + 100);
        QCOMPARE(grid.currentIndex().row(), 0);
        QCOMPARE(companies.recNo(), 0);
        QCOMPARE(companies.asString("Company"), second.left(1) + "1");
        QCOMPARE(grid.model()->index(1, 0).data().toString(), second);

        // Escape in the editor keeps the cell's text; the next one cancels the row's edit.
        type("Z");
        QVERIFY(grid.editing());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCoreApplication::processEvents();
        QCOMPARE(grid.model()->index(0, 0).data().toString(), second.left(1) + "1");
        QCOMPARE(companies.state(), TTable::State::Edit);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(companies.state(), TTable::State::Browse);
        QCOMPARE(companies.asString("Company"), first);
    }

    // A grid the user only reads widens its number columns to the widest value after each change
    // of the rows, as it does for names.
    void readOnlyColumnsFitTheirValues()
    {
        TestData td;
        TTable &p = *td.data->tblProj0;
        appendRow(p, {{"Name", "Цех"}, {"Tarif_a", 1}});
        CursorGrid grid(&p);
        grid.setColumns({{"Name"}, {"Tarif_a"}});
        grid.resize(600, 200);
        grid.show();
        const int before = grid.columnWidth(1);
        auto fits = [&grid](int row) {
            const QString text = grid.model()->index(row, 1).data().toString();
            return grid.columnWidth(1) > grid.fontMetrics().horizontalAdvance(text);
        };
        appendRow(p, {{"Name", "Склад"}, {"Tarif_a", 438123456.125}});
        QVERIFY(grid.columnWidth(1) > before);
        QVERIFY(fits(1));
        // The value changed in place (same number of rows) widens it too.
        p.edit();
        p.setValue("Tarif_a", 1234567890123.25);
        p.post();
        QVERIFY(fits(1));
    }
};

QTEST_MAIN(TestCursorGrid)
#include "test_cursor_grid.moc"
