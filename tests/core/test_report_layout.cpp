// How reports lie on the page: column widths measured with the font's own metrics, tables that
// fit the text area (smaller type, wrapped headers, landscape pages), and the page flow.
#include "../../bench/LargeProject.h"
#include "core/reports/ReportSettings.h"
#include "core/reports/word/FontMetrics.h"
#include "core/reports/word/TableLayout.h"
#include "core/reports/word/WordDocument.h"
#include "core/reports/word/WordParagraphFormat.h"
#include "core/reports/WordApplication.h"
#include "core/reports/WordLayer.h"
#include "ReportFixture.h"
#include "TestData.h"
#include "XmlElement.h"
#include "ZipReader.h"

#include <QtTest>
#include <numeric>

using namespace korvan;
using namespace korvan::test;

namespace {

constexpr int Padding = 2 * 57 + 30;

ColumnNeeds numbers(double ems, double header = 0, double headerWord = 0)
{
    ColumnNeeds c;
    c.unbreakable = ems;
    c.header = header;
    c.headerWord = headerWord > 0 ? headerWord : header;
    return c;
}

int sum(const QVector<int> &v) { return std::accumulate(v.cbegin(), v.cend(), 0); }

// The tables of a saved report, each with the width of the text area of the section it lies in.
struct LaidTable {
    const XmlElement *table;
    int textWidth;
};

QList<LaidTable> laidTables(const XmlElement &body)
{
    QList<LaidTable> result;
    QList<const XmlElement *> pending;
    for (const XmlElement &e : body.children) {
        const XmlElement *sectPr = e.name == QLatin1String("w:sectPr") ? &e : nullptr;
        if (e.name == QLatin1String("w:p") && e.child(QStringLiteral("w:pPr")))
            sectPr = e.child(QStringLiteral("w:pPr"))->child(QStringLiteral("w:sectPr"));
        if (e.name == QLatin1String("w:tbl"))
            pending << &e;
        if (sectPr) {
            const XmlElement *margins = sectPr->child(QStringLiteral("w:pgMar"));
            const int width = sectPr->child(QStringLiteral("w:pgSz"))->attribute(QStringLiteral("w:w")).toInt() -
                              margins->attribute(QStringLiteral("w:left")).toInt() -
                              margins->attribute(QStringLiteral("w:right")).toInt();
            for (const XmlElement *t : pending)
                result << LaidTable{t, width};
            pending.clear();
        }
    }
    return result;
}

QString cellText(const XmlElement &tc)
{
    QString text;
    for (const XmlElement *t : tc.descendants(QStringLiteral("w:t")))
        text += t->text;
    return text;
}

int cellHalfPoints(const XmlElement &tc)
{
    const XmlElement *sz = tc.descendants(QStringLiteral("w:sz")).value(0);
    return sz ? sz->attribute(QStringLiteral("w:val")).toInt() : 24;
}

// Checks that no table leaves its text area and that every number, and every word of a header,
// fits its column on one line at the size the table is written in.
void checkTables(const QString &path, const QString &what)
{
    const ZipReader zip(path);
    const XmlElement document = withStylesInlined(XmlElement::parse(zip.read(QStringLiteral("word/document.xml"))),
                                                  XmlElement::parse(zip.read(QStringLiteral("word/styles.xml"))));
    const XmlElement *body = document.child(QStringLiteral("w:body"));
    QVERIFY(body);
    const QList<LaidTable> tables = laidTables(*body);
    QVERIFY2(!tables.isEmpty(), qPrintable(what));
    for (const LaidTable &laid : tables) {
        QVector<int> widths;
        for (const XmlElement *col : laid.table->descendants(QStringLiteral("w:gridCol")))
            widths << col->attribute(QStringLiteral("w:w")).toInt();
        QVERIFY2(sum(widths) <= laid.textWidth,
                 qPrintable(QStringLiteral("%1: table %2 > text %3").arg(what).arg(sum(widths)).arg(laid.textWidth)));
        for (const XmlElement *tr : laid.table->childrenNamed(QStringLiteral("w:tr"))) {
            const bool header = tr->descendants(QStringLiteral("w:tblHeader")).size() > 0;
            const auto cells = tr->childrenNamed(QStringLiteral("w:tc"));
            for (int c = 0; c < cells.size(); ++c) {
                const QString text = cellText(*cells[c]);
                const double points = cellHalfPoints(*cells[c]) / 2.0;
                QVERIFY2(points >= 8, qPrintable(what));
                // Prose cells (hints) wrap between words; numbers and header words must not break.
                const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
                if (!header && words.size() > 1)
                    continue;
                for (const QString &word : header ? words : QStringList{text}) {
                    const double need = FontMetrics::times(false).width(word, points) * 20 + 2 * 57;
                    QVERIFY2(need <= widths[c], qPrintable(QStringLiteral("%1: \"%2\" at %3 pt needs %4 twips, has %5")
                                                               .arg(what, word)
                                                               .arg(points)
                                                               .arg(need)
                                                               .arg(widths[c])));
                }
            }
        }
    }
}

// A wide report table: a header row of 17 columns and the rows below it, finished as the reports
// finish theirs.
void writeWideTable(WordSelection &sel, int rows)
{
    QString cells;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 17; ++c)
            cells += (r == 0 ? QStringLiteral("Wak%1, кВтч").arg(c) : QStringLiteral("1550572,%1").arg(r)) + u'\t';
    sel.insertAfter(cells);
    FinishReportTable(sel, 17, wdAlignParagraphCenter, true);
}

