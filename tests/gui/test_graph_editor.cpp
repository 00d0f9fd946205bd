// The load graph editor through its widgets: the fill, the table's check with its messages and
// the cell it makes current, the row and table commands with their buffers and button states,
// typing in the cells, the chart, and the meter file import.
#include "MessageRecorder.h"

#include "gui/graphs/MeterImportDialog.h"
#include "gui/graphs/StepChart.h"
#include "gui/graphs/TAddSutGrF.h"
#include "gui/ui/SaveQuestion.h"
#include "gui/widgets/StepButton.h"

#include <QAbstractAxis>
#include <QChart>
#include <QCheckBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QStyleHints>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

const QStringList ProjectHeaders{"Т1, ч", "Т2, ч", "P, кВт", "Q, кВАр"};
const QStringList PercentHeaders{"Т1, ч", "Т2, ч", "P, %", "Q, %"};

QList<QStringList> parseRows(const QString &text)
{
    // "0 1 5 3|1 2 6 4": rows by '|', cells by ' ', '_' for an empty cell.
    QList<QStringList> rows;
    for (const QString &row : text.split('|')) {
        QStringList cells = row.split(' ');
        for (QString &c : cells)
            if (c == "_")
                c.clear();
        rows << cells;
    }
    return rows;
}

} // namespace

class TestGraphEditor : public QObject {
    Q_OBJECT

    static QPushButton *button(TAddSutGrF &f, const char *name) { return f.findChild<QPushButton *>(name); }
    static QLineEdit *edit(TAddSutGrF &f, const char *name) { return f.findChild<QLineEdit *>(name); }
    static void click(TAddSutGrF &f, const char *name)
    {
        QPushButton *b = button(f, name);
        QVERIFY2(b && b->isEnabled(), name);
        b->click();
    }
    static QStringList column(TAddSutGrF &f, int c)
    {
        QStringList out;
        for (const QStringList &row : f.rows())
            out << row[c];
        return out;
    }
    static void selectCell(TAddSutGrF &f, int row, int col)
    {
        f.grid()->setCurrentIndex(f.grid()->model()->index(row, col));
    }
    static QPoint currentCell(TAddSutGrF &f)
    {
        return {f.grid()->currentIndex().row(), f.grid()->currentIndex().column()};
    }
    static QString valueTitle(TAddSutGrF &f)
    {
        const auto axes = f.chart()->chart()->axes(Qt::Vertical);
        return axes.isEmpty() ? QString() : axes.first()->titleText();
    }

private slots:
    void captionsHintsAndDefaults()
    {
        TAddSutGrF f;
        QCOMPARE(f.windowTitle(), "Редактирование суточного графика.");
        const QList<QPair<QString, QString>> expected{
            {"btnPut", "Заполнить таблицу"},
            {"btnAddRow", "Добавить пустую строку таблицы"},
            {"btnInsertRow", "Вставить пустую строку таблицы"},
            {"btnDeleteRow", "Удалить строку таблицы"},
            {"btnCopy", "Копировать содержимое строки таблицы"},
            {"btnCut", "Вырезать содержимое строки таблицы"},
            {"btnPaste", "Вставить скопированное (вырезанное) содержимое строки таблицы"},
            {"btnCopyTable", "Копировать таблицу"},
            {"btnPasteTable", "Вставить скопированную таблицу"},
            {"btnClear", "Очистить таблицу"},
            {"btnSprav", "Вставить характерный суточный график в таблицу"},
            {"btnImport", "Заполнить таблицу по файлу измерений"},
            {"btnTest", "Тестировать таблицу"},
            {"Button1", "Построение графиков"}};
        for (const auto &[name, hint] : expected) {
            QPushButton *b = f.findChild<QPushButton *>(name);
            QVERIFY2(b, qPrintable(name));
            QCOMPARE(b->toolTip(), hint);
        }
        QCOMPARE(edit(f, "EditB")->text(), "0");
        QCOMPARE(edit(f, "EditE")->text(), "24");
        QCOMPARE(edit(f, "EditShag")->text(), "1");
        QVERIFY(f.findChild<QCheckBox *>("chkClearPQ")->isChecked());
        QVERIFY(!button(f, "btnPaste")->isEnabled());
        QVERIFY(!button(f, "btnPasteTable")->isEnabled());
        QCOMPARE(f.chart()->chart()->title(), "Суточные графики P = f(T), Q = f(T).");
        f.prime(ProjectHeaders, {}, true);
        QCOMPARE(f.grid()->model()->headerData(3, Qt::Horizontal).toString(), "Q, кВАр");
        QCOMPARE(f.grid()->model()->rowCount(), 1);
    }

