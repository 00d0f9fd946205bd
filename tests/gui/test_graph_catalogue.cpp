// The typical graph catalogue window, its picker and the main window's load graph commands,
// driven through the main window on a test store: the two modes, the OK checks, the navigators,
// editing, copying and pasting a graph, the chart, the percent and kW scalings.
#include "MessageRecorder.h"
#include "ProjectFixture.h"

#include "core/compensation/VariantCommands.h"
#include "core/data/TDataModule1.h"
#include "core/project/ProjectCommands.h"
#include "gui/app/TMainForm.h"
#include "gui/graphs/StepChart.h"
#include "gui/graphs/TAddSutGrF.h"
#include "gui/ui/SaveQuestion.h"
#include "gui/graphs/TOtrPromF.h"
#include "gui/graphs/TsSutGrFm.h"
#include "gui/widgets/CursorGrid.h"
#include "gui/widgets/DBNavigator.h"

#include <QAbstractAxis>
#include <QAction>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestGraphCatalogue : public QObject {
    Q_OBJECT

    struct Main {
        TestData td;
        MessageRecorder rec;
        std::unique_ptr<TMainForm> form;
        TDataModule1 &dm() { return *td.data; }
        void build() { form = std::make_unique<TMainForm>(*td.data); }
        void trigger(const char *name)
        {
            QAction *a = form->findChild<QAction *>(name);
            QVERIFY2(a && a->isEnabled(), name);
            a->trigger();
        }
        TsSutGrFm *catalogue() { return form->sutGrForm(); }
        TAddSutGrF *editor() { return form->addSutGrForm(); }
        // A catalogue entry of its own, made current: industry, enterprise, periods "T1 T2 P Q".
        void addEntry(const QString &industry, const QString &name, const QList<LoadPeriod> &periods)
        {
            TDataModule1 &d = dm();
            if (!d.tblSutGr0->locate("Otrasl", industry))
                appendRow(*d.tblSutGr0, {{"Otrasl", industry}});
            appendRow(*d.tblSutGr1, {{"Name", name}});
            for (const LoadPeriod &p : periods)
                appendRow(*d.tblSutGr2, {{"T1", p.T1}, {"T2", p.T2}, {"P", p.P}, {"Q", p.Q}});
        }
        QList<LoadPeriod> projectPeriods()
        {
            QList<LoadPeriod> out;
            TTable &t = *dm().tblProj1;
            for (t.first(); !t.eof(); t.next())
                out.append({t.asFloat("T1"), t.asFloat("T2"), t.asFloat("P"), t.asFloat("Q")});
            return out;
        }
        QList<LoadPeriod> typicalPeriods() { return catalogue()->currentGraph(); }
    };

    static void click(QWidget *w, const char *name)
    {
        QPushButton *b = w->findChild<QPushButton *>(name);
        QVERIFY2(b && b->isVisible() && b->isEnabled(), name);
        b->click();
    }
    static QLineEdit *edit(QWidget *w, const char *name) { return w->findChild<QLineEdit *>(name); }
    static bool samePeriods(const QList<LoadPeriod> &a, const QList<LoadPeriod> &b)
    {
        if (a.size() != b.size())
            return false;
        for (int i = 0; i < a.size(); ++i)
            if (a[i].T1 != b[i].T1 || a[i].T2 != b[i].T2 || a[i].P != b[i].P || a[i].Q != b[i].Q)
                return false;
        return true;
    }

