// A long-lived program on a shared server: it survives a lost connection and follows what other
// programs commit. Needs a server: cli/server_store.py runs it with KORVAN_TEST_PG_URL set to a
// throwaway database; elsewhere it is skipped.
#include "core/Messages.h"
#include "core/data/Fields.h"
#include "core/data/PgEngine.h"
#include "core/data/Statement.h"
#include "core/data/Store.h"
#include "core/data/TTable.h"
#include "TestData.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cstdint>
#include <cstring>

using namespace korvan;
using namespace korvan::test;

namespace {

int backendPid(Store &store) { return static_cast<PgEngine &>(store.engine()).backendPid(); }

// Ends the other store's server process, as an administrator or a server restart would, and
// waits until it is gone.
void terminate(Store &killer, Store &victim)
{
    const int pid = backendPid(victim);
    QVERIFY(pid > 0);
    QCOMPARE(killer.scalar(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid)).toLongLong(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(
        killer.scalar(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE pid = %1").arg(pid)).toLongLong(), 0,
        10000);
}

qint64 projectCount(Store &store)
{
    return store.scalar(QStringLiteral("SELECT count(*) FROM \"project0.db\"")).toLongLong();
}

// Polls as a window's timer would until the store hears of others' commits (a notification
// comes a moment after the commit). Each poll takes what it heard.
bool heard(Store &store)
{
    QElapsedTimer waited;
    waited.start();
    while (!store.pollChanges()) {
        if (waited.elapsed() > 5000)
            return false;
        QTest::qWait(20);
    }
    return true;
}

} // namespace

class TestServerSession : public QObject {
    Q_OBJECT

    QString url;

private slots:
    void init()
    {
        url = qEnvironmentVariable("KORVAN_TEST_PG_URL");
        if (url.isEmpty())
            QSKIP("KORVAN_TEST_PG_URL is not set: cli/server_store.py gives a server's address");
    }

    void connectionCutInTheMiddleOfACommand_data()
    {
        QTest::addColumn<bool>("sentAhead");
        // The row after the cut is the command's first in its table: the program waits for its
        // key, and the post itself fails.
        QTest::newRow("the failing row waits for its key") << false;
        // Its table had a row of the command already: the next key is known, the row is sent
        // without waiting, and the failure is found when the command commits.
        QTest::newRow("the failing row is sent ahead") << true;
    }

    void connectionCutInTheMiddleOfACommand()
    {
        QFETCH(bool, sentAhead);
        const auto a = Store::open(url);
        const auto other = Store::open(url);
        TTable projects(*a, tbl::project0);
        projects.open();
        TTable companies(*a, tbl::sKU0);
        companies.open();
        appendRow(projects, {{QStringLiteral("Name"), QStringLiteral("До сбоя")}});
        const qint64 before = projectCount(*other);
        const QString countCompanies = QStringLiteral("SELECT count(*) FROM \"sKU0.db\"");
        const qint64 companiesBefore = other->scalar(countCompanies).toLongLong();
        const int oldPid = backendPid(*a);

        // The command has written one row when its connection is cut; its next write fails.
        try {
            Store::Transaction tx(*a);
            if (sentAhead)
                appendRow(projects, {{QStringLiteral("Name"), QStringLiteral("Первая строка команды")}});
            else
                appendRow(companies, {{QStringLiteral("Company"), QStringLiteral("Первая строка команды")}});
            terminate(*other, *a);
            appendRow(projects, {{QStringLiteral("Name"), QStringLiteral("Вторая строка команды")}});
            tx.commit();
            QFAIL("a command whose connection was cut went through");
        } catch (const KorvanError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("соединение с сервером прервано")) &&
                         e.message().contains(QStringLiteral("Следующая команда подключится к серверу заново")),
                     qPrintable(e.message()));
        }
        QCOMPARE(a->transactionDepth(), 0);
        if (sentAhead) {
            // The post had ended: the cursor reads again what the server holds.
            QCOMPARE(projects.state(), TTable::State::Browse);
        } else {
            // The failed row stays in the edit buffer, as after any failed post; the user gives it up.
            QCOMPARE(projects.asString(QStringLiteral("Name")), QStringLiteral("Вторая строка команды"));
            projects.cancel();
        }
        QCOMPARE(projectCount(*other), before);
        QCOMPARE(other->scalar(countCompanies).toLongLong(), companiesBefore);

        // The next command connects again; the cursor and its reused statements work on the new
        // connection.
        {
            Store::Transaction tx(*a);
            appendRow(projects, {{QStringLiteral("Name"), QStringLiteral("После сбоя")}});
            tx.commit();
        }
        QVERIFY(backendPid(*a) != oldPid);
        QCOMPARE(projectCount(*other), before + 1);
        projects.refresh();
        QCOMPARE(projects.recordCount(), int(before + 1));
        QStringList names;
        for (const TTable::Row &row : projects.rows())
            names << row[projects.fieldIndex(QStringLiteral("Name"))].toString();
        QVERIFY(names.contains(QStringLiteral("После сбоя")));
        QVERIFY(!names.contains(QStringLiteral("Первая строка команды")));
    }

