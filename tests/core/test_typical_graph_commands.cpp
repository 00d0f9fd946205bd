// The typical graph catalogue's commands: a project's graph in percent, and replacing a graph.
#include "ProjectFixture.h"

#include "core/graphs/GraphCommands.h"
#include "core/graphs/TypicalGraphCommands.h"
#include "core/project/ProjectCommands.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestTypicalGraphCommands : public QObject {
    Q_OBJECT

    static QStringList graphText(TTable &graph)
    {
        QStringList out;
        for (graph.first(); !graph.eof(); graph.next())
            out << QStringList{graph.asString("T1"), graph.asString("T2"), graph.asString("P"), graph.asString("Q")}
                       .join(' ');
        return out;
    }

private slots:
    void percentOfTheProjectsMaxima()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        createProject(dm, newProjectParams(dm));
        replaceProjectGraph(dm, {{0, 6, 20, 45}, {6, 12, 80, 90}, {12, 18, 30, 30}, {18, 24, 10, 9}});
        dm.tblProj1->last();
        const int industries = dm.tblSutGr0->recordCount();
        addProjectGraphToCatalogue(dm, "Новая отрасль", "Цех");
        QCOMPARE(dm.tblSutGr0->recordCount(), industries + 1);
        QCOMPARE(dm.tblSutGr0->asString("Otrasl"), QStringLiteral("Новая отрасль"));
        // 20 of 80 is 25 %; 30 of 90 is 33 %; 45 of 90 is 50 %; 9 of 90 is 10 %.
        QCOMPARE(graphText(*dm.tblSutGr2), QStringList({"0 6 25 50", "6 12 100 100", "12 18 38 33", "18 24 12 10"}));
        QCOMPARE(dm.tblProj1->recNo(), 3); // the current load period stays

        // The same names again: a second enterprise of that name; other letter case: a new industry.
        addProjectGraphToCatalogue(dm, "Новая отрасль", "Цех");
        QCOMPARE(dm.tblSutGr0->recordCount(), industries + 1);
        QCOMPARE(dm.tblSutGr1->recordCount(), 2);
        QCOMPARE(graphText(*dm.tblSutGr2).size(), 4);
        addProjectGraphToCatalogue(dm, "новая отрасль", "Цех");
        QCOMPARE(dm.tblSutGr0->recordCount(), industries + 2);
    }

    void halvesGoToEven()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        createProject(dm, newProjectParams(dm));
        // 5 of 40 is 12,5 % (12); 7 of 40 is 17,5 % (18).
        replaceProjectGraph(dm, {{0, 12, 5, 7}, {12, 24, 40, 40}});
        addProjectGraphToCatalogue(dm, "О", "П");
        QCOMPARE(graphText(*dm.tblSutGr2).first(), QStringLiteral("0 12 12 18"));
    }

    void zeroMaximumRefusedWritingNothing()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        createProject(dm, newProjectParams(dm));
        replaceProjectGraph(dm, {{0, 24, 50, 0}});
        const int industries = rowsIn(*td.store, "sSutGraphic0.db");
        const int enterprises = rowsIn(*td.store, "sSutGraphic1.db");
        QVERIFY_THROWS_EXCEPTION(KorvanError, addProjectGraphToCatalogue(dm, "Новая", "Цех"));
        QCOMPARE(rowsIn(*td.store, "sSutGraphic0.db"), industries);
        QCOMPARE(rowsIn(*td.store, "sSutGraphic1.db"), enterprises);
    }

    void replacingAGraph()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        dm.tblSutGr0->first();
        dm.tblSutGr1->first();
        const qint64 enterprise = dm.tblSutGr1->currentKod();
        replaceTypicalGraph(dm, {{0, 12, 100, 50}, {12, 24, 40, 100}});
        QCOMPARE(graphText(*dm.tblSutGr2), QStringList({"0 12 100 50", "12 24 40 100"}));
        QCOMPARE(dm.tblSutGr1->currentKod(), enterprise);
        // Refused while the industry row is being edited, and without an enterprise.
        dm.tblSutGr0->edit();
        QVERIFY_THROWS_EXCEPTION(KorvanError, replaceTypicalGraph(dm, {}));
        dm.tblSutGr0->cancel();
        appendRow(*dm.tblSutGr0, {{"Otrasl", "Пустая"}});
        QCOMPARE(typicalGraphEditProblem(dm).value_or(QString()),
                 QStringLiteral("Выберите предприятие, суточный график которого нужно изменить."));
    }
};

QTEST_GUILESS_MAIN(TestTypicalGraphCommands)
#include "test_typical_graph_commands.moc"
