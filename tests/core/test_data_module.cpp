// The shared cursors: master/detail links, cascade deletes and the detail edit guard.
#include "core/data/Store.h"
#include "core/project/ProjectCommands.h"
#include "MessageRecorder.h"
#include "TestData.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestDataModule : public QObject {
    Q_OBJECT

    static int rowsIn(Store &store, const QString &table)
    {
        TTable t(store, table);
        t.open();
        return t.recordCount();
    }

    // A project with two variants, each with two compensated periods carrying switched modules,
    // and a module set.
    static qint64 addProjectWithVariants(TDataModule1 &dm, const QString &name)
    {
        const qint64 kod = appendRow(*dm.tblProj0, {{"Name", name}});
        appendRow(*dm.tblProj1, {{"T1", 0}, {"T2", 8}, {"P", 100}, {"Q", 80}});
        appendRow(*dm.tblProj1, {{"T1", 8}, {"T2", 24}, {"P", 50}, {"Q", 30}});
        for (int v = 1; v <= 2; ++v) {
            appendRow(*dm.tblProj2, {{"VarNum", v}, {"TipKU", "УКМ"}});
            appendRow(*dm.tblProj5, {{"Stup", 25}, {"Kol_vo", 2}});
            for (int period = 0; period < 2; ++period) {
                appendRow(*dm.tblProj3, {{"T1", period * 8}, {"Qku", 50}});
                appendRow(*dm.tblProj4, {{"Stup", 25}, {"Kol_vo", 2}});
            }
        }
        return kod;
    }