    void connectionCutBetweenCommands()
    {
        // A connection cut while the program waited is found out by the next statement, which is
        // sent again on a new connection: neither a read nor a command fails for it.
        const auto a = Store::open(url);
        const auto other = Store::open(url);
        TTable projects(*a, tbl::project0);
        projects.open();
        const int count = projects.recordCount();
        terminate(*other, *a);
        projects.refresh();
        QCOMPARE(projects.recordCount(), count);
        terminate(*other, *a);
        Store::Transaction tx(*a);
        appendRow(projects, {{QStringLiteral("Name"), QStringLiteral("Между командами")}});
        tx.commit();
        QCOMPARE(projectCount(*other), count + 1);
    }

    void readingTransactionKeepsItsSnapshot()
    {
        // A copy of the whole store reads it in one such transaction while others go on writing.
        const auto a = Store::open(url);
        const auto other = Store::open(url);
        const qint64 before = projectCount(*a);
        {
            Store::Transaction reading(*a, Store::Transaction::OnlyReading);
            QCOMPARE(projectCount(*a), before);
            TTable projects(*other, tbl::project0);
            projects.open();
            appendRow(projects, {{QStringLiteral("Name"), QStringLiteral("Записан во время чтения")}});
            QCOMPARE(projectCount(*other), before + 1);
            QCOMPARE(projectCount(*a), before);
            reading.commit();
        }
        QCOMPARE(projectCount(*a), before + 1);
    }

    void rowsSentAheadAreCheckedBeforeTheCommit()
    {
        // Inside a command, rows after a table's first are sent without waiting for the server,
        // with the keys that follow the first. Another program inserting into the same table
        // meanwhile takes one of those keys: the command must not commit rows that refer to it.
        const auto a = Store::open(url);
        const auto b = Store::open(url);
        TTable projects(*a, tbl::project0);
        projects.open();
        TTable others(*b, tbl::project0);
        others.open();
        const auto insertMeanwhile = [&](const QString &name) {
            Store::Transaction tx(*a);
            appendRow(projects, {{QStringLiteral("Name"), name + QStringLiteral(" 1")}});
            appendRow(others, {{QStringLiteral("Name"), name + QStringLiteral(" другого")}});
            appendRow(projects, {{QStringLiteral("Name"), name + QStringLiteral(" 2")}});
            tx.commit();
        };
        try {
            insertMeanwhile(QStringLiteral("Первая попытка"));
            QFAIL("rows with a key taken by another program were committed");
        } catch (const EngineError &e) {
            QVERIFY2(e.retryable(), qPrintable(e.message()));
        }
        QCOMPARE(a->transactionDepth(), 0);
        TTable check(*b, tbl::project0);
        check.open();
        QStringList committed;
        for (const TTable::Row &row : check.rows())
            committed << row[check.fieldIndex(QStringLiteral("Name"))].toString();
        QVERIFY(!committed.contains(QStringLiteral("Первая попытка 1")));
        QVERIFY(committed.contains(QStringLiteral("Первая попытка другого")));

        // The command's next try waits for every key, and goes through although the other
        // program inserts again.
        insertMeanwhile(QStringLiteral("Вторая попытка"));
        check.refresh();
        committed.clear();
        for (const TTable::Row &row : check.rows())
            committed << row[check.fieldIndex(QStringLiteral("Name"))].toString();
        QVERIFY(committed.contains(QStringLiteral("Вторая попытка 1")));
        QVERIFY(committed.contains(QStringLiteral("Вторая попытка 2")));
    }