// The body's blocks in order: "p" with "+keep" for a paragraph kept with the next and
// "+portrait"/"+landscape" for one that ends a section, "tbl", and "sectPr" with ":landscape" when
// the last section is landscape.
QStringList bodyShape(const QString &path)
{
    const ZipReader zip(path);
    const XmlElement document = XmlElement::parse(zip.read(QStringLiteral("word/document.xml")));
    const auto orientation = [](const XmlElement &sectPr) {
        return sectPr.child(QStringLiteral("w:pgSz"))->hasAttribute(QStringLiteral("w:orient"));
    };
    QStringList shape;
    for (const XmlElement &e : document.child(QStringLiteral("w:body"))->children) {
        QString item = e.name.mid(2);
        if (const XmlElement *pPr = e.child(QStringLiteral("w:pPr"))) {
            if (pPr->child(QStringLiteral("w:keepNext")))
                item += QStringLiteral("+keep");
            if (const XmlElement *s = pPr->child(QStringLiteral("w:sectPr")))
                item += orientation(*s) ? QStringLiteral("+landscape") : QStringLiteral("+portrait");
        }
        if (e.name == QLatin1String("w:sectPr") && orientation(e))
            item += QStringLiteral(":landscape");
        shape << item;
    }
    return shape;
}

} // namespace

class TestReportLayout : public QObject {
    Q_OBJECT

    // The three-variant example and the large project (96 periods, 20 variants), made once.
    std::unique_ptr<TestData> m_projects;
    qint64 m_small = 0;
    qint64 m_large = 0;

private slots:
    void cleanupTestCase() { m_projects.reset(); }

    // The widths come from Liberation Serif, metric-compatible with Times New Roman.
    void fontMetrics()
    {
        const FontMetrics &regular = FontMetrics::times(false);
        QVERIFY2(regular.isValid(), "fonts-liberation is not installed: scripts/deps installs it.");
        QVERIFY(regular.fileName().endsWith(QLatin1String("LiberationSerif-Regular.ttf")));
        // Times New Roman's own advances, in thousandths of an em.
        QCOMPARE(regular.advance(u'0'), 500.0);
        QCOMPARE(regular.advance(u','), 250.0);
        QCOMPARE(regular.advance(u'W'), 944.0);
        QCOMPARE(FontMetrics::times(true).advance(u'W'), 1000.0);
        QCOMPARE(regular.width(u"1550572,5", 10), 42.5);
        QVERIFY(!FontMetrics(QStringLiteral("/нет/такого.ttf")).isValid());
        // A file that is no font at all reads as no font.
        QTemporaryFile junk;
        QVERIFY(junk.open());
        junk.write(QByteArray(100, 'x'));
        junk.close();
        QVERIFY(!FontMetrics(junk.fileName()).isValid());
    }

