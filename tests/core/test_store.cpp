// The database file: creation, persistence, transactions, and the files and situations it refuses.
#include "core/data/Fields.h"
#include "core/data/PgEngine.h"
#include "core/data/Schema.h"
#include "MessageRecorder.h"
#include "TestData.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestStore : public QObject {
    Q_OBJECT

    static QByteArray fileBytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Builds an SQLite file by hand, outside the program.
    static void makeForeignDatabase(const QString &path, const QStringList &statements)
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            for (const QString &s : statements)
                QVERIFY2(q.exec(s), qPrintable(s));
            db.close();
        }
        QSqlDatabase::removeDatabase("foreign");
    }

    static QString openError(const QString &dir)
    {
        try {
            Store::open(dir);
        } catch (const KorvanError &e) {
            return e.message();
        }
        return {};
    }

private slots:
    // The named constants the code uses are exactly the schema's fields and tables (regenerate
    // them with scripts/gen-fields when the schema changes).
    void fieldConstantsMatchTheSchema()
    {
        QStringList fields, tables;
        for (const TableDef *t : allTables()) {
            tables << QString::fromLatin1(t->name);
            for (const FieldDef &f : t->fields)
                if (!fields.contains(QLatin1String(f.name)))
                    fields << QString::fromLatin1(f.name);
        }
        QCOMPARE(fld::all(), fields);
        QCOMPARE(tbl::all(), tables);
        QCOMPARE(fld::PayWa, QStringLiteral("$Wa"));
        QCOMPARE(tbl::project3, QStringLiteral("project3.DB"));
    }

    void serverPlaceholders_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("count");
        QTest::newRow("bare") << "a=? AND b=?"
                              << "a=$1 AND b=$2" << 2;
        QTest::newRow("numbered") << "\"Kod0\"=?1)"
                                  << "\"Kod0\"=$1)" << 1;
        QTest::newRow("numbered twice") << "a=?2 OR b=?2 OR c=?1"
                                        << "a=$2 OR b=$2 OR c=$1" << 2;
        QTest::newRow("bare after numbered") << "a=?3, b=?"
                                             << "a=$3, b=$4" << 4;
        QTest::newRow("quoted") << "'?' = \"?\" AND x=?"
                                << "'?' = \"?\" AND x=$1" << 1;
    }

    void serverPlaceholders()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QFETCH(int, count);
        int found = -1;
        QCOMPARE(QString::fromUtf8(PgEngine::numberedPlaceholders(sql, &found)), expected);
        QCOMPARE(found, count);
    }

    void newStoreHasDeliveredContents()
    {
        TestData td;
        QVERIFY(QFile::exists(td.dir.filePath(Store::FileName)));
        QVERIFY(td.data->tblsKU0->recordCount() >= 6);
        QVERIFY(td.data->tblSutGr0->recordCount() >= 10);
        QVERIFY(td.data->TableReport->recordCount() >= 2);
        QCOMPARE(td.data->TableReport->asString("Name"), QStringLiteral("Полный отчет"));
        QCOMPARE(td.data->tblProj0->recordCount(), 0);
    }

    void dataSurvivesReopen()
    {
        TestData td;
        TTable &p = *td.data->tblProj0;
        p.append();
        p.setValue("Name", "Завод \"Прогресс\" <1>");
        p.setValue("ProjMemo", QString("строка 1\nстрока 2"));
        p.setValue("ProjDate", QDate(2026, 12, 10));
        p.setValue("ProjTime", QTime(23, 59, 1));
        p.setValue("Tarif_a", 0.1 + 0.2);
        p.setValue("MonthDay", 21);
        p.post();
        const TTable::Row written = p.currentRow();
        const int types = td.data->tblsKU1->recordCount();
        td.reopen();
        TTable &q = *td.data->tblProj0;
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.currentRow(), written);
        QCOMPARE(q.asFloat("Tarif_a"), 0.1 + 0.2);        // bit for bit
        QCOMPARE(td.data->tblsKU1->recordCount(), types); // not seeded twice
    }

    void failedCommandWritesNothing()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        appendRow(*dm.tblProj0, {{"Name", "До"}});
        try {
            Store::Transaction tx(*td.store);
            appendRow(*dm.tblProj0, {{"Name", "Новый"}});
            appendRow(*dm.tblProj1, {{"T1", 0}, {"T2", 24}});
            {
                Store::Transaction inner(*td.store);
                dm.tblProj0->first();
                dm.tblProj0->edit();
                dm.tblProj0->setValue("Name", "Изменён");
                dm.tblProj0->post();
                inner.commit();
            }
            throw KorvanError("сбой посреди команды");
        } catch (const KorvanError &) {
        }
        QCOMPARE(td.store->transactionDepth(), 0);
        // The shared cursors re-read: only the state before the command is left.
        QCOMPARE(dm.tblProj0->recordCount(), 1);
        QCOMPARE(dm.tblProj0->asString("Name"), QStringLiteral("До"));
        QCOMPARE(dm.tblProj1->recordCount(), 0);
        td.reopen();
        QCOMPARE(td.data->tblProj0->recordCount(), 1);
        QCOMPARE(td.data->tblProj0->asString("Name"), QStringLiteral("До"));
        TTable periods(*td.store, "project1.db");
        periods.open();
        QCOMPARE(periods.recordCount(), 0);
    }

    // Rows written inside a command take no savepoint of their own. A row refused before it is
    // written leaves the command free to go on; a row that fails after writing cannot be undone
    // alone, so the command can no longer be committed, only undone as a whole.
    void failedRowInsideCommand()
    {
        TestData td;
        TDataModule1 &dm = *td.data;
        TTable &p = *dm.tblProj0;
        appendRow(p, {{"Name", "До"}});
        MessageRecorder rec;
        p.beforePost = [](TTable &t) {
            if (t.asString("Name") == "Отказ")
                throw Abort();
        };
        p.afterPost.clear(); // in place of the data module's own notice
        p.afterPost = [](TTable &t) {
            if (t.asString("Name") == "Сбой")
                throw KorvanError("сбой после записи");
        };
        {
            Store::Transaction tx(*td.store);
            p.append();
            p.setValue("Name", "Отказ");
            QVERIFY_THROWS_EXCEPTION(Abort, p.post());
            QCOMPARE(p.state(), TTable::State::Insert);
            p.setValue("Name", "Принят");
            p.post();
            tx.commit();
        }
        QCOMPARE(p.recordCount(), 2);
        // A command with a nested one whose row fails after writing: undone by its own savepoint,
        // the nested command takes the row with it; committed, it hands the row to the command.
        for (const bool innerCommits : {false, true}) {
            {
                Store::Transaction tx(*td.store);
                appendRow(p, {{"Name", innerCommits ? "Лишний" : "Ещё"}});
                {
                    Store::Transaction inner(*td.store);
                    p.append();
                    p.setValue("Name", "Сбой");
                    QVERIFY_THROWS_EXCEPTION(KorvanError, p.post());
                    p.cancel();
                    if (innerCommits)
                        inner.commit();
                }
                if (innerCommits)
                    QVERIFY_THROWS_EXCEPTION(KorvanError, tx.commit());
                else
                    tx.commit();
            }
            QCOMPARE(p.recordCount(), 3); // "Ещё" kept, "Лишний" undone with its command
        }
        QCOMPARE(td.store->transactionDepth(), 0);
        p.afterPost = nullptr;
        QCOMPARE(p.recordCount(), 3);
        td.reopen();
        QCOMPARE(td.data->tblProj0->recordCount(), 3);
        // Alone, a failed row is its own transaction, undone at once.
        TTable &q = *td.data->tblProj0;
        q.afterPost.clear(); // the reopened data module set its own notice again
        q.afterPost = [](TTable &) { throw KorvanError("сбой после записи"); };
        q.append();
        q.setValue("Name", "Один");
        QVERIFY_THROWS_EXCEPTION(KorvanError, q.post());
        q.afterPost = nullptr;
        q.cancel();
        Store::Transaction tx(*td.store);
        appendRow(q, {{"Name", "После"}});
        tx.commit();
        QCOMPARE(q.recordCount(), 4);
    }

    void killedWriterLeavesLastCommit()
    {
        QTemporaryDir dir;
        QProcess writer;
        writer.start(qEnvironmentVariable("KORVAN_TEST_HELPERS") + "/korvan_store_writer", {dir.path()});
        QVERIFY(writer.waitForStarted());
        QVERIFY(writer.waitForReadyRead(60000));
        QCOMPARE(writer.readLine().trimmed(), QByteArray("ready"));
        writer.kill(); // SIGKILL, in the middle of the transaction
        QVERIFY(writer.waitForFinished());

        auto store = Store::open(dir.path()); // the dead writer's lock does not block
        QCOMPARE(store->scalar("PRAGMA integrity_check").toString(), QStringLiteral("ok"));
        TTable projects(*store, "project0.db");
        projects.open();
        QCOMPARE(projects.recordCount(), 1);
        QCOMPARE(projects.asString("Name"), QStringLiteral("сохранённый"));
    }

    void secondProgramRefused()
    {
        QTemporaryDir dir;
        auto first = Store::open(dir.path());
        const QString error = openError(dir.path());
        QVERIFY2(error.contains("уже работает другая копия программы"), qPrintable(error));
        // Which file, and who holds it.
        QVERIFY2(error.contains(dir.filePath("KorvanVkp1.lock")), qPrintable(error));
        QVERIFY2(error.contains(QString("процесс %1 на компьютере «%2»")
                                    .arg(QCoreApplication::applicationPid())
                                    .arg(QSysInfo::machineHostName())),
                 qPrintable(error));
        // Reading needs no lock.
        QVERIFY(Store::open(dir.path(), Store::Access::ReadOnly));
        first.reset();
        QVERIFY(openError(dir.path()).isEmpty());
    }

    // A portable copy keeps its data beside itself; an installed one, in the user's data folder.
    void dataDirectoryOfInstalledAndPortablePrograms()
    {
        QTemporaryDir portable;
        QCOMPARE(Store::dataDirectoryFor(portable.path()), portable.path() + "/Data");
        const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/Data";
        QCOMPARE(Store::dataDirectoryFor("/usr/bin"), perUser);
        QCOMPARE(Store::dataDirectoryFor("/usr/local/bin/"), perUser);
        QVERIFY(!QFileInfo::exists("/usr/bin/Data"));
    }

    // What a power loss, a crash or another computer left in the lock file does not matter: only
    // a living holder of the lock refuses.
    void leftoverLockFileDoesNotBlock_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbled") << QByteArray("\x00\xff\xfe garbage\n\n\n");
        QTest::newRow("other host") << QByteArray("12345\nдругой-компьютер\nKorvan Vkp\n");
        QTest::newRow("this host, dead process")
            << QByteArray("999999999\n") + QSysInfo::machineHostName().toUtf8() + "\n";
    }
    void leftoverLockFileDoesNotBlock()
    {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        QFile lock(dir.filePath("KorvanVkp1.lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(contents);
        lock.close();
        QCOMPARE(openError(dir.path()), QString());
    }

    // A lock held by another living process refuses, naming the file and the holder.
    void lockHeldByLiveProcessRefuses()
    {
        QTemporaryDir dir;
        QProcess writer;
        writer.start(qEnvironmentVariable("KORVAN_TEST_HELPERS") + "/korvan_store_writer", {dir.path()});
        QVERIFY(writer.waitForStarted());
        QVERIFY(writer.waitForReadyRead(60000));
        const QString error = openError(dir.path());
        QVERIFY2(error.contains(QString("процесс %1").arg(writer.processId())), qPrintable(error));
        QVERIFY2(error.contains("KorvanVkp1.lock"), qPrintable(error));
        writer.kill();
        QVERIFY(writer.waitForFinished());
        QCOMPARE(openError(dir.path()), QString());
    }

    void unusableDirectoryRefused()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString error = openError(dir.filePath("file/Data"));
        QVERIFY2(error.contains("file/Data"), qPrintable(error));
    }

    void foreignFilesRefusedAndKept_data()
    {
        QTest::addColumn<QStringList>("statements"); // empty: a text file instead of a database
        QTest::addColumn<QString>("expected");
        QTest::newRow("not a database") << QStringList()
                                        << "не является базой данных программы (файл не является базой данных";
        QTest::newRow("other tables") << QStringList{"CREATE TABLE notes (a TEXT)"} << "другие таблицы";
        QTest::newRow("newer format") << QStringList{"CREATE TABLE x (a)", "PRAGMA user_version=99"}
                                      << "более новой версией";
        QTest::newRow("changed table")
            << QStringList{"CREATE TABLE \"project0.db\" (\"Kod\" INTEGER PRIMARY KEY, \"Name\" VARCHAR(50))",
                           "PRAGMA user_version=1"}
            << "Таблица «project0.db»";
    }
    void foreignFilesRefusedAndKept()
    {
        QFETCH(QStringList, statements);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(Store::FileName);
        if (statements.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("это не база данных, а текст\n").repeated(200));
        } else {
            makeForeignDatabase(path, statements);
        }
        const QByteArray before = fileBytes(path);
        const QString error = openError(dir.path());
        QVERIFY2(error.contains(expected), qPrintable(error));
        QVERIFY2(error.contains(path), qPrintable(error)); // names the file
        QCOMPARE(fileBytes(path), before);
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "test_store.moc"