    void editSentAheadOverAChangedRowIsRefused()
    {
        // An edit posted inside a command is sent without waiting too; another user's change
        // to the row is found before the command commits, and the command is undone.
        const auto a = Store::open(url);
        const auto b = Store::open(url);
        TTable mine(*a, tbl::project0);
        mine.open();
        const qint64 kod = appendRow(mine, {{QStringLiteral("Name"), QStringLiteral("Общий проект")}});
        TTable theirs(*b, tbl::project0);
        theirs.open();
        QVERIFY(theirs.locate(QStringLiteral("Kod"), kod));
        theirs.edit();
        theirs.setValue(QStringLiteral("Name"), QStringLiteral("Изменен другим"));
        theirs.post();
        try {
            Store::Transaction tx(*a);
            QVERIFY(mine.locate(QStringLiteral("Kod"), kod));
            mine.edit();
            mine.setValue(QStringLiteral("Name"), QStringLiteral("Изменен мной"));
            mine.post();
            tx.commit();
            QFAIL("an edit over another user's change was committed");
        } catch (const KorvanError &e) {
            QCOMPARE(e.message(), QStringLiteral("Запись изменена другим пользователем. Обновите данные."));
        }
        QCOMPARE(a->transactionDepth(), 0);
        QCOMPARE(
            b->scalar(QStringLiteral("SELECT \"Name\" FROM \"project0.db\" WHERE \"Kod\" = %1").arg(kod)).toString(),
            QStringLiteral("Изменен другим"));
    }

    void rowsGatheredInACommandAreWrittenInOrder()
    {
        // A command inserts more rows than go in one statement, edits each twice in a row, some
        // of them while their inserts may still be gathered, and leaves one row as it was:
        // another program sees every last value.
        const auto a = Store::open(url);
        const auto b = Store::open(url);
        TTable projects(*a, tbl::project0);
        projects.open();
        const qint64 earlier = appendRow(projects, {{QStringLiteral("Name"), QStringLiteral("До команды")}});
        QList<qint64> keys;
        {
            Store::Transaction tx(*a);
            // An edit before the inserts: the rows' updates are gathered before their inserts are.
            QVERIFY(projects.locate(QStringLiteral("Kod"), earlier));
            projects.edit();
            projects.setValue(QStringLiteral("Name"), QStringLiteral("До команды, правка"));
            projects.post();
            for (int i = 0; i < 70; ++i)
                keys << appendRow(projects, {{QStringLiteral("Name"), QStringLiteral("Строка %1").arg(i)}});
            for (int i = 0; i < 69; ++i)
                for (int round = 1; round <= 2; ++round) {
                    QVERIFY(projects.locate(QStringLiteral("Kod"), keys[i]));
                    projects.edit();
                    projects.setValue(QStringLiteral("Name"), QStringLiteral("Строка %1, правка %2").arg(i).arg(round));
                    projects.setValue(QStringLiteral("Tarif_a"), i * 0.5 + round);
                    projects.post();
                }
            tx.commit();
        }
        for (int i = 0; i < 70; ++i) {
            const QString where = QStringLiteral(" FROM \"project0.db\" WHERE \"Kod\" = %1").arg(keys[i]);
            QCOMPARE(b->scalar(QStringLiteral("SELECT \"Name\"") + where).toString(),
                     i < 69 ? QStringLiteral("Строка %1, правка 2").arg(i) : QStringLiteral("Строка 69"));
            if (i < 69)
                QCOMPARE(b->scalar(QStringLiteral("SELECT \"Tarif_a\"") + where).toDouble(), i * 0.5 + 2);
        }

        // The rows' versions followed the edits: a later edit of one in a post of its own goes
        // through.
        QVERIFY(projects.locate(QStringLiteral("Kod"), keys[3]));
        projects.edit();
        projects.setValue(QStringLiteral("Name"), QStringLiteral("После команды"));
        projects.post();
        QCOMPARE(b->scalar(QStringLiteral("SELECT \"Name\" FROM \"project0.db\" WHERE \"Kod\" = %1").arg(keys[3]))
                     .toString(),
                 QStringLiteral("После команды"));
    }

