// The delivered catalogues and report settings: the store seeds its tables from these resources,
// so a slip here (a module set that does not add up to the rated power, a graph with a gap, a
// missing report flag) would reach every new installation of the program.

#include <QtTest>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <cmath>

namespace {

bool isWhole(const QJsonValue &v) { return v.isDouble() && std::floor(v.toDouble()) == v.toDouble(); }

// At most one decimal, as the graph editor shows them.
bool hasAtMostOneDecimal(double x) { return std::fabs(x * 10.0 - std::round(x * 10.0)) < 1e-9; }

// Keys of the objects that are elements of the top-level array, in the order they are written.
// QJsonObject sorts its keys, so the order has to be read from the text itself.
QList<QStringList> keysInTextOrder(const QString &text)
{
    QList<QStringList> result;
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'{' || c == u'[') {
            ++depth;
            if (c == u'{' && depth == 2)
                result.append(QStringList());
        } else if (c == u'}' || c == u']') {
            --depth;
        } else if (c == u'"') {
            QString s;
            for (++i; i < text.size() && text.at(i) != u'"'; ++i) {
                if (text.at(i) == u'\\')
                    ++i;
                s.append(text.at(i));
            }
            qsizetype j = i + 1;
            while (j < text.size() && text.at(j).isSpace())
                ++j;
            if (depth == 2 && j < text.size() && text.at(j) == u':')
                result.last().append(s);
        }
    }
    return result;
}

const QStringList kReportTextFields = {"Name", "WordDoc", "PaperSize", "PaperOrient", "PageNum"};
const QStringList kReportPageFields = {"TopMargin",   "BottomMargin",   "LeftMargin",
                                       "RightMargin", "HeaderDistance", "FooterDistance"};
const QStringList kReportFlags = {
    "ProjName",        "ProjHar",          "SutGr",          "SutGrPrim",        "SutGrFormula",
    "SutGrScore",      "SutHar",           "SutFormula",     "SutScore",         "MonthHar",
    "MonthFormula",    "MonthScore",       "YearHar",        "YearFormula",      "YearScore",
    "KUHar",           "SutGrKomp",        "SutGrKompPrim",  "SutGrKompFormula", "SutGrKompScore",
    "SutHarKomp",      "SutKompPrim",      "SutKompFormula", "SutKompScore",     "MonthHarKomp",
    "MonthKompPrim",   "MonthKompFormula", "MonthKompScore", "YearHarKomp",      "YearKompPrim",
    "YearKompFormula", "YearKompScore"};

// Sub flag -> the main flag that enables it in the settings dialog.
const QList<QPair<QString, QString>> kSubFlags = {{"SutGrPrim", "SutGr"},
                                                  {"SutGrFormula", "SutGr"},
                                                  {"SutGrScore", "SutGr"},
                                                  {"SutFormula", "SutHar"},
                                                  {"SutScore", "SutHar"},
                                                  {"MonthFormula", "MonthHar"},
                                                  {"MonthScore", "MonthHar"},
                                                  {"YearFormula", "YearHar"},
                                                  {"YearScore", "YearHar"},
                                                  {"SutGrKomp", "KUHar"},
                                                  {"SutGrKompPrim", "SutGrKomp"},
                                                  {"SutGrKompFormula", "SutGrKomp"},
                                                  {"SutGrKompScore", "SutGrKomp"},
                                                  {"SutKompPrim", "SutHarKomp"},
                                                  {"SutKompFormula", "SutHarKomp"},
                                                  {"SutKompScore", "SutHarKomp"},
                                                  {"MonthKompPrim", "MonthHarKomp"},
                                                  {"MonthKompFormula", "MonthHarKomp"},
                                                  {"MonthKompScore", "MonthHarKomp"},
                                                  {"YearKompPrim", "YearHarKomp"},
                                                  {"YearKompFormula", "YearHarKomp"},
                                                  {"YearKompScore", "YearHarKomp"}};

} // namespace

class TestSeedData : public QObject {
    Q_OBJECT

    QJsonArray m_catalogue;
    QJsonArray m_graphs;
    QJsonArray m_reports;
    QString m_reportsText;