    void fitTable_data()
    {
        QTest::addColumn<QVector<ColumnNeeds>>("columns");
        QTest::addColumn<int>("textWidth");
        QTest::addColumn<int>("landscapeWidth");
        QTest::addColumn<int>("halfPoints");
        QTest::addColumn<bool>("landscape");
        // 4 columns of 4 digits (2 em) at 12 pt: 480 + 144 twips each.
        QTest::newRow("fits at 12") << QVector<ColumnNeeds>(4, numbers(2)) << 3000 << 0 << 0 << false;
        QTest::newRow("steps down to 10")
            << QVector<ColumnNeeds>(4, numbers(2)) << 4 * (400 + Padding) << 0 << 20 << false;
        QTest::newRow("steps down to 8") << QVector<ColumnNeeds>(4, numbers(2)) << 4 * (320 + Padding) << 0 << 16
                                         << false;
        // Headers of 4 em in two words of 2 em: only wrapping them lets the table fit at 8 pt.
        QTest::newRow("header wraps at 8")
            << QVector<ColumnNeeds>(4, numbers(2, 4, 2)) << 4 * (320 + Padding) << 0 << 16 << false;
        // 2,8 em: 592 twips a column at 8 pt, too wide for portrait; 816 at 12 pt, fits landscape.
        QTest::newRow("landscape") << QVector<ColumnNeeds>(17, numbers(2.8)) << 9600 << 14400 << 0 << true;
        // 3,5 em: 844 twips a column at 10 pt, the largest size that fits landscape.
        QTest::newRow("landscape, smaller") << QVector<ColumnNeeds>(17, numbers(3.5)) << 9600 << 14400 << 20 << true;
        QTest::newRow("nothing holds it") << QVector<ColumnNeeds>(30, numbers(8)) << 9600 << 14400 << 16 << true;
        QTest::newRow("no landscape offered") << QVector<ColumnNeeds>(30, numbers(8)) << 9600 << 0 << 16 << false;
    }

    void fitTable()
    {
        QFETCH(QVector<ColumnNeeds>, columns);
        QFETCH(int, textWidth);
        QFETCH(int, landscapeWidth);
        QFETCH(int, halfPoints);
        QFETCH(bool, landscape);
        const TableLayout layout = korvan::fitTable(columns, 24, Padding, textWidth, landscapeWidth);
        QCOMPARE(layout.halfPoints, halfPoints);
        QCOMPARE(layout.landscape, landscape);
        QCOMPARE(layout.widths.size(), columns.size());
        QVERIFY(layout.width() <= (landscape ? landscapeWidth : textWidth));
        const bool fits = QString::fromLatin1(QTest::currentDataTag()) != QLatin1String("nothing holds it") &&
                          QString::fromLatin1(QTest::currentDataTag()) != QLatin1String("no landscape offered");
        const int size = layout.halfPoints ? layout.halfPoints : 24;
        for (int c = 0; fits && c < columns.size(); ++c)
            QVERIFY(layout.widths[c] >= Padding + columns[c].unbreakable * size * 10);
    }

    // Prose that may wrap takes what the numbers leave, rather than making the type smaller.
    void proseWrapsBeforeTypeShrinks()
    {
        ColumnNeeds hint;
        hint.prose = 40;
        hint.longestWord = 5;
        const QVector<ColumnNeeds> columns = {hint, numbers(3), numbers(4)};
        const TableLayout layout = korvan::fitTable(columns, 24, Padding, 9600, 14400);
        QCOMPARE(layout.halfPoints, 0);
        QVERIFY(!layout.landscape);
        QCOMPARE(layout.width(), 9600);
        QCOMPARE(layout.widths[2], Padding + 4 * 240);
    }

    // Through the document layer: a header that repeats, rows that do not split, a title kept with
    // its table, a legend kept with its last row, and a table too wide for portrait on a landscape
    // page of its own with its title and legend.
    void pageFlow()
    {
        QTemporaryDir dir;
        WordDocument doc;
        WordSelection &sel = doc.selection();
        sel.insertAfter(QStringLiteral("Вступление.\r"));
        sel.collapse(wdCollapseEnd);
        sel.insertAfter(QStringLiteral("Широкая таблица.\r\r"));
        sel.paragraphFormat().setKeepWithNext(true);
        sel.collapse(wdCollapseEnd);
        writeWideTable(sel, 5);
        sel.insertAfter(QStringLiteral("где\r"));
        sel.paragraphFormat().setKeepWithNext(true);
        sel.insertAfter(QStringLiteral("Wak - энергия.\r\r"));
        sel.collapse(wdCollapseEnd);
        sel.insertAfter(QStringLiteral("После.\r"));
        const QString path = dir.filePath(QStringLiteral("поток.docx"));
        doc.save(path);

        const ZipReader zip(path);
        const XmlElement document = XmlElement::parse(zip.read(QStringLiteral("word/document.xml")));
        const XmlElement *body = document.child(QStringLiteral("w:body"));
        QCOMPARE(bodyShape(path), (QStringList{"p", "p+portrait", "p+keep", "p+keep", "tbl", "p+keep", "p+keep", "p",
                                               "p+landscape", "p", "p", "p", "sectPr"}));
        const XmlElement *table = body->child(QStringLiteral("w:tbl"));
        const auto rows = table->childrenNamed(QStringLiteral("w:tr"));
        QCOMPARE(rows.size(), 5);
        for (int r = 0; r < rows.size(); ++r) {
            const XmlElement *trPr = rows[r]->child(QStringLiteral("w:trPr"));
            QVERIFY(trPr->child(QStringLiteral("w:cantSplit")));
            QCOMPARE(trPr->child(QStringLiteral("w:tblHeader")) != nullptr, r == 0);
            // The header stays with the first row, the last row with the legend.
            QCOMPARE(rows[r]->descendants(QStringLiteral("w:keepNext")).size(), r == 0 || r == 4 ? 17 : 0);
        }
        checkTables(path, QStringLiteral("поток"));
    }