    void anInnerStepUndoneKeepsWhatCameBefore()
    {
        // A command's inner step (a savepoint, sent without waiting like the rows) fails after
        // writing; the rows written before it, not yet answered, stay and are committed with
        // those written after it.
        const auto a = Store::open(url);
        const auto b = Store::open(url);
        TTable projects(*a, tbl::project0);
        projects.open();
        // The names are this run's own: the rows are counted by name.
        const QString run = QString::number(QRandomGenerator::global()->generate());
        const auto named = [&](const char *name) { return QString::fromUtf8(name) + QLatin1Char(' ') + run; };
        {
            Store::Transaction tx(*a);
            appendRow(projects, {{QStringLiteral("Name"), named("Шаг до 1")}});
            appendRow(projects, {{QStringLiteral("Name"), named("Шаг до 2")}});
            try {
                Store::Transaction inner(*a);
                appendRow(projects, {{QStringLiteral("Name"), named("Отмененный шаг")}});
                throw KorvanError(QStringLiteral("шаг не удался"));
            } catch (const KorvanError &) {
            }
            appendRow(projects, {{QStringLiteral("Name"), named("Шаг после")}});
            tx.commit();
        }
        const auto count = [&](const QString &name) {
            return b->scalar(QStringLiteral("SELECT count(*) FROM \"project0.db\" WHERE \"Name\" = '%1'").arg(name))
                .toLongLong();
        };
        QCOMPARE(count(named("Шаг до 1")), 1);
        QCOMPARE(count(named("Шаг до 2")), 1);
        QCOMPARE(count(named("Отмененный шаг")), 0);
        QCOMPARE(count(named("Шаг после")), 1);
    }

    void aPostThatChangesNothingWritesNothing()
    {
        // Posting a row with every value as read leaves the stored row alone, even when another
        // user changed it meanwhile: their change is kept and nobody is refused.
        const auto a = Store::open(url);
        const auto b = Store::open(url);
        TTable mine(*a, tbl::project0);
        mine.open();
        const qint64 kod = appendRow(mine, {{QStringLiteral("Name"), QStringLiteral("Без изменений")}});
        const QString version = QStringLiteral("SELECT xmin::text FROM \"project0.db\" WHERE \"Kod\" = %1").arg(kod);
        const QString before = b->scalar(version).toString();
        QVERIFY(mine.locate(QStringLiteral("Kod"), kod));
        mine.edit();
        mine.setValue(QStringLiteral("Name"), QStringLiteral("Без изменений"));
        mine.post();
        QCOMPARE(b->scalar(version).toString(), before);

        b->exec(QStringLiteral("UPDATE \"project0.db\" SET \"ProjMemo\" = 'Другой' WHERE \"Kod\" = %1").arg(kod));
        mine.edit();
        mine.post();
        QCOMPARE(b->scalar(QStringLiteral("SELECT \"ProjMemo\" FROM \"project0.db\" WHERE \"Kod\" = %1").arg(kod))
                     .toString(),
                 QStringLiteral("Другой"));
    }

    void numbersKeepEveryBit_data()
    {
        // Numbers travel in the server's binary form both ways; what comes back is what was
        // written, to the last bit, whatever the path.
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<double>("stepRead");
        QTest::addColumn<qint64>("countWritten");
        QTest::addColumn<qint64>("countRead");
        const qint64 big = (qint64(1) << 53) + 1;
        QTest::newRow("tenth") << QVariant(0.1) << 0.1 << qint64(0) << qint64(0);
        QTest::newRow("third, negative whole") << QVariant(1.0 / 3) << 1.0 / 3 << qint64(-1) << qint64(-1);
        QTest::newRow("minus zero") << QVariant(-0.0) << -0.0 << qint64(7) << qint64(7);
        QTest::newRow("smallest") << QVariant(5e-324) << 5e-324 << qint64(INT32_MAX) << qint64(INT32_MAX);
        QTest::newRow("largest") << QVariant(1.7976931348623157e308) << 1.7976931348623157e308 << qint64(INT32_MIN)
                                 << qint64(INT32_MIN);
        QTest::newRow("negative, many digits")
            << QVariant(-2.718281828459045e-10) << -2.718281828459045e-10 << qint64(123456789) << qint64(123456789);
        // A whole number in a double's column is that double, rounded as the server rounds it.
        QTest::newRow("whole number as a double") << QVariant(big) << double(big) << qint64(2) << qint64(2);
    }

