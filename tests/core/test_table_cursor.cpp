// The cursor: walks, bookmarks, locate, filters, index orders, field access and the edit states.
#include "MessageRecorder.h"
#include "TestData.h"

#include <QtTest>
#include <optional>

using namespace korvan;
using namespace korvan::test;

class TestTableCursor : public QObject {
    Q_OBJECT

    // Walks a table from first to end and collects one field as text.
    static QStringList walk(TTable &t, const QString &field)
    {
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << t.asString(field);
        return out;
    }

    static void addProjects(TTable &projects, const QStringList &names)
    {
        for (const QString &n : names)
            appendRow(projects, {{QStringLiteral("Name"), n}});
    }

private slots:
    void walkAndCount()
    {
        TestData td;
        TTable &p = *td.data->tblProj0;
        QVERIFY(p.eof());
        QVERIFY(p.bof());
        QCOMPARE(p.recordCount(), 0);
        p.first();
        QVERIFY(p.eof());
        addProjects(p, {"А", "Б", "В"});
        QCOMPARE(p.recordCount(), 3);
        QCOMPARE(walk(p, "Name"), QStringList({"А", "Б", "В"}));
        QVERIFY(p.eof());
        QCOMPARE(p.asString("Name"), QStringLiteral("В")); // stays on the last row at the end
        p.last();
        QVERIFY(!p.eof());
        p.prior();
        QCOMPARE(p.asString("Name"), QStringLiteral("Б"));
        p.prior();
        p.prior();
        QVERIFY(p.bof());
        QCOMPARE(p.asString("Name"), QStringLiteral("А"));
    }

    void bookmarks()
    {
        TestData td;
        TTable &p = *td.data->tblProj0;
        addProjects(p, {"А", "Б", "В"});
        p.first();
        p.next();
        const auto mark = p.bookmark();
        p.last();
        QVERIFY(p.gotoBookmark(mark));
        QCOMPARE(p.asString("Name"), QStringLiteral("Б"));
        p.remove();
        QVERIFY(!p.gotoBookmark(mark)); // the row is gone: the cursor stays where it is
        QCOMPARE(p.asString("Name"), QStringLiteral("В"));
    }

    void deleteMovesToNextOrEnd()
    {
        TestData td;
        TTable &p = *td.data->tblProj0;
        addProjects(p, {"А", "Б", "В"});
        p.first();
        p.remove();
        QCOMPARE(p.asString("Name"), QStringLiteral("Б"));
        QVERIFY(!p.eof());
        p.last();
        p.remove();
        QVERIFY(p.eof());
        QCOMPARE(p.recordCount(), 1);
        p.remove();
        QVERIFY(p.eof());
        QCOMPARE(p.recordCount(), 0);
    }

    void locate()
    {
        TestData td;
        TTable &p = *td.data->tblProj0;
        addProjects(p, {"Завод", "цех", "Цех"});
        QVERIFY(p.locate("Name", "Цех"));
        QCOMPARE(p.recNo(), 2);
        QVERIFY(p.locate("Name", "ЦЕХ", Qt::CaseInsensitive));
        QCOMPARE(p.recNo(), 1);
        QVERIFY(!p.locate("Name", "Цеха"));
        QCOMPARE(p.recNo(), 1);
        p.first();
        p.edit();
        p.setValue("Tarif_a", 0.715);
        p.post();
        QVERIFY(p.locate(QStringList{"Name", "Tarif_a"}, QVariantList{"Завод", "0,715"}));
        QCOMPARE(p.recNo(), 0);
        QVERIFY(!p.locate(QStringList{"Name", "Tarif_a"}, QVariantList{"цех", 0.715}));
    }

