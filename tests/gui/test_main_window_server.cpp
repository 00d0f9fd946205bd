// The main window on a shared server follows what another user commits, without being touched.
// Needs a server: cli/server_store.py runs it with KORVAN_TEST_PG_URL set to a throwaway
// database; elsewhere it is skipped.
#include "core/data/Fields.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/data/TTable.h"
#include "gui/app/TMainForm.h"
#include "TestData.h"

#include <QAction>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestMainWindowServer : public QObject {
    Q_OBJECT

private slots:
    void followsAnotherUsersCommits()
    {
        const QString url = qEnvironmentVariable("KORVAN_TEST_PG_URL");
        if (url.isEmpty())
            QSKIP("KORVAN_TEST_PG_URL is not set: cli/server_store.py gives a server's address");
        const auto mine = Store::open(url);
        TDataModule1 data(*mine);
        TMainForm window(data);
        window.show();
        QAction *edit = window.findChild<QAction *>(QStringLiteral("mnEdit"));
        QVERIFY(edit);
        QCOMPARE(data.tblProj0->recordCount(), 0);
        QVERIFY(!edit->isEnabled());

        // Another user's program adds a project, then renames it: the window shows both within
        // a second or two, through its own timer alone.
        const auto theirs = Store::open(url);
        TTable projects(*theirs, tbl::project0);
        projects.open();
        appendRow(projects, {{QStringLiteral("Name"), QStringLiteral("Проект соседа")}});
        QTRY_VERIFY_WITH_TIMEOUT(edit->isEnabled(), 3000);
        QCOMPARE(data.tblProj0->recordCount(), 1);
        QVERIFY(window.windowTitle().contains(QStringLiteral("Проект соседа")));
        projects.edit();
        projects.setValue(QStringLiteral("Name"), QStringLiteral("Переименованный"));
        projects.post();
        QTRY_VERIFY_WITH_TIMEOUT(window.windowTitle().contains(QStringLiteral("Переименованный")), 3000);
    }
};

QTEST_MAIN(TestMainWindowServer)
#include "test_main_window_server.moc"