    void numbersKeepEveryBit()
    {
        QFETCH(QVariant, written);
        QFETCH(double, stepRead);
        QFETCH(qint64, countWritten);
        QFETCH(qint64, countRead);
        const auto a = Store::open(url);
        const auto b = Store::open(url);
        TTable modules(*a, tbl::sKU2);
        modules.open();
        const auto row = [&](qint64 master) {
            return QVariantMap{{QStringLiteral("Kod0"), master},
                               {QStringLiteral("Qstup"), written},
                               {QStringLiteral("Kol_vo"), countWritten}};
        };
        // Alone; inside a command, where rows are gathered into one insert; and edited inside one.
        const qint64 master = 900000 + QRandomGenerator::global()->bounded(100000);
        QList<qint64> keys{appendRow(modules, row(master))};
        {
            Store::Transaction tx(*a);
            for (int i = 0; i < 3; ++i)
                keys << appendRow(modules, row(master));
            QVERIFY(modules.locate(QStringLiteral("Kod"), keys[0]));
            modules.edit();
            modules.setValue(QStringLiteral("Qstup"), 12.5);
            modules.post();
            modules.edit();
            modules.setValue(QStringLiteral("Qstup"), written);
            modules.post();
            tx.commit();
        }
        const auto same = [](double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; };
        // Read by a cursor of another program (its rows come in binary form) and as a plain
        // read's text.
        TTable theirs(*b, tbl::sKU2);
        theirs.open();
        theirs.setFilter(QStringLiteral("Kod0='%1'").arg(master));
        theirs.setFiltered(true);
        QCOMPARE(theirs.recordCount(), 4);
        for (const TTable::Row &r : theirs.rows()) {
            QVERIFY2(same(r[theirs.fieldIndex(QStringLiteral("Qstup"))].toDouble(), stepRead),
                     qPrintable(QString::number(r[theirs.fieldIndex(QStringLiteral("Qstup"))].toDouble(), 'g', 17)));
            QCOMPARE(r[theirs.fieldIndex(QStringLiteral("Kol_vo"))].toLongLong(), countRead);
        }
        for (qint64 key : keys) {
            const QString where = QStringLiteral(" FROM \"sKU2.DB\" WHERE \"Kod\" = %1").arg(key);
            QVERIFY(same(b->scalar(QStringLiteral("SELECT \"Qstup\"") + where).toDouble(), stepRead));
            QCOMPARE(b->scalar(QStringLiteral("SELECT \"Kol_vo\"") + where).toLongLong(), countRead);
        }
    }

    void detailsReadAheadFollowTheCommandsWrites()
    {
        // Inside a command, a detail cursor whose master moves on while writes wait for their
        // answers reads every master row's details at once. What the command then writes to the
        // detail table, or undoes, is what the cursor shows at the next move.
        const auto a = Store::open(url);
        TTable types(*a, tbl::sKU1), modules(*a, tbl::sKU2), projects(*a, tbl::project0);
        types.open();
        modules.setMaster(&types);
        modules.open();
        projects.open();
        const QString company = QStringLiteral("Читающая вперед %1").arg(QRandomGenerator::global()->generate());
        types.setFilter(QStringLiteral("Name='%1'").arg(company));
        types.setFiltered(true);
        QList<qint64> kods;
        {
            Store::Transaction tx(*a);
            for (int t = 0; t < 3; ++t) {
                kods << appendRow(types, {{QStringLiteral("Name"), company}});
                for (int m = 0; m <= t; ++m)
                    appendRow(modules, {{QStringLiteral("Qstup"), 10.0 * (t + 1) + m}, {QStringLiteral("Kol_vo"), 1}});
            }
            tx.commit();
        }
        const qint64 project = appendRow(projects, {{QStringLiteral("Name"), company}});
        int edits = 0;
        const auto writeAhead = [&] {
            QVERIFY(projects.locate(QStringLiteral("Kod"), project));
            projects.edit();
            projects.setValue(QStringLiteral("Tarif_a"), ++edits);
            projects.post();
        };
        const auto steps = [&](qint64 type) {
            types.locate(QStringLiteral("Kod"), type);
            QList<double> out;
            for (const TTable::Row &r : modules.rows())
                out << r[modules.fieldIndex(QStringLiteral("Qstup"))].toDouble();
            return out;
        };
        Store::Transaction tx(*a);
        writeAhead();
        QCOMPARE(steps(kods[0]), (QList<double>{10}));
        writeAhead();
        QCOMPARE(steps(kods[1]), (QList<double>{20, 21}));
        // The third type's modules came with the second's: nothing is sent for them.
        writeAhead();
        const qint64 sent = a->engine().changeCount();
        QCOMPARE(steps(kods[2]), (QList<double>{30, 31, 32}));
        QCOMPARE(a->engine().changeCount(), sent);

        // A module added to the third type is there when the cursor comes back to it.
        appendRow(modules, {{QStringLiteral("Qstup"), 33.0}, {QStringLiteral("Kol_vo"), 1}});
        writeAhead();
        QCOMPARE(steps(kods[0]), (QList<double>{10}));
        writeAhead();
        QCOMPARE(steps(kods[2]), (QList<double>{30, 31, 32, 33}));
        // An inner step that adds a module and reads ahead, then is undone: the module is gone.
        try {
            Store::Transaction inner(*a);
            types.locate(QStringLiteral("Kod"), kods[1]);
            appendRow(modules, {{QStringLiteral("Qstup"), 22.0}, {QStringLiteral("Kol_vo"), 1}});
            writeAhead();
            QCOMPARE(steps(kods[0]), (QList<double>{10}));
            writeAhead();
            QCOMPARE(steps(kods[1]), (QList<double>{20, 21, 22}));
            throw KorvanError(QStringLiteral("шаг не удался"));
        } catch (const KorvanError &) {
        }
        writeAhead();
        QCOMPARE(steps(kods[2]), (QList<double>{30, 31, 32, 33}));
        writeAhead();
        QCOMPARE(steps(kods[1]), (QList<double>{20, 21}));
        tx.commit();
    }