    void fill_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("lastT1");
        QTest::addColumn<QString>("lastT2");
        QTest::newRow("defaults") << "0"
                                  << "24"
                                  << "1"
                                  << "" << 24 << "23"
                                  << "24";
        QTest::newRow("0 to 1 by 1 refused") << "0"
                                             << "1"
                                             << "1"
                                             << "Значение поля \"Период замеров, ч\" должно быть меньше разности "
                                                "значений полей \"Окончание замеров, ч\" и "
                                                "\"Начало замеров, ч\"."
                                             << 1 << "8"
                                             << "9";
        QTest::newRow("0 to 1 by 0,5") << "0"
                                       << "1"
                                       << "0,5"
                                       << "" << 2 << "0,5"
                                       << "1";
        QTest::newRow("0 to 24 by 5 ends at 25") << "0"
                                                 << "24"
                                                 << "5"
                                                 << "" << 5 << "20"
                                                 << "25";
        QTest::newRow("end above 24")
            << "0"
            << "24,1"
            << "1"
            << "Значение поля \"Окончание замеров, ч\" должно быть меньше либо равно 24 часам." << 1 << "8"
            << "9";
        QTest::newRow("end not after start")
            << "8"
            << "8"
            << "1"
            << "Значение поля \"Окончание замеров, ч\" должно быть больше значения поля \"Начало замеров, ч\"." << 1
            << "8"
            << "9";
    }
    void fill()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, step);
        QFETCH(QString, error);
        QFETCH(int, rows);
        QFETCH(QString, lastT1);
        QFETCH(QString, lastT2);
        MessageRecorder rec;
        TAddSutGrF f;
        f.prime(ProjectHeaders, {{"8", "9", "10", "5"}}, true);
        f.show();
        edit(f, "EditB")->setText(start);
        edit(f, "EditE")->setText(end);
        edit(f, "EditShag")->setText(step);
        click(f, "btnPut");
        QCOMPARE(rec.errors, error.isEmpty() ? QStringList{} : QStringList{error});
        QCOMPARE(f.rows().size(), rows);
        QCOMPARE(f.rows().last()[0], lastT1);
        QCOMPARE(f.rows().last()[1], lastT2);
        if (error.isEmpty()) {
            QCOMPARE(f.rows().first()[0], start);
            QCOMPARE(f.rows().first()[2], ""); // chkClearPQ
        } else {
            QCOMPARE(f.rows().first()[2], "10");
        }
    }

    void fillWithDefaultsThenTestFindsTheFirstEmptyPower()
    {
        MessageRecorder rec;
        TAddSutGrF f;
        f.prime(ProjectHeaders, {}, true);
        f.show();
        click(f, "btnPut");
        QCOMPARE(f.rows().size(), 24);
        QCOMPARE(f.rows()[1], (QStringList{"1", "2", "", ""}));
        selectCell(f, 10, 0);
        click(f, "btnTest");
        QCOMPARE(rec.errors, QStringList{"Заполнение всех ячеек таблицы обязательно."});
        QCOMPARE(currentCell(f), QPoint(0, 2));
        QCOMPARE(f.focusWidget(), f.grid());
    }

    void fillEndingAt25IsRefusedByTheTest()
    {
        MessageRecorder rec;
        TAddSutGrF f;
        f.prime(ProjectHeaders, {}, true);
        f.show();
        edit(f, "EditShag")->setText("5");
        click(f, "btnPut");
        QCOMPARE(column(f, 1), (QStringList{"5", "10", "15", "20", "25"}));
        for (int r = 0; r < 5; ++r) {
            f.grid()->model()->setData(f.grid()->model()->index(r, 2), "10");
            f.grid()->model()->setData(f.grid()->model()->index(r, 3), "5");
        }
        click(f, "btnTest");
        QCOMPARE(rec.errors,
                 QStringList{"Для периода замеров значение поля \"Т2\" должно быть меньше либо равно 24 часам."});
        QCOMPARE(currentCell(f), QPoint(4, 1));
    }

    void fillKeepsPowersWhenAsked()
    {
        TAddSutGrF f;
        f.prime(ProjectHeaders, {{"0", "24", "7", "3"}}, true);
        f.findChild<QCheckBox *>("chkClearPQ")->setChecked(false);
        click(f, "btnPut");
        QCOMPARE(f.rows().size(), 24);
        QCOMPARE(f.rows()[0], (QStringList{"0", "1", "7", "3"}));
        QCOMPARE(f.rows()[1], (QStringList{"1", "2", "", ""}));
    }

    void fillStepButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("after");
        QTest::newRow("end +1 at 24 stays") << "SpinButtonE1"
                                            << "24" << true << "24";
        QTest::newRow("end +0,1 at 23,9 gives 24") << "SpinButtonE01"
                                                   << "23,9" << true << "24";
        QTest::newRow("start -1 at 1 gives 0") << "SpinButtonB1"
                                               << "1" << false << "0";
        QTest::newRow("step -0,1 at 0,1 gives 0") << "btnA01"
                                                  << "0,1" << false << "0";
        QTest::newRow("step -1 at 0,5 stays") << "btnA1"
                                              << "0,5" << false << "0,5";
        QTest::newRow("start +1 at 3") << "SpinButtonB1"
                                       << "3" << true << "4";
    }
    void fillStepButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, before);
        QFETCH(bool, up);
        QFETCH(QString, after);
        MessageRecorder rec;
        TAddSutGrF f;
        auto *b = f.findChild<StepButton *>(button);
        QVERIFY(b);
        auto *target = qobject_cast<QLineEdit *>(b->target());
        target->setText(before);
        (up ? b->upButton() : b->downButton())->click();
        QCOMPARE(target->text(), after);
        QVERIFY(rec.all.isEmpty());
    }

    void checkTable_data()
    {
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QPoint>("cell");
        const QString t2 = "Для периода замеров значение поля \"Т2\" должно быть меньше либо равно 24 часам.";
        const QString order = "Для периода замеров значение поля \"Т1\" должно быть меньше значения поля \"Т2\".";
        const QString touch = "Значение поля \"Т2\" предыдущего периода замеров должно равняться значению поля \"Т1\" "
                              "последующего периода.";
        const QString percent = "Значения полей \"P, %\" и \"Q, %\" должны быть в пределах от 0 до 100 %.";
        QTest::newRow("empty cells column by column") << ProjectHeaders << "0 8 1 _|8 _ x 1"
                                                      << "Заполнение всех ячеек таблицы обязательно." << QPoint(1, 1);
        QTest::newRow("not a number, after all are filled")
            << ProjectHeaders << "0 8 1 1|8 24 1,2,3 x"
            << "Ошибочное значение для числового параметра." << QPoint(1, 2);
        QTest::newRow("T2 of 24,5 before the order") << ProjectHeaders << "0 8 1 1|30 24,5 1 1" << t2 << QPoint(1, 1);
        QTest::newRow("T1 equal to T2") << ProjectHeaders << "0 8 1 1|8 8 1 1" << order << QPoint(1, 0);
        QTest::newRow("8 followed by 8,5") << ProjectHeaders << "0 8 1 1|8,5 24 1 1" << touch << QPoint(1, 0);
        QTest::newRow("150 kW passes") << ProjectHeaders << "0 8 150 1|8 24 1 1"
                                       << "" << QPoint(0, 0);
        QTest::newRow("150 % refused") << PercentHeaders << "0 8 100 1|8 24 1 150" << percent << QPoint(1, 3);
        QTest::newRow("P before Q in percent") << PercentHeaders << "0 8 100 101|8 24 101 1" << percent << QPoint(1, 2);
        QTest::newRow("one percent header only") << QStringList{"Т1, ч", "Т2, ч", "P, %", "Q, кВАр"} << "0 24 150 150"
                                                 << "" << QPoint(0, 0);
    }
    void checkTable()
    {
        QFETCH(QStringList, headers);
        QFETCH(QString, rows);
        QFETCH(QString, message);
        QFETCH(QPoint, cell);
        MessageRecorder rec;
        TAddSutGrF f;
        const QList<QStringList> table = parseRows(rows);
        f.prime(headers, table, false);
        f.show();
        selectCell(f, 0, 3);
        click(f, "btnTest");
        if (message.isEmpty()) {
            QCOMPARE(rec.informations, QStringList{"Ошибки не найдены."});
            QVERIFY(rec.errors.isEmpty());
            QCOMPARE(currentCell(f), QPoint(0, 3));
        } else {
            QCOMPARE(rec.errors, QStringList{message});
            QCOMPARE(currentCell(f), cell);
            QVERIFY(rec.informations.isEmpty());
        }
        QCOMPARE(f.rows(), table);

        // OK runs the same check and stays open when it fails.
        rec.clear();
        QSignalSpy accepted(&f, &QDialog::accepted);
        click(f, "btnOK");
        QCOMPARE(accepted.count(), message.isEmpty() ? 1 : 0);
        QCOMPARE(f.isVisible(), !message.isEmpty());
    }

    void deletingTheOnlyRowLeavesAnEmptyRow()
    {
        TAddSutGrF f;
        f.prime(ProjectHeaders, {{"0", "24", "5", "3"}}, true);
        f.show();
        for (const char *b : {"btnDeleteRow", "btnCopyTable", "btnClear", "btnCopy", "btnCut"})
            QVERIFY2(button(f, b)->isEnabled(), b);
        click(f, "btnDeleteRow");
        QCOMPARE(f.rows(), (QList<QStringList>{{"", "", "", ""}}));
        for (const char *b : {"btnDeleteRow", "btnCopyTable", "btnClear", "btnCopy", "btnCut"})
            QVERIFY2(!button(f, b)->isEnabled(), b);
        QVERIFY(button(f, "btnAddRow")->isEnabled());
    }

    void rowCommands()
    {
        TAddSutGrF f;
        f.prime(ProjectHeaders, parseRows("0 8 1 2|8 16 3 4|16 24 5 6"), true);
        f.show();
        selectCell(f, 1, 2);
        click(f, "btnInsertRow");
        QCOMPARE(column(f, 0), (QStringList{"0", "", "8", "16"}));
        QCOMPARE(currentCell(f).x(), 1);
        click(f, "btnDeleteRow");
        QCOMPARE(column(f, 0), (QStringList{"0", "8", "16"}));
        click(f, "btnAddRow");
        QCOMPARE(f.rows().size(), 4);
        QCOMPARE(currentCell(f), QPoint(3, 0));
        click(f, "btnClear");
        QCOMPARE(f.rows().size(), 4);
        QCOMPARE(column(f, 3), (QStringList{"", "", "", ""}));
    }

    void cutAndPasteIntoAnotherRow()
    {
        TAddSutGrF f;
        f.prime(ProjectHeaders, parseRows("0 8 1 2|8 16 3 4|16 24 5 6"), true);
        f.show();
        QVERIFY(!button(f, "btnPaste")->isEnabled());
        selectCell(f, 0, 0);
        click(f, "btnCut");
        QCOMPARE(f.rows()[0], (QStringList{"", "", "", ""}));
        QVERIFY(!button(f, "btnCut")->isEnabled()); // the row is empty now
        selectCell(f, 2, 1);
        click(f, "btnPaste");
        QCOMPARE(f.rows()[2], (QStringList{"0", "8", "1", "2"}));
        QCOMPARE(f.rows().size(), 3);

        // The row buffer outlives the use of the dialog and crosses the modes.
        f.prime(PercentHeaders, {}, false);
        QVERIFY(button(f, "btnPaste")->isEnabled());
        click(f, "btnPaste");
        QCOMPARE(f.rows(), (QList<QStringList>{{"0", "8", "1", "2"}}));
    }

    void tablePasteTakesTheCopiedSize()
    {
        TAddSutGrF f;
        f.prime(ProjectHeaders, {}, true);
        f.show();
        click(f, "btnPut");
        f.grid()->model()->setData(f.grid()->model()->index(23, 2), "77");
        click(f, "btnCopyTable");
        QVERIFY(button(f, "btnPasteTable")->isEnabled());
        f.prime(PercentHeaders, parseRows("0 8 1 2|8 24 3 4"), false);
        click(f, "btnPasteTable");
        QCOMPARE(f.rows().size(), 24);
        QCOMPARE(f.rows()[23], (QStringList{"23", "24", "77", ""}));
        QCOMPARE(f.grid()->model()->rowCount(), 24);
    }

    // Keys go where the keyboard focus is: the grid, then the cell's editor once typing started.
    static void type(TAddSutGrF &f, const QString &text)
    {
        for (const QChar ch : text) {
            QCoreApplication::processEvents(); // a closed cell editor goes away first
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : f.grid();
            QTest::keyClick(target, ch.toLatin1());
        }
    }

    void typingInTheCells()
    {
        TAddSutGrF f;
        f.prime(ProjectHeaders, {}, true);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        selectCell(f, 0, 0);
        QApplication::setActiveWindow(&f);
        f.grid()->setFocus();
        QVERIFY(!button(f, "btnCopy")->isEnabled());
        // The row's buttons follow the first key, before the cell is left.
        type(f, "1");
        QVERIFY(button(f, "btnCopy")->isEnabled());
        QVERIFY(button(f, "btnClear")->isEnabled());
        // A minus and letters are refused; the point types the comma.
        type(f, "a-2.5");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCOMPARE(f.rows()[0][0], "12,5");
        QCOMPARE(currentCell(f), QPoint(0, 1));
        type(f, "24");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(f.rows()[0][1], "24");
        QVERIFY(button(f, "btnCopy")->isEnabled());
        // Text still being typed counts when a command runs.
        selectCell(f, 0, 2);
        type(f, "7");
        click(f, "btnCopy");
        QCOMPARE(f.rows()[0][2], "7");
    }

    static void clickCell(TAddSutGrF &f, int row, int col)
    {
        const QRect cell = f.grid()->visualRect(f.grid()->model()->index(row, col));
        QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // Keys typed at once after a click on the current cell go into that cell, never into a row
    // found by its first letters; Escape takes the typing back; the grid never searches.
    void typingRightAfterAClickEditsThatCell()
    {
        TAddSutGrF f;
        f.prime(ProjectHeaders, parseRows("0 1 10 1|1 2 20 2|2 3 40 3|3 4 25 4|4 5 30 5|5 6 35 6|6 7 40 7|7 24 45 8"),
                true);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QApplication::setActiveWindow(&f);
        f.grid()->setFocus();
        clickCell(f, 4, 2);
        clickCell(f, 4, 2); // the cell is current and selected: a click that may start its editor
        type(f, "45");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::qWait(QApplication::styleHints()->mouseDoubleClickInterval() + 100);
        QCOMPARE(column(f, 2), (QStringList{"10", "20", "40", "25", "45", "35", "40", "45"}));
        QCOMPARE(currentCell(f), QPoint(4, 2));
        QVERIFY(!f.grid()->editing());

        // On a cell that is only current, the keys start typing too.
        selectCell(f, 6, 3);
        type(f, "9");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f.rows()[6][3], "9");

        // Escape gives the cell back its text though each key was written at once.
        selectCell(f, 1, 2);
        type(f, "77");
        QCOMPARE(f.rows()[1][2], "77");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCoreApplication::processEvents();
        QCOMPARE(f.rows()[1][2], "20");
        QVERIFY(f.isVisible()); // the first Escape belongs to the cell, not to the dialog

        // A click on the current cell with no key after it opens its editor.
        clickCell(f, 2, 2);
        clickCell(f, 2, 2);
        QTRY_VERIFY(f.grid()->editing());
    }

    void newRowTakesTheKeyboard()
    {
        TAddSutGrF f;
        f.prime(ProjectHeaders, parseRows("0 12 10 1|12 24 20 2"), true);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QApplication::setActiveWindow(&f);
        selectCell(f, 0, 3);
        click(f, "btnAddRow");
        QCOMPARE(currentCell(f), QPoint(2, 0));
        QCOMPARE(QApplication::focusWidget(), f.grid());
        type(f, "24");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(f.rows()[2][0], "24");
        selectCell(f, 1, 2);
        click(f, "btnInsertRow");
        QCOMPARE(currentCell(f), QPoint(1, 0));
        QCOMPARE(QApplication::focusWidget(), f.grid());
    }

    void chart_data()
    {
        QTest::addColumn<bool>("p");
        QTest::addColumn<bool>("q");
        QTest::addColumn<QStringList>("series");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("axis");
        QTest::newRow("both") << true << true << QStringList{"P = f(T)", "Q = f(T)"}
                              << "Суточные графики: P = f(T); Q = f(T)"
                              << "P, кВт; Q, кВАр";
        QTest::newRow("P only") << true << false << QStringList{"P = f(T)"} << "Суточный график: P = f(T)"
                                << "P, кВт";
        QTest::newRow("Q only") << false << true << QStringList{"Q = f(T)"} << "Суточный график: Q = f(T)"
                                << "Q, кВАр";
        QTest::newRow("neither") << false << false << QStringList{} << "Суточные графики: P = f(T); Q = f(T)"
                                 << "P, кВт; Q, кВАр";
    }
    void chart()
    {
        QFETCH(bool, p);
        QFETCH(bool, q);
        QFETCH(QStringList, series);
        QFETCH(QString, title);
        QFETCH(QString, axis);
        MessageRecorder rec;
        TAddSutGrF f;
        f.prime(ProjectHeaders, parseRows("0 8 100 80|8 24 50 30"), true);
        f.show();
        QCOMPARE(f.chart()->seriesCount(), 2); // a table that passes its check is drawn at once
        f.findChild<QCheckBox *>("chkP")->setChecked(p);
        f.findChild<QCheckBox *>("chkQ")->setChecked(q);
        click(f, "Button1");
        QVERIFY(rec.all.isEmpty());
        QStringList names;
        for (QAbstractSeries *s : f.chart()->chart()->series())
            names << s->name();
        QCOMPARE(names, series);
        QCOMPARE(f.chart()->chart()->title(), title);
        QCOMPARE(valueTitle(f), axis);
        if (!series.isEmpty()) {
            auto *line = qobject_cast<QLineSeries *>(f.chart()->chart()->series().first());
            const QList<QPointF> expected{
                {0, p ? 100.0 : 80.0}, {8, p ? 100.0 : 80.0}, {8, p ? 50.0 : 30.0}, {24, p ? 50.0 : 30.0}};
            QCOMPARE(line->points(), expected);
            QCOMPARE(line->pen().width(), 3);
        }
        // The chart follows a change of the table; a table that fails its check leaves it empty.
        f.grid()->model()->setData(f.grid()->model()->index(0, 2), "90");
        if (p) {
            const auto firstPoint = [&] {
                return qobject_cast<QLineSeries *>(f.chart()->chart()->series().value(0))->points().value(0);
            };
            QTRY_COMPARE(firstPoint(), QPointF(0, 90));
        }
        f.grid()->model()->setData(f.grid()->model()->index(0, 1), "");
        QTRY_COMPARE(f.chart()->seriesCount(), 0);
        QCOMPARE(valueTitle(f), "P, кВт; Q, кВАр");
        QVERIFY(rec.all.isEmpty()); // the quiet check shows no message
    }

    // Every change is a step of Ctrl+Z / Ctrl+Y; closing with changes asks «Сохранить изменения?»:
    // Отмена stays, Нет gives them up, Да keeps them as OK does (and stays when the check fails).
    void undoRedoAndTheSaveQuestion()
    {
        MessageRecorder rec;
        QStringList asked;
        QList<SaveAnswer> answers;
        setSaveAnswerer([&](const QString &text) {
            asked << text;
            return answers.isEmpty() ? SaveAnswer::Cancel : answers.takeFirst();
        });
        TAddSutGrF f;
        const QList<QStringList> original = parseRows("0 12 10 1|12 24 20 2");
        f.prime(ProjectHeaders, original, true);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QApplication::setActiveWindow(&f);
        QVERIFY(!f.isModified());
        QVERIFY(!button(f, "btnUndo")->isEnabled());
        // Closing untouched asks nothing.
        f.reject();
        QVERIFY(asked.isEmpty());
        QVERIFY(!f.isVisible());

        f.prime(ProjectHeaders, original, true);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QApplication::setActiveWindow(&f);
        f.grid()->model()->setData(f.grid()->model()->index(1, 2), "35");
        selectCell(f, 0, 0);
        click(f, "btnDeleteRow");
        QCOMPARE(f.rows(), parseRows("12 24 35 2"));
        QVERIFY(f.isModified());
        // Ctrl+Z twice takes both back, Ctrl+Y redoes the typing.
        f.grid()->setFocus();
        QTest::keyClick(f.grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.rows(), parseRows("0 12 10 1|12 24 35 2"));
        QTest::keyClick(f.grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.rows(), original);
        QVERIFY(!f.isModified());
        QTest::keyClick(f.grid(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f.rows(), parseRows("0 12 10 1|12 24 35 2"));

        // Esc with changes: Отмена keeps the window and the typing, Нет closes without them.
        QTest::keyClick(&f, Qt::Key_Escape);
        QCOMPARE(asked, QStringList{"Сохранить изменения?"});
        QVERIFY(f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Rejected));
        answers = {SaveAnswer::Save};
        f.grid()->model()->setData(f.grid()->model()->index(0, 1), "");
        f.reject(); // Да with a table that fails its check: the error, and the window stays
        QCOMPARE(rec.errors.size(), 1);
        QVERIFY(f.isVisible());
        f.grid()->model()->setData(f.grid()->model()->index(0, 1), "12");
        answers = {SaveAnswer::Save};
        f.reject();
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Accepted));
        QCOMPARE(f.rows(), parseRows("0 12 10 1|12 24 35 2"));

        f.prime(ProjectHeaders, original, true);
        f.show();
        f.grid()->model()->setData(f.grid()->model()->index(0, 2), "11");
        answers = {SaveAnswer::Discard};
        f.reject();
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Rejected));
        setSaveAnswerer({});
    }

    void importFillsTheTableOnlyOnOk()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("day.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        // One day of 30-minute energies stamped at the end: 20 kWh (40 kW) to 8 h, then 30 kWh (60 kW).
        file.write("Время;Wp, кВтч;Wq, кВАрч\n");
        const QDateTime start(QDate(2026, 12, 7), QTime(0, 0));
        for (int i = 1; i <= 48; ++i)
            file.write(QString("%1;%2;%3\n")
                           .arg(start.addSecs(1800 * i).toString("dd.MM.yyyy HH:mm"))
                           .arg(i <= 16 ? 20 : 30)
                           .arg(10)
                           .toUtf8());
        file.close();

        MessageRecorder rec;
        TAddSutGrF f;
        const QList<QStringList> before = parseRows("0 8 1 2|8 24 3 4");
        f.prime(ProjectHeaders, before, true);
        f.show();
        QVERIFY(button(f, "btnImport")->isEnabled());
        MeterImportDialog *dialog = f.importDialog();

        click(f, "btnImport");
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->loadFile(file.fileName()));
        QVERIFY(!dialog->periods().isEmpty());
        dialog->findChild<QPushButton *>("btnCancel")->click();
        QCOMPARE(f.rows(), before);

        click(f, "btnImport");
        QVERIFY(dialog->loadFile(file.fileName()));
        const QList<LoadPeriod> periods = dialog->periods();
        dialog->findChild<QPushButton *>("btnOK")->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(f.rows().size(), periods.size());
        QCOMPARE(f.rows(), GraphEditorTable::rowsOf(periods));
        QCOMPARE(f.rows().first()[2], "40");
        QCOMPARE(f.rows().last()[1], "24");
        QCOMPARE(f.rows().last()[2], "60");
        QVERIFY2(rec.errors.isEmpty(), qPrintable(rec.errors.join('\n')));

        // A typical graph in percent takes no meter file.
        f.prime(PercentHeaders, {}, false);
        QVERIFY(!button(f, "btnImport")->isEnabled());
        QVERIFY(!button(f, "btnSprav")->isEnabled());
    }
};

QTEST_MAIN(TestGraphEditor)
#include "test_graph_editor.moc"