private slots:
    void detailGetsKod0FromItsMaster()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        // Push the autoincrement to 7 so the link is not the trivial 1.
        for (int i = 0; i < 6; ++i)
            appendRow(*dm.tblProj0, {{"Name", QString::number(i)}});
        for (int i = 0; i < 6; ++i) {
            dm.tblProj0->first();
            dm.tblProj0->remove();
        }
        const qint64 kod = appendRow(*dm.tblProj0, {{"Name", "Седьмой"}});
        QCOMPARE(kod, 7);
        dm.tblProj1->append();
        QCOMPARE(dm.tblProj1->asInteger("Kod0"), 7);
        dm.tblProj1->cancel();
    }

    void masterMoveReselectsDetails()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        addProjectWithVariants(dm, "А");
        appendRow(*dm.tblProj0, {{"Name", "Б"}});
        appendRow(*dm.tblProj1, {{"T1", 0}, {"T2", 24}, {"P", 10}, {"Q", 5}});
        QCOMPARE(dm.tblProj1->recordCount(), 1);
        QCOMPARE(dm.tblProj2->recordCount(), 0);
        QCOMPARE(dm.tblProj3->recordCount(), 0);
        QCOMPARE(dm.tblProj4->recordCount(), 0);
        dm.tblProj0->first();
        QCOMPARE(dm.tblProj1->recordCount(), 2);
        QCOMPARE(dm.tblProj2->recordCount(), 2);
        QCOMPARE(dm.tblProj1->recNo(), 0); // details stand on their first row
        QCOMPARE(dm.tblProj2->asInteger("VarNum"), 1);
        QCOMPARE(dm.tblProj3->recordCount(), 2);
        QCOMPARE(dm.tblProj5->recordCount(), 1);
        QCOMPARE(dm.tblProj4->recordCount(), 1);
        dm.tblProj2->next();
        QCOMPARE(dm.tblProj2->asInteger("VarNum"), 2);
        QCOMPARE(dm.tblProj3->recNo(), 0);
        QCOMPARE(dm.tblProj3->recordCount(), 2);
    }

    void masterMoveSignalsBoundWindows()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        addProjectWithVariants(dm, "А");
        appendRow(*dm.tblProj0, {{"Name", "Б"}});
        QSignalSpy periods(dm.tblProj1, &TTable::rowsChanged);
        QSignalSpy modules(dm.tblProj4, &TTable::rowsChanged);
        dm.tblProj0->first();
        QVERIFY(periods.count() >= 1);
        QVERIFY(modules.count() >= 1);
        periods.clear();
        dm.tblProj0->disableControls();
        dm.tblProj0->last();
        dm.tblProj0->first();
        QCOMPARE(periods.count(), 0); // suspended, details included
        dm.tblProj0->enableControls();
        QVERIFY(periods.count() >= 1);
    }

    // Bound windows see a command's result once, not each of its steps; states still show at once.
    void commandSignalsItsResultOnce()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        appendRow(*dm.tblProj0, {{"Name", "А"}});
        QSignalSpy rows(dm.tblProj1, &TTable::rowsChanged);
        QSignalSpy states(dm.tblProj1, &TTable::stateChanged);
        {
            Store::Transaction tx(*td.store);
            for (int h = 0; h < 24; ++h)
                appendRow(*dm.tblProj1, {{"T1", h}, {"T2", h + 1}, {"P", 10}, {"Q", 5}});
            QCOMPARE(rows.count(), 0);
            QCOMPARE(states.count(), 48); // insert and browse for each row
            tx.commit();
        }
        QCOMPARE(rows.count(), 1);
        rows.clear();
        try {
            Store::Transaction tx(*td.store);
            appendRow(*dm.tblProj1, {{"T1", 0}, {"T2", 1}});
            throw KorvanError("сбой");
        } catch (const KorvanError &) {
        }
        QVERIFY(rows.count() >= 1); // the undone rows are shown gone
        QCOMPARE(dm.tblProj1->recordCount(), 24);
    }

    void projectCascadeTakesItsAnalysisRows()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        const qint64 a = addProjectWithVariants(dm, "А");
        addProjectWithVariants(dm, "Б");
        appendRow(*dm.tblSel_KU, {{"Kod0", a}, {"TipKU", "УКМ"}});
        QVERIFY(dm.tblProj0->locate("Kod", a));
        QSignalSpy posted(dm.tblProj0, &TTable::rowsChanged);
        dm.tblProj0->remove();
        QCOMPARE(rowsIn(*td.store, "project0.db"), 1);
        // Only project Б's rows remain at every level.
        QCOMPARE(rowsIn(*td.store, "project1.db"), 2);
        QCOMPARE(rowsIn(*td.store, "project2.db"), 2);
        QCOMPARE(rowsIn(*td.store, "project3.DB"), 4);
        QCOMPARE(rowsIn(*td.store, "project4.DB"), 4);
        QCOMPARE(rowsIn(*td.store, "project5.DB"), 2);
        QCOMPARE(rowsIn(*td.store, "sel_ku.DB"), 0); // the analysis rows go with their project
        // The shared cursors follow: the rows of Б at every level, read again.
        QCOMPARE(dm.tblProj0->asString("Name"), QStringLiteral("Б"));
        QCOMPARE(dm.tblProj2->recordCount(), 2);
        QCOMPARE(dm.tblProj3->recordCount(), 2);
        QCOMPARE(dm.tblProj4->recordCount(), 1);
        QCOMPARE(dm.tblProj5->recordCount(), 1);
        dm.tblProj0->remove();
        for (const char *t : {"project1.db", "project2.db", "project3.DB", "project4.DB", "project5.DB"})
            QCOMPARE(rowsIn(*td.store, t), 0);
        QCOMPARE(rowsIn(*td.store, "sel_ku.DB"), 0);
    }

    void catalogueCascadeLeavesVariants()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        const int types = rowsIn(*td.store, "sKU1.DB");
        const int groups = rowsIn(*td.store, "sKU2.DB");
        dm.tblsKU0->first();
        const int ownTypes = dm.tblsKU1->recordCount();
        int ownGroups = 0;
        for (dm.tblsKU1->first(); !dm.tblsKU1->eof(); dm.tblsKU1->next())
            ownGroups += dm.tblsKU2->recordCount();
        QVERIFY(ownTypes > 0 && ownGroups > 0);
        const qint64 ku0 = dm.tblsKU0->currentKod();
        appendRow(*dm.tblProj0, {{"Name", "П"}});
        appendRow(*dm.tblProj2, {{"VarNum", 1}, {"KodKU0", ku0}, {"TipKU", "x"}});
        dm.tblsKU0->first();
        dm.tblsKU0->remove();
        QCOMPARE(rowsIn(*td.store, "sKU1.DB"), types - ownTypes);
        QCOMPARE(rowsIn(*td.store, "sKU2.DB"), groups - ownGroups);
        QCOMPARE(dm.tblProj2->asInteger("KodKU0"), ku0);
    }

    void detailEditGuard_data()
    {
        QTest::addColumn<QString>("masterName");
        QTest::addColumn<QString>("detailName");
        QTest::newRow("company and type") << "sKU0.db"
                                          << "sKU1.DB";
        QTest::newRow("type and modules") << "sKU1.DB"
                                          << "sKU2.DB";
        QTest::newRow("industry and enterprise") << "sSutGraphic0.db"
                                                 << "sSutGraphic1.db";
        QTest::newRow("enterprise and graph") << "sSutGraphic1.db"
                                              << "sSutGraphic2.db";
    }
    void detailEditGuard()
    {
        QFETCH(QString, masterName);
        QFETCH(QString, detailName);
        TestData td;
        TTable &master = *td.data->table(masterName);
        TTable &detail = *td.data->table(detailName);
        MessageRecorder rec;
        master.first();
        const int before = detail.recordCount();
        master.edit();
        QVERIFY_THROWS_EXCEPTION(Abort, detail.append());
        QVERIFY_THROWS_EXCEPTION(Abort, detail.edit());
        QCOMPARE(rec.errors,
                 QStringList({"Завершите работу с главной таблицей.", "Завершите работу с главной таблицей."}));
        QCOMPARE(master.state(), TTable::State::Edit); // the master keeps its state
        QCOMPARE(detail.state(), TTable::State::Browse);
        master.post();
        detail.append();
        QCOMPARE(detail.state(), TTable::State::Insert);
        detail.cancel();
        QCOMPARE(detail.recordCount(), before);
        QCOMPARE(rec.errors.size(), 2);

        // A new master row, not yet posted, is refused with the same words (it has no key yet).
        master.append();
        QVERIFY_THROWS_EXCEPTION(Abort, detail.append());
        QCOMPARE(rec.errors.size(), 3);
        QCOMPARE(rec.errors.last(), "Завершите работу с главной таблицей.");
        QCOMPARE(detail.state(), TTable::State::Browse);
        master.cancel();
    }

    // A window follows a command's result, not its steps: creating a project posts the project
    // row and its totals, and the project cursor tells its windows once, after the commit.
    void projectCommandSignalsOnceAfterCommit()
    {
        TestData td;
        TTable &projects = *td.data->tblProj0;
        int inCommand = 0;
        QSignalSpy rows(&projects, &TTable::rowsChanged), current(&projects, &TTable::currentChanged);
        connect(&projects, &TTable::rowsChanged, [&] { inCommand += td.store->transactionDepth() > 0; });
        createProject(*td.data, newProjectParams(*td.data));
        QCOMPARE(rows.count(), 1);
        QVERIFY(current.count() <= 1);
        QCOMPARE(inCommand, 0);
        QCOMPARE(projects.recordCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDataModule)
#include "test_data_module.moc"
