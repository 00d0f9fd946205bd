// The field hints delivered with the program. They show in the status bar under the mouse and
// become the legends of the Word reports and chart exports ("column title - hint in lower case;"),
// so every column that a grid shows must have one, keyed exactly as the hint lookup keys it.
#include "core/data/Schema.h"
#include "core/data/Store.h"
#include "core/data/TTable.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSet>

#include <QtTest>

using namespace korvan;

namespace {

using Key = QPair<QString, QString>;

// The columns that the program's grids show, as (table file name, field name). The three
// characteristic grids of the main window key their columns by the project's fields.
QList<Key> gridColumns()
{
    const QList<QPair<QString, QStringList>> grids = {
        // main window: daily, monthly and yearly characteristics without compensation
        {"project0.db",
         {"Cosfe", "Tgfe", "Wa",    "Wq",    "Ws",    "Psr",  "Qsr",  "Ssr",  "$Wa",   "$Wq",   "$Ws",  "Wa_m",
          "Wq_m",  "Ws_m", "$Wa_m", "$Wq_m", "$Ws_m", "Wa_g", "Wq_g", "Ws_g", "$Wa_g", "$Wq_g", "$Ws_g"}},
        // main window: load graph without compensation
        {"project1.db", {"T1", "T2", "P", "Q", "S", "I", "Cosf", "Tgf", "Wa", "Wq", "Ws", "$Wa", "$Wq", "$Ws"}},
        // main window: capacitor installations (variants)
        {"project2.db",
         {"VarNum", "TipKU",  "Qk",     "Pp",     "Cena",   "Wakp",  "Kp",    "Cosf_i",   "Tgf_i",    "Wak",
          "Wqk",    "Wsk",    "$Wak",   "$Wqk",   "$Wsk",   "DWak",  "DWqk",  "DWsk",     "D$Wak",    "D$Wqk",
          "D$Wsk",  "Wp_m",   "Wq_m",   "Ws_m",   "$Wp_m",  "$Wq_m", "$Ws_m", "DWp_m",    "DWq_m",    "DWs_m",
          "D$Wp_m", "D$Wq_m", "D$Ws_m", "Wp_g",   "Wq_g",   "Ws_g",  "$Wp_g", "$Wq_g",    "$Ws_g",    "DWp_g",
          "DWq_g",  "DWs_g",  "D$Wp_g", "D$Wq_g", "D$Ws_g", "Srok",  "Rejim", "Cosf_min", "Cosf_max", "Cosf_tr"}},
        // main window: modules of the installation, and the modules switched on in a period
        {"project5.DB", {"Stup", "Kol_vo"}},
        {"project4.DB", {"Stup", "Kol_vo"}},
        // main window: load graph with compensation
        {"project3.DB",
         {"T1", "T2", "P", "Q", "Qku", "Q1", "S", "I", "Cosf", "Tgf", "Wakp", "Wak", "Wqk", "Wsk", "$Wak", "$Wqk",
          "$Wsk"}},
        // installation catalogue and the catalogue view of the selection dialog
        {"sKU0.db", {"Company"}},
        {"sKU1.DB", {"Name", "Q", "Pp", "Unom", "Cena"}},
        {"sKU2.DB", {"Qstup", "Kol_vo"}},
        // typical graph catalogue
        {"sSutGraphic0.db", {"Otrasl"}},
        {"sSutGraphic1.db", {"Name"}},
        {"sSutGraphic2.db", {"T1", "T2", "P", "Q"}},
        // analysis table of the selection dialog and its mode grid
        {"sel_ku.DB",
         {"Company", "TipKU", "Qk", "Qku_min", "Qku_max", "Cosf_sr", "Cosf_min", "Cosf_max", "Tgf_sr", "DSWsk",
          "DSWskm", "DSWskg", "Srok", "Rejim", "PCosf_min", "PCosf_max", "PCosf_tr"}},
    };
    QList<Key> result;
    for (const auto &[table, fields] : grids)
        for (const QString &field : fields)
            result.append({table, field});
    return result;
}

} // namespace

class TestDeliveredHints : public QObject {
    Q_OBJECT