    void filters_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<bool>("caseInsensitive");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("prefix, case ignored") << "[Name]='с*'" << true << QStringList{"Сталь", "сахар"};
        QTest::newRow("prefix, case kept") << "[Name]='с*'" << false << QStringList{"сахар"};
        QTest::newRow("equal") << "Name='Цемент'" << false << QStringList{"Цемент"};
        QTest::newRow("null") << "[Name]=Null" << true << QStringList{""};
        QTest::newRow("empty expression shows all") << "" << false << QStringList{"Сталь", "сахар", "Цемент", ""};
    }
    void filters()
    {
        QFETCH(QString, expression);
        QFETCH(bool, caseInsensitive);
        QFETCH(QStringList, names);
        TestData td;
        TTable &p = *td.data->tblProj0;
        addProjects(p, {"Сталь", "сахар", "Цемент", ""});
        p.last();
        p.setFilter(expression);
        p.setFilterCaseInsensitive(caseInsensitive);
        p.setFiltered(true);
        QCOMPARE(p.recNo(), names.isEmpty() ? -1 : 0); // switching goes to the first visible row
        QCOMPARE(p.recordCount(), names.size());
        QCOMPARE(walk(p, "Name"), names);
        p.setFiltered(false);
        QCOMPARE(p.recordCount(), 4);
    }

    void filterOnNumberField()
    {
        TestData td;
        TTable &sel = *td.data->tblSel_KU;
        for (int project : {12, 7, 12})
            appendRow(sel, {{"Kod0", project}, {"TipKU", QString::number(project)}});
        sel.setFilter("Kod0='12'");
        sel.setFiltered(true);
        QCOMPARE(sel.recordCount(), 2);
        QVERIFY_THROWS_EXCEPTION(KorvanError, sel.setFilter("Kod0 > 3"));
        QVERIFY_THROWS_EXCEPTION(KorvanError, sel.setFilter("[Nope]='1'"));
    }

    void indexOrders_data()
    {
        QTest::addColumn<QString>("index");
        QTest::addColumn<QStringList>("order");
        // rows: a (Srok 2, Cosf 0.95, DSWsk 10), b (Srok null, Cosf 0.99, DSWsk 30), c (Srok 1, Cosf 0.90, DSWsk 20)
        QTest::newRow("siSrok ascending, null first") << "siSrok" << QStringList{"b", "c", "a"};
        QTest::newRow("siCosf_sr descending") << "siCosf_sr" << QStringList{"b", "a", "c"};
        QTest::newRow("siDSWsk descending") << "siDSWsk" << QStringList{"b", "c", "a"};
        QTest::newRow("siDSWskm descending") << "siDSWskm" << QStringList{"a", "c", "b"};
        QTest::newRow("siDSWskg descending") << "siDSWskg" << QStringList{"c", "b", "a"};
        QTest::newRow("primary") << "tblSel_KUIndex1" << QStringList{"a", "b", "c"};
        QTest::newRow("Kod0Cosf") << "Kod0Cosf" << QStringList{"b", "a", "c"};
    }
    void indexOrders()
    {
        QFETCH(QString, index);
        QFETCH(QStringList, order);
        // Appended rows take their place in the active order at once, or all together when a
        // command holds the sorting back until its end.
        for (const bool deferred : {false, true}) {
            TestData td;
            TTable &sel = *td.data->tblSel_KU;
            QCOMPARE(sel.indexName(), QStringLiteral("siSrok"));
            sel.setFilter("Kod0='1'"); // the rows of project 1, as the analysis shows them
            sel.setIndexName(index);
            appendRow(sel, {{"TipKU", "a"},
                            {"Srok", 2.0},
                            {"Cosf_sr", 0.95},
                            {"DSWsk", 10},
                            {"DSWskm", 3},
                            {"DSWskg", 1},
                            {"Kod0", 1}});
            {
                std::optional<TTable::DeferredSort> held;
                if (deferred)
                    held.emplace(sel);
                appendRow(
                    sel, {{"TipKU", "b"}, {"Cosf_sr", 0.99}, {"DSWsk", 30}, {"DSWskm", 1}, {"DSWskg", 2}, {"Kod0", 1}});
                appendRow(sel, {{"TipKU", "c"},
                                {"Srok", 1.0},
                                {"Cosf_sr", 0.90},
                                {"DSWsk", 20},
                                {"DSWskm", 2},
                                {"DSWskg", 3},
                                {"Kod0", 1}});
                QCOMPARE(sel.asString("TipKU"), QStringLiteral("c"));
            }
            QCOMPARE(sel.asString("TipKU"), QStringLiteral("c")); // the last row written stays current
            QCOMPARE(walk(sel, "TipKU"), order);
            sel.refresh();
            QCOMPARE(walk(sel, "TipKU"), order);
            QVERIFY_THROWS_EXCEPTION(KorvanError, sel.setIndexName("siNothing"));
        }
    }

    void fieldAccess()
    {
        TestData td;
        TTable &p = *td.data->tblProj0;
        p.append();
        p.setAsString("Name", QString(80, QLatin1Char('x')));
        QCOMPARE(p.asString("Name").size(), 50); // cut to the field's size
        p.setAsString("Tarif_a", "0,715");
        QCOMPARE(p.asFloat("Tarif_a"), 0.715);
        p.setAsString("Tarif_q", "");
        QVERIFY(p.isNull("Tarif_q"));
        QCOMPARE(p.asFloat("Tarif_q"), 0.0);
        p.setValue("MonthDay", 21);
        p.setValue("ProjDate", QDate(2026, 12, 10));
        p.setValue("ProjTime", QTime(9, 5, 7));
        QCOMPARE(p.asString("ProjDate"), QStringLiteral("10.12.2026"));
        QCOMPARE(p.asString("ProjTime"), QStringLiteral("09:05:07"));
        // Text that is no number: an error, and the row stays in its insert state.
        QVERIFY_THROWS_EXCEPTION(KorvanError, p.setAsString("Tarif_a", "0.7x"));
        QVERIFY_THROWS_EXCEPTION(KorvanError, p.setAsString("MonthDay", "2,5"));
        QVERIFY_THROWS_EXCEPTION(KorvanError, p.setValue("Nope", 1));
        QVERIFY_THROWS_EXCEPTION(KorvanError, p.setValue("Kod", 5));
        QCOMPARE(p.state(), TTable::State::Insert);
        QCOMPARE(p.asFloat("Tarif_a"), 0.715);
        p.post();
        QVERIFY(p.currentKod() > 0);
        // By position, in the table's field order.
        QCOMPARE(p.fieldName(6), QStringLiteral("Tarif_a"));
        QCOMPARE(p.asString(6), QStringLiteral("0,715"));
        QCOMPARE(p.displayLabel(p.fieldIndex("Wa_m")), QStringLiteral("Wрм, кВтч"));
        QCOMPARE(p.displayLabel(p.fieldIndex("Tarif_a")), QStringLiteral("Tarif_a"));
        // Writing outside the edit state is refused.
        QVERIFY_THROWS_EXCEPTION(KorvanError, p.setValue("Name", "y"));
        p.edit();
        p.setValue("Name", "Новое");
        p.cancel();
        QCOMPARE(p.asString("Name").size(), 50);
        p.edit();
        QVERIFY_THROWS_EXCEPTION(KorvanError, p.setValue("Tarif_a", std::nan("")));
        QVERIFY_THROWS_EXCEPTION(KorvanError, p.setValue("Tarif_a", INFINITY));
        // A computed total names what it is computed from, not its own name in the store.
        try {
            p.setValue("$Ws_g", INFINITY);
            QFAIL("an infinite total was taken");
        } catch (const KorvanError &e) {
            QVERIFY2(!e.message().contains("$Ws_g") && e.message().contains("Tarif_a") &&
                         e.message().contains("YearDay"),
                     qPrintable(e.message()));
        }
    }

    void hooksAbortSilently()
    {
        TestData td;
        TTable &p = *td.data->tblProj0;
        int afterPosts = 0;
        // The catalogue's checks are a hook already: a second one is refused, not swapped in.
        QVERIFY_THROWS_EXCEPTION(
            std::logic_error, td.data->tblsKU2->beforePost = [](TTable &) {});
        p.beforePost = [](TTable &t) {
            if (t.asString("Name").isEmpty()) {
                Messages::error("Нет имени.");
                throw Abort();
            }
        };
        p.afterPost = [&](TTable &) { ++afterPosts; };
        MessageRecorder rec;
        p.append();
        p.setValue("Tarif_a", 1.5);
        QVERIFY_THROWS_EXCEPTION(Abort, p.post());
        QCOMPARE(rec.errors, QStringList{"Нет имени."});
        QCOMPARE(p.state(), TTable::State::Insert);
        QCOMPARE(p.asFloat("Tarif_a"), 1.5);
        QCOMPARE(afterPosts, 0);
        p.setValue("Name", "А");
        p.post();
        QCOMPARE(afterPosts, 1);
        QCOMPARE(p.state(), TTable::State::Browse);
    }

    void failedAfterPostKeepsTheTypedRow()
    {
        TestData td;
        TTable &p = *td.data->tblProj0;
        appendRow(p, {{"Name", "Первый"}});
        p.afterPost.clear();
        p.afterPost = [](TTable &) { throw KorvanError("сбой"); };
        p.append();
        p.setValue("Name", "Второй");
        QVERIFY_THROWS_EXCEPTION(KorvanError, p.post());
        // Nothing was written, and what was typed is still there to post again.
        QCOMPARE(p.state(), TTable::State::Insert);
        QCOMPARE(p.asString("Name"), QStringLiteral("Второй"));
        QVERIFY(p.isNull("Kod"));
        p.afterPost.clear();
        p.post();
        QCOMPARE(p.recordCount(), 2);
        TTable other(*td.store, "project0.db");
        other.open();
        QCOMPARE(other.recordCount(), 2);
    }

    void secondCursorSeesWritesAndHasItsOwnLink()
    {
        TestData td;
        TTable &p = *td.data->tblProj0;
        const qint64 a = appendRow(p, {{"Name", "А"}});
        const qint64 b = appendRow(p, {{"Name", "Б"}});
        TTable master(*td.store, "project0.db");
        TTable periods(*td.store, "project1.db");
        periods.setMaster(&master);
        master.open();
        periods.open();
        QVERIFY(master.locate("Kod", a));
        appendRow(periods, {{"T1", 0}, {"T2", 8}});
        QCOMPARE(td.data->tblProj1->recordCount(), 0); // the shared cursor is on project Б
        QCOMPARE(td.data->tblProj0->currentKod(), b);
        td.data->tblProj0->first();
        QCOMPARE(td.data->tblProj1->recordCount(), 1);
        appendRow(master, {{"Name", "В"}});
        QCOMPARE(td.data->tblProj0->recordCount(), 3); // written by the other cursor, seen here
    }
};

QTEST_GUILESS_MAIN(TestTableCursor)
#include "test_table_cursor.moc"