private slots:
    void viewAndSelectionModes()
    {
        Main m;
        createExampleProject(m.dm());
        m.build();
        m.trigger("mnsSutGr");
        TsSutGrFm *c = m.catalogue();
        QVERIFY(c->isVisible());
        QCOMPARE(c->windowTitle(), "Характерные суточные графики нагрузки.");
        QVERIFY(!c->findChild<QPushButton *>("btnOK")->isVisible());
        QVERIFY(!edit(c, "EditPmax")->isVisible());
        QCOMPARE(c->findChild<QPushButton *>("btnCancel")->text(), "Закрыть");
        click(c, "btnCancel");
        QVERIFY(!c->isVisible());

        m.trigger("mnAddSutGraf");
        QVERIFY(c->isVisible());
        QVERIFY(c->findChild<QPushButton *>("btnOK")->isVisible());
        QVERIFY(edit(c, "EditPmax")->isVisible());
        QCOMPARE(edit(c, "EditPmax")->toolTip(),
                 "Максимальное значение активной мощности реального суточного графика нагрузки");
        QCOMPARE(c->findChild<QPushButton *>("btnCancel")->text(), "Отмена");
        click(c, "btnCancel");
        QVERIFY(samePeriods(m.projectPeriods(), examplePeriods())); // cancel changes nothing
        QVERIFY(m.rec.all.isEmpty());
    }

    void okChecks_data()
    {
        QTest::addColumn<QString>("pmax");
        QTest::addColumn<QString>("qmax");
        QTest::addColumn<bool>("periods");
        QTest::addColumn<QString>("message");
        QTest::newRow("Pmax 0 first") << "0"
                                      << "" << false << "Значение максимальной активной мощности должно быть больше 0.";
        QTest::newRow("Qmax empty") << "100"
                                    << "" << false << "Введите значение максимальной реактивной мощности.";
        QTest::newRow("no periods") << "100"
                                    << "100" << false << "Заполнение таблицы суточного графика обязательно.";
        QTest::newRow("all valid") << "5"
                                   << "0,5" << true << "";
    }
    void okChecks()
    {
        QFETCH(QString, pmax);
        QFETCH(QString, qmax);
        QFETCH(bool, periods);
        QFETCH(QString, message);
        Main m;
        createProject(m.dm(), newProjectParams(m.dm()));
        m.addEntry("Проверка", "Пустое", {});
        if (periods)
            appendRow(*m.dm().tblSutGr2, {{"T1", 0}, {"T2", 24}, {"P", 100}, {"Q", 100}});
        m.build();
        m.trigger("mnAddSutGraf");
        TsSutGrFm *c = m.catalogue();
        edit(c, "EditPmax")->setText(pmax);
        edit(c, "EditQmax")->setText(qmax);
        click(c, "btnOK");
        if (message.isEmpty()) {
            QVERIFY(!c->isVisible());
            QVERIFY(m.rec.errors.isEmpty());
            QVERIFY(samePeriods(m.projectPeriods(), {{0, 24, 5, 0}})); // 0,5 × 100 % rounds to even 0
        } else {
            QCOMPARE(m.rec.errors, QStringList{message});
            QVERIFY(c->isVisible());
            QVERIFY(m.projectPeriods().isEmpty());
            click(c, "btnCancel");
        }
    }

    void scalingOnInsertion()
    {
        Main m;
        createExampleProject(m.dm());
        addCatalogueType(m.dm(), "Фирма", "УКМ-70", 70, 0.005, 35000, {{25, 2}, {10, 1}, {5, 2}});
        for (const char *n : {"1", "2"}) {
            VariantParams v;
            v.varNum = n;
            addVariant(m.dm(), v);
        }
        m.dm().tblProj2->first();
        const qint64 variant = m.dm().tblProj2->currentKod();
        m.addEntry("Проверка", "Половина", {{0, 8, 50, 33}, {8, 24, 100, 100}});
        m.build();

        // "Добавить суточный график...": whole kW, halves to even.
        m.trigger("mnAddSutGraf");
        edit(m.catalogue(), "EditPmax")->setText("5");
        edit(m.catalogue(), "EditQmax")->setText("100");
        click(m.catalogue(), "btnOK");
        QVERIFY(samePeriods(m.projectPeriods(), {{0, 8, 2, 33}, {8, 24, 5, 100}}));
        QCOMPARE(m.dm().tblProj2->currentKod(), variant);
        for (TTable *v = m.dm().tblProj2; !v->eof(); v->next())
            QCOMPARE(m.dm().tblProj3->recordCount(), 2);
        m.dm().tblProj2->first();

        // The editor's "Справочник...": text without decimals, halves away from zero.
        m.trigger("mnEditSutGraf");
        TAddSutGrF *e = m.editor();
        QVERIFY(e->isVisible());
        QCOMPARE(e->rows(), (QList<QStringList>{{"0", "8", "2", "33"}, {"8", "24", "5", "100"}}));
        click(e, "btnSprav");
        QVERIFY(m.catalogue()->isVisible());
        QCOMPARE(m.catalogue()->findChild<QPushButton *>("btnCancel")->text(), "Отмена");
        click(m.catalogue(), "btnOK");
        QCOMPARE(e->rows(), (QList<QStringList>{{"0", "8", "3", "33"}, {"8", "24", "5", "100"}}));
        QCOMPARE(e->table().headers()[2], "P, кВт");
        click(e, "btnOK");
        QVERIFY(samePeriods(m.projectPeriods(), {{0, 8, 3, 33}, {8, 24, 5, 100}}));
        QCOMPARE(m.dm().tblProj2->currentKod(), variant);
        QVERIFY(m.rec.all.isEmpty());
    }

    void editCommandWritesTheTypedRows()
    {
        Main m;
        createProject(m.dm(), newProjectParams(m.dm()));
        m.build();
        QVERIFY(!m.form->findChild<QAction *>("mnAddSutGrafSpr")->isEnabled());
        m.trigger("mnEditSutGraf");
        TAddSutGrF *e = m.editor();
        QCOMPARE(e->rows(), (QList<QStringList>{{"", "", "", ""}}));
        QVERIFY(e->findChild<QPushButton *>("btnSprav")->isEnabled());
        auto *model = e->grid()->model();
        const QStringList cells{"0", "12,5", "40", "10"};
        for (int c = 0; c < 4; ++c)
            model->setData(model->index(0, c), cells[c]);
        click(e, "btnAddRow");
        const QStringList second{"12,5", "24", "0", "0"};
        for (int c = 0; c < 4; ++c)
            model->setData(model->index(1, c), second[c]);
        click(e, "btnOK");
        QVERIFY(!e->isVisible());
        QVERIFY(samePeriods(m.projectPeriods(), {{0, 12.5, 40, 10}, {12.5, 24, 0, 0}}));
        QVERIFY(m.form->findChild<QAction *>("mnAddSutGrafSpr")->isEnabled());

        // Cancel asks about the change; Нет leaves the graph as it is.
        QStringList asked;
        setSaveAnswerer([&](const QString &text) {
            asked << text;
            return SaveAnswer::Discard;
        });
        m.trigger("mnEditSutGraf");
        click(e, "btnDeleteRow");
        click(e, "btnCancel");
        setSaveAnswerer({});
        QCOMPARE(asked, QStringList{"Сохранить изменения?"});
        QVERIFY(!e->isVisible());
        QCOMPARE(m.projectPeriods().size(), 2);
    }

    void addingAProjectGraphToTheCatalogue()
    {
        Main m;
        createProject(m.dm(), newProjectParams(m.dm()));
        appendRow(*m.dm().tblProj1, {{"T1", 0}, {"T2", 8}, {"P", 80}, {"Q", 90}});
        appendRow(*m.dm().tblProj1, {{"T1", 8}, {"T2", 24}, {"P", 20}, {"Q", 30}});
        m.dm().tblProj1->first();
        m.build();
        for (int time = 0; time < 2; ++time) {
            m.trigger("mnAddSutGrafSpr");
            TOtrPromF *picker = m.form->otrPromForm();
            QVERIFY(picker->isVisible());
            auto *otr = picker->findChild<QComboBox *>("cmbOtr");
            auto *name = picker->findChild<QComboBox *>("cmbName");
            otr->setEditText("Новая отрасль");
            QCOMPARE(name->currentText(), time == 0 ? "" : "Цех");
            QCOMPARE(picker->findChild<QPushButton *>("btnOK")->isEnabled(), time == 1);
            name->setEditText("Цех");
            click(picker, "btnOK");
        }
        QVERIFY(m.rec.all.isEmpty());
        TDataModule1 &d = m.dm();
        QVERIFY(d.tblSutGr0->locate("Otrasl", "Новая отрасль"));
        QCOMPARE(d.tblSutGr1->recordCount(), 2);
        for (d.tblSutGr1->first(); !d.tblSutGr1->eof(); d.tblSutGr1->next()) {
            QCOMPARE(d.tblSutGr1->asString("Name"), "Цех");
            QVERIFY(samePeriods(m.typicalPeriods(), {{0, 8, 100, 100}, {8, 24, 25, 33}}));
        }
        QCOMPARE(d.tblProj1->recNo(), 0);

        // Another letter case is another industry.
        m.trigger("mnAddSutGrafSpr");
        m.form->otrPromForm()->findChild<QComboBox *>("cmbOtr")->setEditText("новая отрасль");
        m.form->otrPromForm()->findChild<QComboBox *>("cmbName")->setEditText("Цех");
        click(m.form->otrPromForm(), "btnOK");
        QVERIFY(d.tblSutGr0->locate("Otrasl", "новая отрасль"));
        QCOMPARE(d.tblSutGr1->recordCount(), 1);

        // Cancel writes nothing.
        const int before = rowsIn(*m.td.store, "sSutGraphic1.db");
        m.trigger("mnAddSutGrafSpr");
        click(m.form->otrPromForm(), "btnCancel");
        QCOMPARE(rowsIn(*m.td.store, "sSutGraphic1.db"), before);
    }

    void aGraphWithoutReactivePowerIsRefused()
    {
        Main m;
        createProject(m.dm(), newProjectParams(m.dm()));
        appendRow(*m.dm().tblProj1, {{"T1", 0}, {"T2", 24}, {"P", 80}, {"Q", 0}});
        m.build();
        const int industries = rowsIn(*m.td.store, "sSutGraphic0.db");
        const int enterprises = rowsIn(*m.td.store, "sSutGraphic1.db");
        m.trigger("mnAddSutGrafSpr");
        m.form->otrPromForm()->findChild<QComboBox *>("cmbOtr")->setEditText("Без Q");
        m.form->otrPromForm()->findChild<QComboBox *>("cmbName")->setEditText("Цех");
        click(m.form->otrPromForm(), "btnOK");
        QCOMPARE(m.rec.errors.size(), 1);
        QVERIFY(m.rec.errors[0].startsWith("Наибольшая реактивная мощность суточного графика равна 0"));
        QCOMPARE(rowsIn(*m.td.store, "sSutGraphic0.db"), industries);
        QCOMPARE(rowsIn(*m.td.store, "sSutGraphic1.db"), enterprises);
    }

    void editingCopyingAndPastingTypicalGraphs()
    {
        Main m;
        m.addEntry("Копии", "Первое", {{0, 12, 100, 50}, {12, 24, 40, 100}});
        m.addEntry("Копии", "Второе", {{0, 24, 10, 10}});
        m.build();
        m.trigger("mnsSutGr");
        TsSutGrFm *c = m.catalogue();
        TDataModule1 &d = m.dm();
        QVERIFY(d.tblSutGr1->locate("Name", "Первое"));
        QCOMPARE(c->chart()->seriesCount(), 2);
        QVERIFY(!c->findChild<QPushButton *>("btnPaste")->isEnabled());
        click(c, "btnCopy");
        QVERIFY(d.tblSutGr1->locate("Name", "Второе"));
        click(c, "btnPaste");
        QVERIFY(samePeriods(m.typicalPeriods(), {{0, 12, 100, 50}, {12, 24, 40, 100}}));

        // Edited in percent: headers, no "Справочник...", the 100 % limit.
        click(c, "btnEditSutGr");
        TAddSutGrF *e = m.editor();
        QVERIFY(e->isVisible());
        QCOMPARE(e->table().headers(), (QStringList{"Т1, ч", "Т2, ч", "P, %", "Q, %"}));
        QCOMPARE(e->rows(), (QList<QStringList>{{"0", "12", "100", "50"}, {"12", "24", "40", "100"}}));
        QVERIFY(!e->findChild<QPushButton *>("btnSprav")->isEnabled());
        e->grid()->model()->setData(e->grid()->model()->index(1, 2), "120");
        click(e, "btnOK");
        QCOMPARE(m.rec.errors, QStringList{"Значения полей \"P, %\" и \"Q, %\" должны быть в пределах от 0 до 100 %."});
        e->grid()->model()->setData(e->grid()->model()->index(1, 2), "70");
        click(e, "btnOK");
        QVERIFY(!e->isVisible());
        QVERIFY(samePeriods(m.typicalPeriods(), {{0, 12, 100, 50}, {12, 24, 70, 100}}));
        QVERIFY(d.tblSutGr1->locate("Name", "Первое"));
        QVERIFY(samePeriods(m.typicalPeriods(), {{0, 12, 100, 50}, {12, 24, 40, 100}}));
        QCOMPARE(m.rec.errors.size(), 1);
    }

    void editingWhileAnIndustryIsUnpostedIsRefused()
    {
        Main m;
        m.addEntry("Охрана", "Первое", {{0, 24, 100, 100}});
        m.build();
        m.trigger("mnsSutGr");
        TsSutGrFm *c = m.catalogue();
        click(c, "btnCopy");
        c->navigator(0)->button(DBNavigator::Edit)->click();
        QVERIFY(m.dm().tblSutGr0->editing());
        for (const char *b : {"btnEditSutGr", "btnPaste"}) {
            m.rec.clear();
            click(c, b);
            QCOMPARE(m.rec.errors, QStringList{"Завершите работу с главной таблицей."});
        }
        QVERIFY(!m.editor()->isVisible());
        QVERIFY(samePeriods(m.typicalPeriods(), {{0, 24, 100, 100}}));
    }

    void requiredNamesAndTheCascadeDelete()
    {
        Main m;
        m.addEntry("Удаляемая", "Первое", {{0, 24, 100, 100}});
        m.addEntry("Удаляемая", "Второе", {{0, 12, 100, 100}, {12, 24, 50, 50}});
        m.build();
        m.trigger("mnsSutGr");
        TsSutGrFm *c = m.catalogue();
        DBNavigator *nav0 = c->navigator(0);
        QCOMPARE(nav0->button(DBNavigator::Insert)->toolTip(), "Вставка записи");
        QCOMPARE(nav0->button(DBNavigator::Refresh)->toolTip(), "Обновление данных");

        nav0->button(DBNavigator::Insert)->click();
        nav0->button(DBNavigator::Post)->click();
        QCOMPARE(m.rec.errors, QStringList{"Заполнение поля \"Отрасль промышленности\" обязательно."});
        QVERIFY(m.dm().tblSutGr0->editing());
        nav0->button(DBNavigator::Cancel)->click();
        QVERIFY(!m.dm().tblSutGr0->editing());

        const int industries = rowsIn(*m.td.store, "sSutGraphic0.db");
        const int enterprises = rowsIn(*m.td.store, "sSutGraphic1.db");
        const int periods = rowsIn(*m.td.store, "sSutGraphic2.db");
        QVERIFY(m.dm().tblSutGr0->locate("Otrasl", "Удаляемая"));
        nav0->button(DBNavigator::Delete)->click();
        QCOMPARE(m.rec.questions, QStringList{});
        QCOMPARE(rowsIn(*m.td.store, "sSutGraphic0.db"), industries - 1);
        QCOMPARE(rowsIn(*m.td.store, "sSutGraphic1.db"), enterprises - 2);
        QCOMPARE(rowsIn(*m.td.store, "sSutGraphic2.db"), periods - 3);
    }

    void catalogueChart_data()
    {
        QTest::addColumn<bool>("p");
        QTest::addColumn<bool>("q");
        QTest::addColumn<int>("series");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("axis");
        QTest::newRow("both") << true << true << 2 << "Суточные графики P = f(T), Q = f(T)"
                              << "P, %; Q, %";
        QTest::newRow("P") << true << false << 1 << "Суточный график P = f(T)"
                           << "P, %";
        QTest::newRow("Q") << false << true << 1 << "Суточный график Q = f(T)"
                           << "Q, %";
        QTest::newRow("neither") << false << false << 0 << "Суточные графики P = f(T), Q = f(T)"
                                 << "P, %; Q, %";
    }
    void catalogueChart()
    {
        QFETCH(bool, p);
        QFETCH(bool, q);
        QFETCH(int, series);
        QFETCH(QString, title);
        QFETCH(QString, axis);
        Main m;
        m.addEntry("Графики", "Первое", {{0, 12, 100, 50}, {12, 24, 40, 100}});
        m.build();
        m.trigger("mnsSutGr");
        TsSutGrFm *c = m.catalogue();
        auto *chkP = c->findChild<QCheckBox *>("chkP");
        auto *chkQ = c->findChild<QCheckBox *>("chkQ");
        if (chkP->isChecked() != p)
            chkP->click();
        if (chkQ->isChecked() != q)
            chkQ->click();
        QCOMPARE(c->chart()->seriesCount(), series);
        QCOMPARE(c->chart()->chart()->title(), title);
        QCOMPARE(c->chart()->chart()->axes(Qt::Vertical).first()->titleText(), axis);
    }
};

QTEST_MAIN(TestGraphCatalogue)
#include "test_graph_catalogue.moc"