    QJsonArray m_hints;
    QHash<Key, QString> m_byKey;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(seed);
        QFile file(":/seed/hints.json");
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
        QVERIFY2(error.error == QJsonParseError::NoError,
                 qPrintable(QString("offset %1: %2").arg(error.offset).arg(error.errorString())));
        QVERIFY(doc.isArray());
        m_hints = doc.array();
        QVERIFY(!m_hints.isEmpty());
        // The lookup takes the first record of a key.
        for (const QJsonValue &v : std::as_const(m_hints)) {
            const Key k{v["TableName"].toString(), v["FieldName"].toString()};
            if (!m_byKey.contains(k))
                m_byKey.insert(k, v["FieldHint"].toString());
        }
    }

    // Each record is exactly the three text fields of Hints.DB, within their sizes, on an
    // existing field; no key twice, since the lookup would only ever find the first.
    void recordsFitTheTable()
    {
        const QSet<QString> expectedKeys = {"TableName", "FieldName", "FieldHint"};
        QSet<Key> seen;
        for (const QJsonValue &v : std::as_const(m_hints)) {
            QVERIFY(v.isObject());
            const QJsonObject o = v.toObject();
            const QStringList keys = o.keys();
            QCOMPARE(QSet<QString>(keys.begin(), keys.end()), expectedKeys);
            QVERIFY(o["TableName"].isString() && o["FieldName"].isString() && o["FieldHint"].isString());
            const QString table = o["TableName"].toString();
            const QString field = o["FieldName"].toString();
            const QString hint = o["FieldHint"].toString();
            const QString where = table + " / " + field;
            QVERIFY2(table.size() <= 20 && field.size() <= 20, qPrintable(where));
            QVERIFY2(!hint.isEmpty() && hint.size() <= 255, qPrintable(where));

            const TableDef *def = tableDef(table);
            QVERIFY2(def, qPrintable("no such table: " + where));
            QVERIFY2(def->fieldIndex(field) >= 0, qPrintable("no such field: " + where));
            QVERIFY2(field != "Kod" && field != "Kod0", qPrintable(where));

            QVERIFY2(!seen.contains({table, field}), qPrintable("twice: " + where));
            seen.insert({table, field});
        }
    }

    void everyGridColumnHasAHint_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QSet<Key> seen;
        for (const Key &k : gridColumns()) {
            QVERIFY2(!seen.contains(k), qPrintable("listed twice: " + k.first + " / " + k.second));
            seen.insert(k);
            QTest::addRow("%s/%s", qUtf8Printable(k.first), qUtf8Printable(k.second)) << k.first << k.second;
        }
    }
    void everyGridColumnHasAHint()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QVERIFY2(!m_byKey.value({table, field}).trimmed().isEmpty(), "no hint");
    }

    // A legend line is the column title, " - ", the hint with its first letter lowered, and ";"
    // or ".". So a hint starts with a capital letter that lowers to a letter, has no trailing
    // full stop, no ";" of its own that would read as the end of a line, and no line break.
    void hintsReadAsLegendLines_data()
    {
        QTest::addColumn<QString>("hint");
        for (const QJsonValue &v : std::as_const(m_hints))
            QTest::addRow("%s/%s", qUtf8Printable(v["TableName"].toString()), qUtf8Printable(v["FieldName"].toString()))
                << v["FieldHint"].toString();
    }
    void hintsReadAsLegendLines()
    {
        QFETCH(QString, hint);
        QCOMPARE(hint, hint.trimmed());
        QVERIFY(hint.at(0).isUpper());
        const QString legend = QLocale(QLocale::Russian).toLower(hint.left(1)) + hint.mid(1);
        QVERIFY(legend.at(0).isLower());
        QVERIFY(!hint.endsWith(u'.'));
        QVERIFY(!hint.contains(u';'));
        QVERIFY(!hint.contains(u'\n') && !hint.contains(u'\r') && !hint.contains(u'\t'));
        QVERIFY(!hint.contains("  "));
    }

    // A new database carries every delivered hint, word for word.
    void newStoreHoldsTheHints()
    {
        std::unique_ptr<Store> store = Store::openMemory();
        TTable hints(*store, "Hints.DB");
        hints.open();
        QHash<Key, QString> stored;
        qsizetype rows = 0;
        for (hints.first(); !hints.eof(); hints.next()) {
            ++rows;
            const Key k{hints.asString("TableName"), hints.asString("FieldName")};
            QVERIFY2(!stored.contains(k), qPrintable(k.first + " / " + k.second));
            stored.insert(k, hints.asString("FieldHint"));
        }
        QCOMPARE(rows, m_hints.size());
        for (auto it = m_byKey.cbegin(); it != m_byKey.cend(); ++it)
            QCOMPARE(stored.value(it.key()), it.value());
    }
};

QTEST_GUILESS_MAIN(TestDeliveredHints)
#include "test_delivered_hints.moc"