    void othersCommitsAreSeenAfterPolling()
    {
        const auto a = Store::open(url);
        const auto b = Store::open(url);
        TTable mine(*a, tbl::project0), theirs(*b, tbl::project0);
        mine.open();
        theirs.open();
        const int count = theirs.recordCount();

        // Another program's command: B's cursor keeps what it read until B hears of it.
        const qint64 kod = [&] {
            Store::Transaction tx(*a);
            const qint64 k = appendRow(mine, {{QStringLiteral("Name"), QStringLiteral("Чужой проект")}});
            tx.commit();
            return k;
        }();
        QCOMPARE(theirs.recordCount(), count);
        QVERIFY(heard(*b));
        QCOMPARE(theirs.recordCount(), count + 1);
        QVERIFY(theirs.locate(QStringLiteral("Kod"), kod));
        QVERIFY(!b->pollChanges());

        // A command that is undone tells nobody anything.
        {
            Store::Transaction tx(*a);
            appendRow(mine, {{QStringLiteral("Name"), QStringLiteral("Отмененный")}});
        }
        // B's own changes do not make B read again; A hears of them.
        appendRow(theirs, {{QStringLiteral("Name"), QStringLiteral("Свой проект")}});
        QVERIFY(heard(*a));
        QTest::qWait(300);
        QVERIFY(!b->pollChanges());

        // A cursor being edited keeps its buffer and reads the others' rows after its post.
        theirs.edit();
        theirs.setValue(QStringLiteral("Name"), QStringLiteral("Правка B"));
        appendRow(mine, {{QStringLiteral("Name"), QStringLiteral("Еще один чужой")}});
        QVERIFY(heard(*b));
        QVERIFY(theirs.state() == TTable::State::Edit);
        QCOMPARE(theirs.asString(QStringLiteral("Name")), QStringLiteral("Правка B"));
        theirs.post();
        QCOMPARE(theirs.recordCount(), count + 3);

        // What others committed while B's connection was down went unheard: B's next statement
        // connects again, and every cursor of B reads again at the next poll.
        QVERIFY(!b->pollChanges());
        terminate(*a, *b);
        appendRow(mine, {{QStringLiteral("Name"), QStringLiteral("Пока B не слышал")}});
        QTest::qWait(300);
        b->scalar(QStringLiteral("SELECT 1"));
        QCOMPARE(theirs.recordCount(), count + 3);
        QVERIFY(b->pollChanges());
        QCOMPARE(theirs.recordCount(), count + 4);
    }
};

QTEST_GUILESS_MAIN(TestServerSession)
#include "test_server_session.moc"
