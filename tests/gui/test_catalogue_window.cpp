// The installation catalogue window: its grids and navigators, the required-field checks with
// their messages, the cascade on deleting a company, values typed in the program's number
// format, and the copy and paste of an installation type.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/compensation/VariantCommands.h"
#include "gui/compensation/TsKUForm.h"
#include "gui/widgets/CursorGrid.h"
#include "gui/widgets/DBNavigator.h"

#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

// Types a value into a cell of the grid's current row, as the in-place editor does.
void type(CursorGrid *grid, const QString &field, const QString &text)
{
    const int column = grid->cursorModel()->columnOf(field);
    QVERIFY2(column >= 0, qPrintable(field));
    const int row = qMax(0, grid->table()->recNo());
    QVERIFY(grid->model()->setData(grid->model()->index(row, column), text, Qt::EditRole));
}

} // namespace

class TestCatalogueWindow : public QObject {
    Q_OBJECT

    struct Window {
        TestData td;
        MessageRecorder rec;
        TsKUForm form{*td.data};
        TDataModule1 &dm() { return *td.data; }
        void press(int level, DBNavigator::Button b) { form.navigator(level)->button(b)->click(); }
        QPushButton *button(const char *name) { return form.findChild<QPushButton *>(name); }
    };

private slots:
    void gridsAndHints()
    {
        Window w;
        QCOMPARE(w.form.windowTitle(), "Конденсаторные установки.");
        auto titles = [&](int level) {
            QStringList out;
            for (int c = 0; c < w.form.grid(level)->model()->columnCount(); ++c)
                out << w.form.grid(level)->model()->headerData(c, Qt::Horizontal).toString();
            return out;
        };
        QCOMPARE(titles(0), QStringList{"Компания"});
        QCOMPARE(titles(1), QStringList({"Наименование", "Q, кВАр", "Pп, кВт/кВАр", "Uном, В", "Цена, грн", "p, %"}));
        QCOMPARE(titles(2), QStringList({"Qмод, кВАр", "Количество, шт."}));
        QStringList hints;
        for (int b = 0; b < DBNavigator::ButtonCount; ++b)
            hints << w.form.navigator(1)->button(DBNavigator::Button(b))->toolTip();
        QCOMPARE(hints, QStringList({"Вставка записи", "Удаление записи", "Редактирование записи", "Сохранение записи",
                                     "Отмена изменений", "Обновление данных"}));
        QCOMPARE(w.button("btnCopy")->toolTip(), "Копировать запись конденсаторной установки");
        QCOMPARE(w.button("btnPaste")->toolTip(), "Вставить скопированную запись конденсаторной установки");
        QVERIFY(!w.button("btnPaste")->isEnabled());
        QVERIFY(!w.form.grid(1)->cursorModel()->readOnly());
    }

    // A new row takes the keyboard at its first cell; while it is not posted, a row of the
    // level below is refused with the guard's words.
    void aNewCompanyTakesTheKeyboardAndGuardsItsTypes()
    {
        Window w;
        addCatalogueType(w.dm(), "Фирма", "Базовая", 10, 0.005, 100, {{5, 2}});
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        QApplication::setActiveWindow(&w.form);
        CursorGrid *types = w.form.grid(1);
        types->setCurrentIndex(types->model()->index(0, 2));
        w.press(1, DBNavigator::Insert);
        QCOMPARE(types->currentIndex().column(), 0);
        QCOMPARE(QApplication::focusWidget(), types);
        w.press(1, DBNavigator::Cancel);

        w.press(0, DBNavigator::Insert);
        QCOMPARE(w.dm().tblsKU0->state(), TTable::State::Insert);
        QCOMPARE(QApplication::focusWidget(), w.form.grid(0));
        w.press(1, DBNavigator::Insert);
        QCOMPARE(w.rec.errors, QStringList{"Завершите работу с главной таблицей."});
        QCOMPARE(w.dm().tblsKU1->state(), TTable::State::Browse);
        w.press(0, DBNavigator::Cancel);
    }

