// Two users editing the same project on a shared server: the later post over a row changed
// meanwhile is refused and keeps the user's typed values. Needs a server: cli/server_store.py
// runs it with KORVAN_TEST_PG_URL set to a throwaway database; elsewhere it is skipped.
#include "core/Messages.h"
#include "core/data/Fields.h"
#include "core/data/Store.h"
#include "core/data/TTable.h"
#include "TestData.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;

class TestEditConflict : public QObject {
    Q_OBJECT

    QString url;

private slots:
    void init()
    {
        url = qEnvironmentVariable("KORVAN_TEST_PG_URL");
        if (url.isEmpty())
            QSKIP("KORVAN_TEST_PG_URL is not set: cli/server_store.py gives a server's address");
    }

    void laterPostOverAChangedRowIsRefused()
    {
        const auto first = Store::open(url);
        const auto second = Store::open(url);
        TTable a(*first, tbl::project0), b(*second, tbl::project0);
        a.open();
        const qint64 kod = appendRow(a, {{QStringLiteral("Name"), QStringLiteral("Исходный")}});
        b.open();
        QVERIFY(b.locate(QStringLiteral("Kod"), kod));

        // Both read the row; the first posts its change, then the second posts over it.
        a.edit();
        a.setValue(QStringLiteral("Name"), QStringLiteral("Первый"));
        b.edit();
        b.setValue(QStringLiteral("Name"), QStringLiteral("Второй"));
        a.post();
        try {
            b.post();
            QFAIL("the post over a row changed by another user went through");
        } catch (const KorvanError &e) {
            QCOMPARE(e.message(), QStringLiteral("Запись изменена другим пользователем. Обновите данные."));
        }
        QVERIFY(b.state() == TTable::State::Edit);
        QCOMPARE(b.asString(QStringLiteral("Name")), QStringLiteral("Второй"));

        // Its own successful post keeps the row's new version: the first user edits again freely.
        a.edit();
        a.setValue(QStringLiteral("Name"), QStringLiteral("Первый снова"));
        a.post();

        // Re-read, the second user's post goes through and the first sees it.
        b.cancel();
        b.refresh();
        QVERIFY(b.locate(QStringLiteral("Kod"), kod));
        QCOMPARE(b.asString(QStringLiteral("Name")), QStringLiteral("Первый снова"));
        b.edit();
        b.setValue(QStringLiteral("Name"), QStringLiteral("Второй"));
        b.post();
        a.refresh();
        QVERIFY(a.locate(QStringLiteral("Kod"), kod));
        QCOMPARE(a.asString(QStringLiteral("Name")), QStringLiteral("Второй"));
    }

    void firstEditOfAnInsertedRowIsChecked()
    {
        // The row's version comes back with its key: the inserting user's first edit is checked too.
        const auto first = Store::open(url);
        const auto second = Store::open(url);
        TTable a(*first, tbl::project0), b(*second, tbl::project0);
        a.open();
        const qint64 kod = appendRow(a, {{QStringLiteral("Name"), QStringLiteral("Новый")}});
        b.open();
        QVERIFY(b.locate(QStringLiteral("Kod"), kod));
        b.edit();
        b.setValue(QStringLiteral("Name"), QStringLiteral("Второй"));
        b.post();

        QCOMPARE(a.currentKod(), kod);
        a.edit();
        a.setValue(QStringLiteral("Name"), QStringLiteral("Первый"));
        try {
            a.post();
            QFAIL("the inserting user's post over a row changed by another user went through");
        } catch (const KorvanError &e) {
            QCOMPARE(e.message(), QStringLiteral("Запись изменена другим пользователем. Обновите данные."));
        }
        QCOMPARE(a.asString(QStringLiteral("Name")), QStringLiteral("Первый"));
        a.cancel();
        b.refresh();
        QVERIFY(b.locate(QStringLiteral("Kod"), kod));
        QCOMPARE(b.asString(QStringLiteral("Name")), QStringLiteral("Второй"));
    }
};

QTEST_GUILESS_MAIN(TestEditConflict)
#include "test_edit_conflict.moc"