    // Two wide tables with only a blank line between them share one landscape section, and a wide
    // table at the end closes the document landscape: no section is left with nothing on it, which
    // a word processor would print as a blank page.
    void noEmptySectionAroundLandscapeTables()
    {
        QTemporaryDir dir;
        WordDocument doc;
        WordSelection &sel = doc.selection();
        sel.insertAfter(QStringLiteral("Вступление.\r"));
        sel.collapse(wdCollapseEnd);
        for (int table = 0; table < 2; ++table) {
            writeWideTable(sel, 3);
            sel.insertAfter(QStringLiteral("\r\r"));
            sel.collapse(wdCollapseEnd);
        }
        const QString path = dir.filePath(QStringLiteral("две.docx"));
        doc.save(path);
        QCOMPARE(bodyShape(path),
                 (QStringList{"p", "p+portrait", "tbl", "p", "p", "p", "tbl", "p", "p", "p", "p", "sectPr:landscape"}));
        // The blank lines the body ends with are one point high.
        const XmlElement document = XmlElement::parse(ZipReader(path).read(QStringLiteral("word/document.xml")));
        const auto &children = document.child(QStringLiteral("w:body"))->children;
        const XmlElement *last = children[children.size() - 2].child(QStringLiteral("w:pPr"));
        QVERIFY(last);
        QCOMPARE(last->child(QStringLiteral("w:spacing"))->attribute(QStringLiteral("w:line")), QStringLiteral("20"));
    }

    // The delivered report settings, on portrait and landscape A4, for the smallest and the
    // largest projects: no number breaks, no table leaves the text area.
    void deliveredSettings_data()
    {
        QTest::addColumn<int>("settings");
        QTest::addColumn<QString>("orientation");
        for (int s = 0; s < 5; ++s)
            for (const char *o : {"книжная", "альбомная"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(s).arg(QString::fromUtf8(o))))
                    << s << QString::fromUtf8(o);
    }

    void deliveredSettings()
    {
        QFETCH(int, settings);
        QFETCH(QString, orientation);
        if (!m_projects) {
            m_projects = std::make_unique<TestData>();
            createThreeVariantProject(*m_projects->data);
            m_small = m_projects->data->tblProj0->currentKod();
            korvan::bench::addLargeProject(*m_projects->data, korvan::bench::addTypes(*m_projects->data));
            m_large = m_projects->data->tblProj0->currentKod();
        }
        TestData &t = *m_projects;
        TDataModule1 &d = *t.data;
        d.TableReport->first();
        for (int i = 0; i < settings; ++i)
            d.TableReport->next();
        const QString name = d.TableReport->asString(QStringLiteral("Name"));
        setReportValue(d, QStringLiteral("PaperOrient"), orientation);
        for (const qint64 project : {m_small, m_large}) {
            QVERIFY(d.tblProj0->locate(QStringLiteral("Kod"), project));
            d.tblProj2->first();
            for (const bool allVariants : {true, false}) {
                WordApplication word;
                const QString path = exportReport(d, word, t.dir.path(), allVariants);
                checkTables(path, QStringLiteral("%1, %2, проект %3%4")
                                      .arg(name, orientation)
                                      .arg(project)
                                      .arg(allVariants ? QString() : QStringLiteral(", вариант")));
                QFile::remove(path);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestReportLayout)
#include "test_report_layout.moc"
