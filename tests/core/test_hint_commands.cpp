// Attaching, replacing and detaching field hints in Hints.DB.
#include "core/hints/HintCommands.h"
#include "core/hints/Hints.h"
#include "TestData.h"

#include <QtTest>

using namespace korvan;
using namespace korvan::test;

namespace {

int recordsOf(TestData &t, const HintKey &key)
{
    TTable all(*t.store, QStringLiteral("Hints.DB"));
    all.open();
    int n = 0;
    for (const TTable::Row &row : all.rows())
        if (row[all.fieldIndex("TableName")] == key.table && row[all.fieldIndex("FieldName")] == key.field)
            ++n;
    return n;
}

} // namespace

class TestHintCommands : public QObject {
    Q_OBJECT

private slots:
    void attachesANewHint()
    {
        TestData t;
        const HintKey key{"project2.db", "Новое"};
        QVERIFY(!FindHint(*t.data, key));
        EditHint(*t.data, key, "Пояснение");
        QCOMPARE(FindHint(*t.data, key), std::optional<QString>("Пояснение"));
        QCOMPARE(recordsOf(t, key), 1);
        QCOMPARE(t.data->TableHints->asString("FieldName"), QStringLiteral("Новое"));
    }

    void replacesTheTextInTheSameRecord()
    {
        TestData t;
        const HintKey key{"project0.db", "Wq"};
        QVERIFY(FindHint(*t.data, key)); // delivered
        QVERIFY(t.data->TableHints->locate(QStringList{"TableName", "FieldName"}, QVariantList{key.table, key.field}));
        const qint64 kod = t.data->TableHints->currentKod();
        const int before = t.data->TableHints->recordCount();
        t.data->TableHints->first();
        EditHint(*t.data, key, "Другой текст");
        QCOMPARE(t.data->TableHints->currentKod(), kod);
        QCOMPARE(t.data->TableHints->recordCount(), before);
        QCOMPARE(LookUpHint(*t.data, key.table, key.field), QStringLiteral("Другой текст"));
    }

    void longTextIsCutTo255()
    {
        TestData t;
        const QString text = QString(250, u'ж') + QStringLiteral("12345") + QString(45, u'x');
        EditHint(*t.data, {"project1.db", "T1"}, text);
        const QString stored = LookUpHint(*t.data, "project1.db", "T1");
        QCOMPARE(stored.size(), 255);
        QCOMPARE(stored, text.left(255));
        QVERIFY(stored.endsWith("12345"));
    }

    void removesOnlyAnExactKey()
    {
        TestData t;
        EditHint(*t.data, {"project1.db", "Abc"}, "Подсказка");
        // Letter case counts: no partial or case-blind match.
        QVERIFY(!RemoveHint(*t.data, {"project1.db", "abc"}));
        QVERIFY(!RemoveHint(*t.data, {"project1.db", "Ab"}));
        QCOMPARE(recordsOf(t, {"project1.db", "Abc"}), 1);
        QVERIFY(RemoveHint(*t.data, {"project1.db", "Abc"}));
        QCOMPARE(recordsOf(t, {"project1.db", "Abc"}), 0);
        QVERIFY(!RemoveHint(*t.data, {"project1.db", "Abc"}));
        QVERIFY(!RemoveHint(*t.data, {}));
    }

    void aFilteredCursorStillFindsTheRecord()
    {
        TestData t;
        TTable &hints = *t.data->TableHints;
        hints.setFilter("TableName='sKU1.DB'");
        hints.setFiltered(true);
        EditHint(*t.data, {"project0.db", "Wa"}, "Новый");
        QCOMPARE(recordsOf(t, {"project0.db", "Wa"}), 1);
        QCOMPARE(LookUpHint(*t.data, "project0.db", "Wa"), QStringLiteral("Новый"));
    }
};

QTEST_GUILESS_MAIN(TestHintCommands)
#include "test_hint_commands.moc"