    static bool load(const QString &name, QByteArray &bytes, QJsonArray &array, QString &why)
    {
        QFile file(":/seed/" + name);
        if (!file.open(QIODevice::ReadOnly)) {
            why = name + ": " + file.errorString();
            return false;
        }
        bytes = file.readAll();
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError || !doc.isArray()) {
            why = QString("%1: offset %2: %3").arg(name).arg(error.offset).arg(error.errorString());
            return false;
        }
        array = doc.array();
        return true;
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(seed);
        QByteArray bytes;
        QJsonArray hints;
        QString why;
        QVERIFY2(load("catalogue.json", bytes, m_catalogue, why), qPrintable(why));
        QVERIFY2(load("typical_graphs.json", bytes, m_graphs, why), qPrintable(why));
        QVERIFY2(load("hints.json", bytes, hints, why), qPrintable(why));
        QVERIFY2(load("report_settings.json", bytes, m_reports, why), qPrintable(why));
        m_reportsText = QString::fromUtf8(bytes);
    }

    void catalogueNames()
    {
        QVERIFY(m_catalogue.size() >= 6);
        QSet<QString> companies;
        int types = 0;
        for (const QJsonValue &c : m_catalogue) {
            QVERIFY(c.isObject());
            const QString company = c["Company"].toString();
            QVERIFY2(!company.isEmpty() && company.size() <= 50, qPrintable(company));
            QVERIFY2(!companies.contains(company), qPrintable(company));
            companies.insert(company);
            QVERIFY2(c["types"].isArray() && !c["types"].toArray().isEmpty(), qPrintable(company));
            QSet<QString> names;
            for (const QJsonValue &t : c["types"].toArray()) {
                // The analysis table keeps only 30 characters of the type name.
                const QString name = t["Name"].toString();
                QVERIFY2(!name.isEmpty() && name.size() <= 30, qPrintable(company + " / " + name));
                QVERIFY2(!names.contains(name), qPrintable(company + " / " + name));
                names.insert(name);
                ++types;
            }
        }
        QVERIFY(types >= 60);
    }

    void catalogueTypes_data()
    {
        QTest::addColumn<QJsonObject>("type");
        for (const QJsonValue &c : m_catalogue)
            for (const QJsonValue &t : c["types"].toArray())
                QTest::addRow("%s / %s", qUtf8Printable(c["Company"].toString()), qUtf8Printable(t["Name"].toString()))
                    << t.toObject();
    }
    void catalogueTypes()
    {
        QFETCH(QJsonObject, type);
        QVERIFY(type["Q"].isDouble());
        const double q = type["Q"].toDouble();
        QVERIFY2(q > 0 && q <= 1000, qPrintable(QString::number(q)));
        QVERIFY(type["Pp"].isDouble());
        QVERIFY2(type["Pp"].toDouble() >= 0.0025 && type["Pp"].toDouble() <= 0.006,
                 qPrintable(QString::number(type["Pp"].toDouble())));
        QVERIFY(isWhole(type["Unom"]));
        QVERIFY(type["Unom"].toInt() > 0 && type["Unom"].toInt() <= 1000);
        // The price may be missing; the payback period is then left empty.
        QVERIFY(type.contains("Cena"));
        QVERIFY(type["Cena"].isNull() || (type["Cena"].isDouble() && type["Cena"].toDouble() > 0));

        const QJsonArray modules = type["modules"].toArray();
        QVERIFY(!modules.isEmpty());
        double sum = 0;
        int count = 0;
        for (const QJsonValue &m : modules) {
            QVERIFY(m["Qstup"].isDouble() && m["Qstup"].toDouble() > 0);
            QVERIFY(isWhole(m["Kol_vo"]) && m["Kol_vo"].toInt() >= 1);
            sum += m["Qstup"].toDouble() * m["Kol_vo"].toInt();
            count += m["Kol_vo"].toInt();
        }
        QVERIFY2(count <= 12, qPrintable(QString::number(count)));
        QVERIFY2(std::fabs(sum - q) < 1e-6, qPrintable(QString("modules %1, Q %2").arg(sum).arg(q)));
    }

    void graphNames()
    {
        QVERIFY(m_graphs.size() >= 10);
        QSet<QString> industries;
        int enterprises = 0;
        for (const QJsonValue &i : m_graphs) {
            const QString otrasl = i["Otrasl"].toString();
            QVERIFY2(!otrasl.isEmpty() && otrasl.size() <= 100, qPrintable(otrasl));
            QVERIFY2(!industries.contains(otrasl), qPrintable(otrasl));
            industries.insert(otrasl);
            QVERIFY2(i["enterprises"].isArray() && !i["enterprises"].toArray().isEmpty(), qPrintable(otrasl));
            QSet<QString> names;
            for (const QJsonValue &e : i["enterprises"].toArray()) {
                const QString name = e["Name"].toString();
                QVERIFY2(!name.isEmpty() && name.size() <= 100, qPrintable(name));
                QVERIFY2(!names.contains(name), qPrintable(otrasl + " / " + name));
                names.insert(name);
                ++enterprises;
            }
        }
        QVERIFY(enterprises >= 30);
    }

    void graphPeriods_data()
    {
        QTest::addColumn<QJsonArray>("periods");
        for (const QJsonValue &i : m_graphs)
            for (const QJsonValue &e : i["enterprises"].toArray())
                QTest::addRow("%s", qUtf8Printable(e["Name"].toString())) << e["periods"].toArray();
    }
    void graphPeriods()
    {
        QFETCH(QJsonArray, periods);
        QVERIFY(!periods.isEmpty());
        double end = 0;
        double maxP = -1;
        double maxQ = -1;
        for (const QJsonValue &v : periods) {
            for (const char *field : {"T1", "T2", "P", "Q"})
                QVERIFY2(v[field].isDouble(), field);
            const double t1 = v["T1"].toDouble();
            const double t2 = v["T2"].toDouble();
            QCOMPARE(t1, end);
            QVERIFY(t2 > t1);
            end = t2;
            for (const char *field : {"P", "Q"}) {
                const double x = v[field].toDouble();
                QVERIFY2(x >= 0 && x <= 100 && hasAtMostOneDecimal(x),
                         qPrintable(QString("%1 = %2 at %3").arg(field).arg(x).arg(t1)));
            }
            maxP = std::max(maxP, v["P"].toDouble());
            maxQ = std::max(maxQ, v["Q"].toDouble());
        }
        QCOMPARE(end, 24.0);
        QCOMPARE(maxP, 100.0);
        QCOMPARE(maxQ, 100.0);
    }

    void reportFields()
    {
        const QStringList expected = kReportTextFields + kReportPageFields + kReportFlags;
        QCOMPARE(expected.size(), 43);
        const QList<QStringList> written = keysInTextOrder(m_reportsText);
        QCOMPARE(written.size(), m_reports.size());
        QVERIFY(!m_reports.isEmpty());
        for (qsizetype r = 0; r < m_reports.size(); ++r) {
            QCOMPARE(written.at(r), expected);
            const QJsonObject rec = m_reports.at(r).toObject();
            for (const QString &f : kReportTextFields)
                QVERIFY2(rec[f].isString(), qPrintable(f));
            for (const QString &f : kReportPageFields)
                QVERIFY2(isWhole(rec[f]) && rec[f].toInt() >= 0 && rec[f].toInt() <= 60, qPrintable(f));
            for (const QString &f : kReportFlags)
                QVERIFY2(rec[f].isBool(), qPrintable(f));
        }
    }

    void reportValues()
    {
        QSet<QString> names;
        QJsonObject brief;
        for (const QJsonValue &v : m_reports) {
            const QJsonObject rec = v.toObject();
            const QString name = rec["Name"].toString();
            QVERIFY2(!name.isEmpty() && name.size() <= 100 && !names.contains(name), qPrintable(name));
            names.insert(name);
            QVERIFY2(QStringList({"новый", "текущий"}).contains(rec["WordDoc"].toString()), qPrintable(name));
            QVERIFY2(QStringList({"A3", "A4", "A5"}).contains(rec["PaperSize"].toString()), qPrintable(name));
            QVERIFY2(QStringList({"книжная", "альбомная"}).contains(rec["PaperOrient"].toString()), qPrintable(name));
            QVERIFY2(QStringList({"в верхнем колонтитуле", "в нижнем колонтитуле", "нет"})
                         .contains(rec["PageNum"].toString()),
                     qPrintable(name));
            // The header and footer must sit inside their margins.
            QVERIFY2(rec["HeaderDistance"].toInt() < rec["TopMargin"].toInt(), qPrintable(name));
            QVERIFY2(rec["FooterDistance"].toInt() < rec["BottomMargin"].toInt(), qPrintable(name));
            // The dialog clears a sub flag whenever its main flag goes off.
            for (const auto &[sub, master] : kSubFlags)
                QVERIFY2(!rec[sub].toBool() || rec[master].toBool(),
                         qPrintable(name + ": " + sub + " without " + master));
            if (name == "Краткий отчет")
                brief = rec;
        }

        // The first record is current after start-up, so it is the full report.
        const QJsonObject full = m_reports.first().toObject();
        QCOMPARE(full["Name"].toString(), QString("Полный отчет"));
        for (const QString &f : kReportFlags)
            QVERIFY2(full[f].toBool(), qPrintable(f));

        QVERIFY(!brief.isEmpty());
        for (const QString &f : kReportFlags) {
            const bool calc = f.endsWith("Formula") || f.endsWith("Score");
            if (calc)
                QVERIFY2(!brief[f].toBool(), qPrintable(f));
            else if (!f.endsWith("Prim"))
                QVERIFY2(brief[f].toBool(), qPrintable(f));
        }
    }

    void keyScannerReadsWrittenOrder()
    {
        const QString text = "[{\"b\": \"x:{\", \"a\": [1, {\"n\": 2}], \"c\\\"d\" : true}, {}]";
        const QList<QStringList> keys = keysInTextOrder(text);
        QCOMPARE(keys.size(), 2);
        QCOMPARE(keys.at(0), QStringList({"b", "a", "c\"d"}));
        QVERIFY(keys.at(1).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSeedData)
#include "test_seed_data.moc"