    void requiredFields_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QStringList>("values"); // field=text pairs typed into a new row
        QTest::addColumn<QString>("message");
        QTest::newRow("company without a name") << 0 << QStringList{} << "Заполнение поля \"Компания\" обязательно.";
        QTest::newRow("company") << 0 << QStringList{"Company=Фирма"} << "";
        QTest::newRow("type without a price posts")
            << 1 << QStringList{"Name=УКМ", "Q=70", "Pp=0,005", "Unom=400"} << "";
        QTest::newRow("type without a voltage") << 1 << QStringList{"Name=УКМ", "Q=70", "Pp=0,005", "Cena=1000"}
                                                << "Заполнение всех полей, кроме поля \"Цена\", обязательно.";
        QTest::newRow("module without a count")
            << 2 << QStringList{"Qstup=12,5"} << "Заполнение всех полей обязательно.";
        QTest::newRow("module") << 2 << QStringList{"Qstup=12,5", "Kol_vo=3"} << "";
        QTest::newRow("module count at the limit") << 2 << QStringList{"Qstup=12,5", "Kol_vo=1000"} << "";
        QTest::newRow("module count beyond the limit") << 2 << QStringList{"Qstup=12,5", "Kol_vo=1001"}
                                                       << "Количество модулей в группе должно быть не больше 1000.";
        QTest::newRow("module power beyond the limit")
            << 2 << QStringList{"Qstup=1000001", "Kol_vo=1"} << "Мощность модуля должна быть не больше 1000000 кВАр.";
    }
    void requiredFields()
    {
        QFETCH(int, level);
        QFETCH(QStringList, values);
        QFETCH(QString, message);
        Window w;
        if (level > 0)
            addCatalogueType(w.dm(), "Фирма", "Базовая", 10, 0.005, 100, {{5, 2}});
        TTable *table = w.form.grid(level)->table();
        const int before = table->recordCount();
        w.press(level, DBNavigator::Insert);
        QCOMPARE(table->state(), TTable::State::Insert);
        for (const QString &pair : values)
            type(w.form.grid(level), pair.section('=', 0, 0), pair.section('=', 1));
        w.press(level, DBNavigator::Post);
        if (message.isEmpty()) {
            QVERIFY2(w.rec.errors.isEmpty(), qPrintable(w.rec.errors.join('|')));
            QCOMPARE(table->state(), TTable::State::Browse);
            QCOMPARE(table->recordCount(), before + 1);
            for (const QString &pair : values)
                QCOMPARE(table->asString(pair.section('=', 0, 0)), pair.section('=', 1));
        } else {
            QCOMPARE(w.rec.errors, QStringList{message});
            // The row stays unposted with what was typed.
            QCOMPARE(table->state(), TTable::State::Insert);
            for (const QString &pair : values)
                QCOMPARE(table->asString(pair.section('=', 0, 0)), pair.section('=', 1));
            w.press(level, DBNavigator::Cancel);
            QCOMPARE(table->recordCount(), before);
        }
    }

    void typedNumbersUseTheDecimalComma()
    {
        Window w;
        addCatalogueType(w.dm(), "Фирма", "УКМ", 70, 0.005, 1000, {{5, 2}});
        type(w.form.grid(1), "Pp", "0,0045");
        QCOMPARE(w.dm().tblsKU1->state(), TTable::State::Edit);
        w.press(1, DBNavigator::Post);
        QVERIFY(w.rec.errors.isEmpty());
        QCOMPARE(w.dm().tblsKU1->asFloat("Pp"), 0.0045);
        QCOMPARE(w.form.grid(1)->model()->index(w.dm().tblsKU1->recNo(), 2).data().toString(), "0,0045");
    }

    void closingStoresWhatWasTyped()
    {
        Window w;
        addCatalogueType(w.dm(), "Фирма", "УКМ", 70, 0.005, 1000, {{5, 2}});
        w.form.show();
        type(w.form.grid(1), "Cena", "1250,5");
        QCOMPARE(w.dm().tblsKU1->state(), TTable::State::Edit);
        w.form.close();
        QCOMPARE(w.dm().tblsKU1->state(), TTable::State::Browse);
        TTable other(*w.td.store, "sKU1.DB");
        other.open();
        QVERIFY(other.locate("Kod", w.dm().tblsKU1->currentKod()));
        QCOMPARE(other.asFloat("Cena"), 1250.5);
        // A row that its check refuses stays being edited, with the message shown.
        w.form.show();
        type(w.form.grid(1), "Unom", "");
        w.form.close();
        QCOMPARE(w.rec.errors, QStringList{"Заполнение всех полей, кроме поля \"Цена\", обязательно."});
        QCOMPARE(w.dm().tblsKU1->state(), TTable::State::Edit);
    }

    void deletingACompanyTakesItsTypesAndModules()
    {
        Window w;
        addCatalogueType(w.dm(), "Первая", "А", 10, 0.005, 100, {{5, 2}});
        addCatalogueType(w.dm(), "Вторая", "Б", 20, 0.005, 200, {{10, 1}, {5, 2}});
        const int companies = rowsIn(w.dm().store(), "sKU0.db");
        const int types = rowsIn(w.dm().store(), "sKU1.DB");
        const int modules = rowsIn(w.dm().store(), "sKU2.DB");
        QCOMPARE(w.dm().tblsKU0->asString("Company"), "Вторая");
        // The question names the company; No, its default, keeps everything.
        w.press(0, DBNavigator::Delete);
        const QStringList asked{"Удалить компанию «Вторая» со всеми ее конденсаторными установками и модулями?"};
        QCOMPARE(w.rec.cautiousQuestions, asked);
        QCOMPARE(rowsIn(w.dm().store(), "sKU0.db"), companies);
        w.rec.answers = {true};
        w.press(0, DBNavigator::Delete);
        QVERIFY(w.rec.errors.isEmpty());
        QCOMPARE(rowsIn(w.dm().store(), "sKU0.db"), companies - 1);
        QCOMPARE(rowsIn(w.dm().store(), "sKU1.DB"), types - 1);
        QCOMPARE(rowsIn(w.dm().store(), "sKU2.DB"), modules - 2);
    }

    // A type that variants use (or a company of such a type) is refused, naming the variants; the
    // catalogue keeps it, so the variant still finds its installation when edited.
    void aTypeInUseIsNotDeleted()
    {
        Window w;
        const qint64 spare = addCatalogueType(w.dm(), "Фирма", "Запасная", 20, 0.005, 200, {{10, 1}});
        addCatalogueType(w.dm(), "Фирма", "Рабочая", 10, 0.005, 100, {{5, 2}});
        createExampleProject(w.dm(), "Цех 3");
        VariantParams v;
        v.varNum = QStringLiteral("4");
        addVariant(w.dm(), v);
        QCOMPARE(w.dm().tblsKU1->asString("Name"), "Рабочая");
        const int types = rowsIn(w.dm().store(), "sKU1.DB");
        w.rec.answers = {true, true};
        w.press(1, DBNavigator::Delete);
        w.press(0, DBNavigator::Delete);
        QVERIFY(w.rec.questions.isEmpty());
        QCOMPARE(w.rec.warnings.size(), 2);
        QVERIFY2(w.rec.warnings[0].startsWith("Конденсаторную установку «Рабочая» удалить нельзя"),
                 qPrintable(w.rec.warnings[0]));
        QVERIFY2(w.rec.warnings[1].startsWith("Компанию «Фирма» удалить нельзя"), qPrintable(w.rec.warnings[1]));
        for (const QString &text : w.rec.warnings)
            QVERIFY2(text.contains("«Цех 3» (вариант 4)"), qPrintable(text));
        QCOMPARE(rowsIn(w.dm().store(), "sKU1.DB"), types);
        // The type nobody uses (of a company of its own) goes after its question.
        QVERIFY(w.dm().tblsKU0->locate(
            "Kod",
            w.dm().store().scalar(QStringLiteral("SELECT \"Kod0\" FROM \"sKU1.DB\" WHERE \"Kod\"=%1").arg(spare))));
        QVERIFY(w.dm().tblsKU1->locate("Name", "Запасная"));
        w.rec.clear();
        w.rec.answers = {true};
        w.press(1, DBNavigator::Delete);
        QCOMPARE(w.rec.cautiousQuestions,
                 QStringList{"Удалить конденсаторную установку «Запасная» из справочника вместе с ее модулями?"});
        QCOMPARE(rowsIn(w.dm().store(), "sKU1.DB"), types - 1);
    }

    void copyToAnotherCompany()
    {
        Window w;
        addCatalogueType(w.dm(), "Первая", "УКМ-58", 58.5, 0.0045, 12500.5, {{12.5, 4}, {8.5, 1}});
        const qint64 first = w.dm().tblsKU0->currentKod();
        addCatalogueType(w.dm(), "Вторая", "Другая", 10, 0.005, 100, {{5, 2}});
        const qint64 second = w.dm().tblsKU0->currentKod();
        w.dm().tblsKU0->locate("Kod", first);
        w.button("btnCopy")->click();
        QVERIFY(w.button("btnPaste")->isEnabled());
        QCOMPARE(w.form.copyBuffer().texts(), QStringList({"УКМ-58", "58,5", "0,0045", "400", "12500,5"}));

        w.dm().tblsKU0->locate("Kod", second);
        w.button("btnPaste")->click();
        TTable &types = *w.dm().tblsKU1;
        QCOMPARE(types.state(), TTable::State::Insert);
        QCOMPARE(types.asString("Name"), "УКМ-58");
        QCOMPARE(types.asString("Q"), "58,5");
        QCOMPARE(types.asString("Pp"), "0,0045");
        QCOMPARE(types.asString("Unom"), "400");
        QCOMPARE(types.asString("Cena"), "12500,5");
        w.press(1, DBNavigator::Post);
        QVERIFY(w.rec.errors.isEmpty());
        QCOMPARE(types.state(), TTable::State::Browse);
        QCOMPARE(types.recordCount(), 2);
        QCOMPARE(types.asInteger("Kod0"), second);
        QCOMPARE(w.dm().tblsKU2->recordCount(), 0);
    }

    void pasteWhileEditingOverwrites()
    {
        Window w;
        addCatalogueType(w.dm(), "Фирма", "Образец", 30, 0.004, QVariant(), {{10, 3}});
        w.button("btnCopy")->click();
        appendRow(*w.dm().tblsKU1, {{"Name", "Цель"}, {"Q", 50}, {"Pp", 0.006}, {"Unom", 660}, {"Cena", 900}});
        TTable &types = *w.dm().tblsKU1;
        const qint64 target = types.currentKod();
        const int rows = types.recordCount();
        w.press(1, DBNavigator::Edit);
        QCOMPARE(types.state(), TTable::State::Edit);
        w.button("btnPaste")->click();
        QCOMPARE(types.state(), TTable::State::Edit);
        QCOMPARE(types.asString("Name"), "Образец");
        QVERIFY(types.isNull("Cena"));
        w.press(1, DBNavigator::Post);
        QCOMPARE(types.recordCount(), rows);
        QCOMPARE(types.currentKod(), target);
        QCOMPARE(types.asString("Unom"), "400");
    }

    void pasteRefusedWhileTheCompanyIsEdited()
    {
        Window w;
        addCatalogueType(w.dm(), "Фирма", "Образец", 30, 0.004, 100, {{10, 3}});
        w.button("btnCopy")->click();
        const int rows = w.dm().tblsKU1->recordCount();
        w.press(0, DBNavigator::Edit);
        w.button("btnPaste")->click();
        QCOMPARE(w.rec.errors, QStringList{"Завершите работу с главной таблицей."});
        QCOMPARE(w.dm().tblsKU1->state(), TTable::State::Browse);
        QCOMPARE(w.dm().tblsKU1->recordCount(), rows);
        QCOMPARE(w.form.copyBuffer().texts().first(), "Образец");
    }

    void pasteStaysEnabledForTheRun()
    {
        Window w;
        addCatalogueType(w.dm(), "Фирма", "Образец", 30, 0.004, 100, {{10, 3}});
        w.form.show();
        QVERIFY(!w.button("btnPaste")->isEnabled());
        w.button("btnCopy")->click();
        w.button("btnClose")->click();
        QVERIFY(!w.form.isVisible());
        w.form.show();
        QVERIFY(w.button("btnPaste")->isEnabled());
    }

    void gridsFollowTheWindow()
    {
        Window w;
        w.form.resize(800, 500);
        w.form.show();
        QCoreApplication::processEvents();
        const int width = w.form.grid(0)->width();
        const int height = w.form.grid(1)->height();
        w.form.resize(1100, 800);
        QCoreApplication::processEvents();
        QVERIFY(w.form.grid(0)->width() > width);
        QVERIFY(w.form.grid(1)->height() > height);
    }
};

QTEST_MAIN(TestCatalogueWindow)
#include "test_catalogue_window.moc"
