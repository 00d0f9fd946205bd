#include "core/Messages.h"
#include "core/reports/word/WordDocument.h"
#include "core/reports/word/WordFont.h"
#include "core/reports/word/WordParagraphFormat.h"
#include "core/reports/WordLayer.h"
#include "TestPictures.h"
#include "XmlElement.h"
#include "ZipReader.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvan;
using korvan::test::XmlElement;
using korvan::test::ZipReader;

namespace {

// The ways the report code writes, as it will drive the document.

void format(WordSelection &sel, const QString &name, int size, bool bold, bool italic)
{
    WordFont font = sel.font();
    font.setName(name);
    font.setSize(size);
    font.setBold(bold);
    font.setItalic(italic);
    sel.collapse(wdCollapseEnd);
}

void heading(WordSelection &sel, const QString &text, int size = 12)
{
    sel.insertAfter(text);
    format(sel, QStringLiteral("Times New Roman"), size, true, false);
}

void writeText(WordSelection &sel, const QString &text)
{
    sel.insertAfter(text);
    WordFont font = sel.font();
    font.setName(QStringLiteral("Times New Roman Cyr"));
    font.setSize(12);
    font.setSubscript(false);
    font.setSuperscript(false);
    sel.collapse(wdCollapseEnd);
}

void writeSuperscript(WordSelection &sel, const QString &text)
{
    sel.insertAfter(QStringLiteral(" ") + text);
    WordFont font = sel.font();
    font.setName(QStringLiteral("Times New Roman Cyr"));
    font.setSize(12);
    font.setSuperscript(true);
    sel.collapse(wdCollapseEnd);
}

// Reading the saved package back.

QString paragraphText(const XmlElement &p)
{
    QString text;
    for (const XmlElement *r : p.descendants(QStringLiteral("w:r"))) {
        for (const XmlElement &c : r->children) {
            if (c.name == QLatin1String("w:t"))
                text += c.text;
            else if (c.name == QLatin1String("w:tab"))
                text += u'\t';
            else if (c.name == QLatin1String("w:br"))
                text += c.attribute(QStringLiteral("w:type")) == QLatin1String("page") ? u'\f' : u'\v';
        }
    }
    return text;
}

// "font/half points[/b][/i][/sup|/sub]"
QString formatSummary(const XmlElement *rPr)
{
    if (!rPr)
        return QStringLiteral("(none)");
    QString s;
    if (const XmlElement *fonts = rPr->child(QStringLiteral("w:rFonts")))
        s += fonts->attribute(QStringLiteral("w:ascii"));
    if (const XmlElement *sz = rPr->child(QStringLiteral("w:sz")))
        s += u'/' + sz->attribute(QStringLiteral("w:val"));
    if (rPr->child(QStringLiteral("w:b")))
        s += QStringLiteral("/b");
    if (rPr->child(QStringLiteral("w:i")))
        s += QStringLiteral("/i");
    if (const XmlElement *v = rPr->child(QStringLiteral("w:vertAlign")))
        s += v->attribute(QStringLiteral("w:val")) == QLatin1String("superscript") ? QStringLiteral("/sup")
                                                                                   : QStringLiteral("/sub");
    return s;
}

// Every text run of a paragraph as "format:text".
QStringList runs(const XmlElement &p)
{
    QStringList result;
    for (const XmlElement *r : p.childrenNamed(QStringLiteral("w:r"))) {
        XmlElement only;
        only.children.append(*r);
        result << formatSummary(r->child(QStringLiteral("w:rPr"))) + u':' + paragraphText(only);
    }
    return result;
}

QString markSummary(const XmlElement &p)
{
    const XmlElement *pPr = p.child(QStringLiteral("w:pPr"));
    return formatSummary(pPr ? pPr->child(QStringLiteral("w:rPr")) : nullptr);
}

QString alignment(const XmlElement &p)
{
    const XmlElement *pPr = p.child(QStringLiteral("w:pPr"));
    const XmlElement *jc = pPr ? pPr->child(QStringLiteral("w:jc")) : nullptr;
    return jc ? jc->attribute(QStringLiteral("w:val")) : QString();
}

// A relationship's attribute by the value of another one.
QString relationship(const XmlElement &rels, const QString &key, const QString &value, const QString &wanted)
{
    for (const XmlElement *r : rels.childrenNamed(QStringLiteral("Relationship"))) {
        if (r->attribute(key) == value)
            return r->attribute(wanted);
    }
    return QString();
}

const QString RelImage = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/image");
const QString RelHeader = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/header");
const QString RelFooter = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/footer");

} // namespace

class TestWordDocument : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_saved = 0;

    QString save(const WordDocument &doc)
    {
        const QString path = m_dir.filePath(QStringLiteral("документ %1.docx").arg(++m_saved));
        doc.save(path);
        return path;
    }

    // A part as read; the text parts with the formats of their styles written into them.
    static XmlElement part(const ZipReader &zip, const QString &name)
    {
        const XmlElement element = XmlElement::parse(zip.read(name));
        if (name == QLatin1String("word/document.xml") || name.startsWith(QLatin1String("word/header")) ||
            name.startsWith(QLatin1String("word/footer")))
            return withStylesInlined(element, XmlElement::parse(zip.read(QStringLiteral("word/styles.xml"))));
        return element;
    }

    // The body of the saved document, its paragraphs and tables in order.
    XmlElement savedBody(const WordDocument &doc)
    {
        const ZipReader zip(save(doc));
        const XmlElement document = part(zip, QStringLiteral("word/document.xml"));
        const XmlElement *body = document.child(QStringLiteral("w:body"));
        return body ? *body : XmlElement();
    }

    static QList<const XmlElement *> bodyParagraphs(const XmlElement &body)
    {
        return body.childrenNamed(QStringLiteral("w:p"));
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void headingAndFormulaRuns()
    {
        WordDocument doc;
        WordSelection &sel = doc.selection();
        WordFont base = sel.font();
        base.setName(QStringLiteral("Times New Roman Cyr"));
        base.setSize(12);

        heading(sel, QStringLiteral("Проект №1.\r\r"), 14);
        sel.collapse(wdCollapseEnd);
        format(sel, QStringLiteral("Times New Roman"), 12, false, false);
        writeText(sel, QStringLiteral("S = (P"));
        writeSuperscript(sel, QStringLiteral("2"));
        writeText(sel, QStringLiteral(" + Q"));
        writeSuperscript(sel, QStringLiteral("2"));
        writeText(sel, QStringLiteral(")"));
        writeSuperscript(sel, QStringLiteral("1/2"));
        writeText(sel, QStringLiteral(" = 5 кВА.\r"));

        const XmlElement body = savedBody(doc);
        const auto paragraphs = bodyParagraphs(body);
        QCOMPARE(paragraphs.size(), 4);
        QCOMPARE(runs(*paragraphs[0]), QStringList{QStringLiteral("Times New Roman/28/b:Проект №1.")});
        QCOMPARE(markSummary(*paragraphs[0]), QStringLiteral("Times New Roman/28/b"));
        QCOMPARE(runs(*paragraphs[1]), QStringList());
        QCOMPARE(markSummary(*paragraphs[1]), QStringLiteral("Times New Roman/28/b"));
        const QString cyr = QStringLiteral("Times New Roman Cyr/24");
        QCOMPARE(runs(*paragraphs[2]), (QStringList{cyr + ":S = (P", cyr + "/sup: 2", cyr + ": + Q", cyr + "/sup: 2",
                                                    cyr + ":)", cyr + "/sup: 1/2", cyr + ": = 5 кВА."}));
        // The blank line the body ends with is one point high: it never makes a page of its own.
        QCOMPARE(runs(*paragraphs[3]), QStringList());
        QCOMPARE(markSummary(*paragraphs[3]), QStringLiteral("/2"));
    }

    void formatCoversEverythingInsertedSinceLastCollapse()
    {
        WordDocument doc;
        WordSelection &sel = doc.selection();
        sel.insertAfter(QStringLiteral("где\r"));
        sel.insertAfter(QStringLiteral("T1 - начало периода;\r"));
        QCOMPARE(sel.text(), QStringLiteral("где\rT1 - начало периода;\r"));
        format(sel, QStringLiteral("Times New Roman"), 10, false, false);
        sel.insertAfter(QStringLiteral("Дальше."));

        const XmlElement body = savedBody(doc);
        const auto paragraphs = bodyParagraphs(body);
        QCOMPARE(paragraphs.size(), 3);
        QCOMPARE(runs(*paragraphs[0]), QStringList{QStringLiteral("Times New Roman/20:где")});
        QCOMPARE(runs(*paragraphs[1]), QStringList{QStringLiteral("Times New Roman/20:T1 - начало периода;")});
        QCOMPARE(runs(*paragraphs[2]), QStringList{QStringLiteral("Times New Roman/24:Дальше.")});
    }

    void insertionPointFormatGoesToNextText()
    {
        WordDocument doc;
        WordSelection &sel = doc.selection();
        sel.insertAfter(QStringLiteral("обычный "));
        sel.collapse(wdCollapseEnd);
        WordFont font = sel.font();
        font.setBold(true);
        font.setItalic(true);
        sel.insertAfter(QStringLiteral("выделенный"));

        const XmlElement body = savedBody(doc);
        const auto paragraphs = bodyParagraphs(body);
        QCOMPARE(runs(*paragraphs[0]), (QStringList{QStringLiteral("Times New Roman/24:обычный "),
                                                    QStringLiteral("Times New Roman/24/b/i:выделенный")}));
    }

    void subscriptAndSuperscriptExcludeEachOther()
    {
        WordDocument doc;
        WordSelection &sel = doc.selection();
        sel.insertAfter(QStringLiteral("a"));
        sel.font().setSubscript(true);
        sel.collapse(wdCollapseEnd);
        sel.insertAfter(QStringLiteral("b"));
        sel.font().setSuperscript(true);
        sel.font().setSubscript(false); // leaves the raised text raised
        sel.collapse(wdCollapseEnd);
        sel.insertAfter(QStringLiteral("c"));
        sel.font().setSuperscript(false);

        const XmlElement body = savedBody(doc);
        const auto paragraphs = bodyParagraphs(body);
        QCOMPARE(runs(*paragraphs[0]),
                 (QStringList{QStringLiteral("Times New Roman/24/sub:a"), QStringLiteral("Times New Roman/24/sup:b"),
                              QStringLiteral("Times New Roman/24:c")}));
    }

    void reportTable_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("alignment");
        QTest::newRow("3 columns, 2 rows, centred") << 3 << 2 << int(wdAlignParagraphCenter);
        QTest::newRow("1 column, 4 rows, left") << 1 << 4 << int(wdAlignParagraphLeft);
        QTest::newRow("5 columns, 1 row, centred") << 5 << 1 << int(wdAlignParagraphCenter);
        QTest::newRow("3 columns, 11 rows, left") << 3 << 11 << int(wdAlignParagraphLeft);
    }

    void reportTable()
    {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(int, alignment);

        WordDocument doc;
        WordSelection &sel = doc.selection();
        heading(sel, QStringLiteral("Таблица.\r\r"));
        sel.font().setSize(14); // the cells must end up in 12 whatever they inherit
        QString cells;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c)
                cells += QStringLiteral("r%1c%2\t").arg(r).arg(c);
        }
        sel.insertAfter(cells);
        FinishReportTable(sel, columns, WdParagraphAlignment(alignment));
        writeText(sel, QStringLiteral("После таблицы.\r"));

        const XmlElement body = savedBody(doc);
        QCOMPARE(body.childNames(), (QStringList{"w:p", "w:p", "w:tbl", "w:p", "w:p", "w:p", "w:sectPr"}));
        const auto paragraphs = bodyParagraphs(body);
        QCOMPARE(paragraphText(*paragraphs[0]), QStringLiteral("Таблица."));
        QCOMPARE(paragraphText(*paragraphs[2]), QString()); // the paragraph left below the table
        QCOMPARE(paragraphText(*paragraphs[3]), QStringLiteral("После таблицы."));

        const XmlElement *table = body.child(QStringLiteral("w:tbl"));
        QCOMPARE(table->descendants(QStringLiteral("w:gridCol")).size(), columns);
        const auto tableRows = table->childrenNamed(QStringLiteral("w:tr"));
        QCOMPARE(tableRows.size(), rows);
        for (int r = 0; r < rows; ++r) {
            const auto tableCells = tableRows[r]->childrenNamed(QStringLiteral("w:tc"));
            QCOMPARE(tableCells.size(), columns);
            for (int c = 0; c < columns; ++c) {
                const auto cellParagraphs = tableCells[c]->childrenNamed(QStringLiteral("w:p"));
                QCOMPARE(cellParagraphs.size(), 1);
                QCOMPARE(paragraphText(*cellParagraphs[0]), QStringLiteral("r%1c%2").arg(r).arg(c));
                QCOMPARE(alignment == wdAlignParagraphCenter ? QStringLiteral("center") : QString(),
                         ::alignment(*cellParagraphs[0]));
                QCOMPARE(runs(*cellParagraphs[0]).first().section(u':', 0, 0), QStringLiteral("Times New Roman/24"));
                QCOMPARE(markSummary(*cellParagraphs[0]), QStringLiteral("Times New Roman/24"));
            }
        }
        // Fitted columns are wider than the 16 points the table starts with.
        for (const XmlElement *col : table->descendants(QStringLiteral("w:gridCol")))
            QVERIFY(col->attribute(QStringLiteral("w:w")).toInt() > 320);
    }

    void tablesWithNothingBetweenAreKeptApart()
    {
        WordDocument doc;
        WordSelection &sel = doc.selection();
        sel.insertAfter(QStringLiteral("a\tb"));
        sel.convertToTable(wdSeparateByTabs, 2, 16);
        sel.collapse(wdCollapseEnd);
        sel.insertAfter(QStringLiteral("c\td\te"));
        sel.convertToTable(wdSeparateByTabs, 2, 16);

        const XmlElement body = savedBody(doc);
        QCOMPARE(body.childNames(), (QStringList{"w:tbl", "w:p", "w:tbl", "w:p", "w:sectPr"}));
        const auto tables = body.childrenNamed(QStringLiteral("w:tbl"));
        QCOMPARE(tables[0]->childrenNamed(QStringLiteral("w:tr")).size(), 1);
        // Three cells in two columns fill a second row, padded with an empty cell.
        const auto secondRows = tables[1]->childrenNamed(QStringLiteral("w:tr"));
        QCOMPARE(secondRows.size(), 2);
        const auto lastCells = secondRows[1]->childrenNamed(QStringLiteral("w:tc"));
        QCOMPARE(lastCells.size(), 2);
        QCOMPARE(paragraphText(*lastCells[0]->child(QStringLiteral("w:p"))), QStringLiteral("e"));
        QVERIFY(lastCells[1]->child(QStringLiteral("w:p")));
        // Not fitted: the columns keep the initial width of 16 points.
        for (const XmlElement *col : tables[1]->descendants(QStringLiteral("w:gridCol")))
            QCOMPARE(col->attribute(QStringLiteral("w:w")), QStringLiteral("320"));
    }

    void rowDeletedInsideTable()
    {
        WordDocument doc;
        WordSelection &sel = doc.selection();
        sel.insertAfter(QStringLiteral("a1\ta2\tb1\tb2\tc1\tc2"));
        sel.convertToTable(wdSeparateByTabs, 2, 16);
        sel.collapse(wdCollapseStart);
        QCOMPARE(sel.moveDown(wdLine, 1, wdMove), 1);
        QVERIFY(sel.isInTable());
        sel.selectRow();
        sel.deleteRows();
        sel.insertAfter(QStringLiteral("X"));
        sel.collapse(wdCollapseEnd);
        QCOMPARE(sel.moveDown(wdLine, 2, wdMove), 1); // out of the table, then nothing below
        QVERIFY(!sel.isInTable());
        sel.insertAfter(QStringLiteral("конец"));

        const XmlElement body = savedBody(doc);
        const auto rows = body.child(QStringLiteral("w:tbl"))->childrenNamed(QStringLiteral("w:tr"));
        QCOMPARE(rows.size(), 2);
        QStringList texts;
        for (const XmlElement *row : rows) {
            for (const XmlElement *p : row->descendants(QStringLiteral("w:p")))
                texts << paragraphText(*p);
        }
        QCOMPARE(texts, (QStringList{"a1", "a2", "Xc1", "c2"}));
        QCOMPARE(paragraphText(*bodyParagraphs(body).last()), QStringLiteral("конец"));
    }

    void tableCommandsOutsideTableFail()
    {
        WordDocument doc;
        WordSelection &sel = doc.selection();
        sel.insertAfter(QStringLiteral("текст"));
        QVERIFY_THROWS_EXCEPTION(KorvanError, sel.selectRow());
        QVERIFY_THROWS_EXCEPTION(KorvanError, sel.selectColumn());
        QVERIFY_THROWS_EXCEPTION(KorvanError, sel.deleteRows());
        QVERIFY_THROWS_EXCEPTION(KorvanError, sel.autoFitCells());
        QVERIFY_THROWS_EXCEPTION(KorvanError, sel.convertToTable(wdSeparateByTabs, 0, 16));
        QCOMPARE(sel.text(), QStringLiteral("текст"));
    }

    void pageSetup_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("orientationFirst");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("orient");
        QTest::newRow("A4 portrait") << int(wdPaperA4) << int(wdOrientPortrait) << false << "11906"
                                     << "16838"
                                     << "";
        QTest::newRow("A3 portrait") << int(wdPaperA3) << int(wdOrientPortrait) << false << "16838"
                                     << "23811"
                                     << "";
        QTest::newRow("A4 landscape") << int(wdPaperA4) << int(wdOrientLandscape) << false << "16838"
                                      << "11906"
                                      << "landscape";
        QTest::newRow("A5 landscape, orientation set first")
            << int(wdPaperA5) << int(wdOrientLandscape) << true << "11906"
            << "8391"
            << "landscape";
    }

    void pageSetup()
    {
        QFETCH(int, paper);
        QFETCH(int, orientation);
        QFETCH(bool, orientationFirst);
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(QString, orient);

        WordDocument doc;
        WordPageSetup &page = doc.pageSetup();
        if (orientationFirst)
            page.setOrientation(WdOrientation(orientation));
        page.setPaperSize(WdPaperSize(paper));
        page.setOrientation(WdOrientation(orientation));
        // 20, 25, 10 mm and such, already in whole points.
        page.setTopMargin(57);
        page.setBottomMargin(71);
        page.setLeftMargin(28);
        page.setRightMargin(28.5f);
        page.setHeaderDistance(36);
        page.setFooterDistance(0);
        doc.selection().insertAfter(QStringLiteral("Текст"));

        const XmlElement body = savedBody(doc);
        QCOMPARE(body.childNames().last(), QStringLiteral("w:sectPr"));
        const XmlElement *sectPr = body.child(QStringLiteral("w:sectPr"));
        QCOMPARE(sectPr->childNames(), (QStringList{"w:pgSz", "w:pgMar", "w:cols"}));
        const XmlElement *size = sectPr->child(QStringLiteral("w:pgSz"));
        QCOMPARE(size->attribute(QStringLiteral("w:w")), width);
        QCOMPARE(size->attribute(QStringLiteral("w:h")), height);
        QCOMPARE(size->attribute(QStringLiteral("w:orient")), orient);
        const XmlElement *margins = sectPr->child(QStringLiteral("w:pgMar"));
        QCOMPARE(margins->attributes, (QMap<QString, QString>{{"w:top", "1140"},
                                                              {"w:bottom", "1420"},
                                                              {"w:left", "560"},
                                                              {"w:right", "570"},
                                                              {"w:header", "720"},
                                                              {"w:footer", "0"},
                                                              {"w:gutter", "0"}}));
    }

    void marginRefused_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<float>("points");
        QTest::newRow("negative left") << "left" << -1.0f;
        QTest::newRow("negative header") << "header" << -5.0f;
        QTest::newRow("left and right wider than the page") << "left" << 560.0f;
        QTest::newRow("more than 22 inches") << "top" << 1600.0f;
    }

    void marginRefused()
    {
        QFETCH(QString, which);
        QFETCH(float, points);
        WordDocument doc;
        WordPageSetup &page = doc.pageSetup();
        const float before = which == "left"  ? page.leftMargin()
                             : which == "top" ? page.topMargin()
                                              : page.headerDistance();
        if (which == "left")
            QVERIFY_THROWS_EXCEPTION(KorvanError, page.setLeftMargin(points));
        else if (which == "top")
            QVERIFY_THROWS_EXCEPTION(KorvanError, page.setTopMargin(points));
        else
            QVERIFY_THROWS_EXCEPTION(KorvanError, page.setHeaderDistance(points));
        const float after = which == "left"  ? page.leftMargin()
                            : which == "top" ? page.topMargin()
                                             : page.headerDistance();
        QCOMPARE(after, before);
    }

    void pageNumber_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("fields");
        QTest::addColumn<QString>("partName");
        QTest::addColumn<QString>("absentName");
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("relationshipType");
        QTest::addColumn<QString>("reference");
        QTest::newRow("header") << int(wdSeekCurrentPageHeader) << 1 << "header1.xml"
                                << "footer1.xml"
                                << "w:hdr" << RelHeader << "w:headerReference";
        QTest::newRow("footer") << int(wdSeekCurrentPageFooter) << 1 << "footer1.xml"
                                << "header1.xml"
                                << "w:ftr" << RelFooter << "w:footerReference";
        QTest::newRow("footer, prepared twice") << int(wdSeekCurrentPageFooter) << 2 << "footer1.xml"
                                                << "header1.xml"
                                                << "w:ftr" << RelFooter << "w:footerReference";
    }

    void pageNumber()
    {
        QFETCH(int, view);
        QFETCH(int, fields);
        QFETCH(QString, partName);
        QFETCH(QString, absentName);
        QFETCH(QString, root);
        QFETCH(QString, relationshipType);
        QFETCH(QString, reference);

        WordDocument doc;
        WordSelection &sel = doc.selection();
        sel.insertAfter(QStringLiteral("До. "));
        sel.collapse(wdCollapseEnd);
        for (int i = 0; i < fields; ++i) {
            doc.seekView(WdSeekView(view));
            sel.addField(wdFieldPage);
            sel.paragraphFormat().setAlignment(wdAlignParagraphCenter);
            doc.seekView(wdSeekMainDocument);
        }
        sel.insertAfter(QStringLiteral("После."));

        const ZipReader zip(save(doc));
        QVERIFY(zip.isOpen());
        QVERIFY(zip.contains("word/" + partName));
        QVERIFY(!zip.contains("word/" + absentName));

        const XmlElement document = part(zip, QStringLiteral("word/document.xml"));
        const XmlElement *body = document.child(QStringLiteral("w:body"));
        QCOMPARE(paragraphText(*body->child(QStringLiteral("w:p"))), QStringLiteral("До. После."));
        QVERIFY(document.descendants(QStringLiteral("w:fldSimple")).isEmpty());

        const XmlElement rels = part(zip, QStringLiteral("word/_rels/document.xml.rels"));
        const QString id = relationship(rels, QStringLiteral("Target"), partName, QStringLiteral("Id"));
        QCOMPARE(relationship(rels, QStringLiteral("Id"), id, QStringLiteral("Type")), relationshipType);
        const auto references = body->child(QStringLiteral("w:sectPr"))->childrenNamed(reference);
        QCOMPARE(references.size(), 1);
        QCOMPARE(references[0]->attribute(QStringLiteral("r:id")), id);
        QCOMPARE(references[0]->attribute(QStringLiteral("w:type")), QStringLiteral("default"));
        QCOMPARE(body->child(QStringLiteral("w:sectPr"))->childNames().size(),
                 4); // reference, pgSz, pgMar, cols

        const XmlElement types = part(zip, QStringLiteral("[Content_Types].xml"));
        QString contentType;
        for (const XmlElement *o : types.childrenNamed(QStringLiteral("Override"))) {
            if (o->attribute(QStringLiteral("PartName")) == "/word/" + partName)
                contentType = o->attribute(QStringLiteral("ContentType"));
        }
        QCOMPARE(contentType, "application/vnd.openxmlformats-officedocument.wordprocessingml." +
                                  QString(root == "w:hdr" ? "header" : "footer") + "+xml");

        const XmlElement side = part(zip, "word/" + partName);
        QCOMPARE(side.name, root);
        const auto paragraphs = side.childrenNamed(QStringLiteral("w:p"));
        QCOMPARE(paragraphs.size(), 1);
        const auto found = paragraphs[0]->childrenNamed(QStringLiteral("w:fldSimple"));
        QCOMPARE(found.size(), fields);
        for (const XmlElement *field : found)
            QCOMPARE(field->attribute(QStringLiteral("w:instr")), QStringLiteral(" PAGE "));
        QCOMPARE(alignment(*paragraphs[0]), QStringLiteral("center"));
    }

    void pictures()
    {
        const QByteArray png = test::makePng(40, 30);
        const QByteArray bmp = test::makeBmp(20, 10, true);
        const QString pngPath = m_dir.filePath(QStringLiteral("график.png"));
        const QString bmpPath = m_dir.filePath(QStringLiteral("myhelp.bmp"));
        for (const auto &[path, data] : {std::pair{pngPath, png}, std::pair{bmpPath, bmp}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(data);
        }

        WordDocument doc;
        WordSelection &sel = doc.selection();
        sel.addPicture(pngPath);
        QVERIFY(QFile::remove(pngPath)); // the picture is already in the document
        sel.insertAfter(QStringLiteral("\r\r"));
        sel.collapse(wdCollapseEnd);
        sel.addPicture(bmpPath);
        QVERIFY(QFile::remove(bmpPath));
        sel.insertAfter(QStringLiteral("\r\rДиаграммы."));

        const ZipReader zip(save(doc));
        QCOMPARE(zip.read(QStringLiteral("word/media/image1.png")), png);
        QCOMPARE(zip.read(QStringLiteral("word/media/image2.bmp")), bmp);

        const XmlElement types = part(zip, QStringLiteral("[Content_Types].xml"));
        QMap<QString, QString> defaults;
        for (const XmlElement *d : types.childrenNamed(QStringLiteral("Default")))
            defaults.insert(d->attribute(QStringLiteral("Extension")), d->attribute(QStringLiteral("ContentType")));
        QCOMPARE(defaults.value(QStringLiteral("png")), QStringLiteral("image/png"));
        QCOMPARE(defaults.value(QStringLiteral("bmp")), QStringLiteral("image/bmp"));

        const XmlElement rels = part(zip, QStringLiteral("word/_rels/document.xml.rels"));
        const XmlElement document = part(zip, QStringLiteral("word/document.xml"));
        const auto paragraphs = bodyParagraphs(*document.child(QStringLiteral("w:body")));
        QCOMPARE(paragraphs.size(), 5);
        QCOMPARE(paragraphs[0]->descendants(QStringLiteral("wp:inline")).size(), 1);
        QCOMPARE(paragraphs[2]->descendants(QStringLiteral("wp:inline")).size(), 1);
        QCOMPARE(paragraphText(*paragraphs[4]), QStringLiteral("Диаграммы."));

        const auto inlines = document.descendants(QStringLiteral("wp:inline"));
        const QStringList targets = {QStringLiteral("media/image1.png"), QStringLiteral("media/image2.bmp")};
        const QList<QPair<qint64, qint64>> sizes = {{40 * 9525, 30 * 9525}, {20 * 9525, 10 * 9525}};
        QSet<QString> docPrIds;
        for (int i = 0; i < 2; ++i) {
            const XmlElement *blip = inlines[i]->descendants(QStringLiteral("a:blip")).value(0);
            QVERIFY(blip);
            const QString id = blip->attribute(QStringLiteral("r:embed"));
            QCOMPARE(relationship(rels, QStringLiteral("Id"), id, QStringLiteral("Target")), targets[i]);
            QCOMPARE(relationship(rels, QStringLiteral("Id"), id, QStringLiteral("Type")), RelImage);
            const XmlElement *extent = inlines[i]->child(QStringLiteral("wp:extent"));
            QCOMPARE(extent->attribute(QStringLiteral("cx")).toLongLong(), sizes[i].first);
            QCOMPARE(extent->attribute(QStringLiteral("cy")).toLongLong(), sizes[i].second);
            docPrIds.insert(inlines[i]->child(QStringLiteral("wp:docPr"))->attribute(QStringLiteral("id")));
        }
        QCOMPARE(docPrIds.size(), 2);
    }

    void widePictureShrinksToText()
    {
        const QString path = m_dir.filePath(QStringLiteral("wide.png"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(test::makePng(2000, 1000));
        file.close();

        WordDocument doc;
        doc.pageSetup().setLeftMargin(72);
        doc.pageSetup().setRightMargin(72);
        doc.selection().addPicture(path);

        const ZipReader zip(save(doc));
        const XmlElement document = part(zip, QStringLiteral("word/document.xml"));
        const XmlElement *extent = document.descendants(QStringLiteral("wp:extent")).value(0);
        QVERIFY(extent);
        const qint64 textWidth = qint64((11906 / 20.0 - 144) * 12700);
        const qint64 cx = extent->attribute(QStringLiteral("cx")).toLongLong();
        const qint64 cy = extent->attribute(QStringLiteral("cy")).toLongLong();
        QVERIFY2(cx <= textWidth && cx > textWidth - 12700, qPrintable(QString::number(cx)));
        QVERIFY(qAbs(cx - 2 * cy) <= 2);
    }

    void badPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("missing file") << "нет файла.png" << QByteArray();
        QTest::newRow("not a picture") << "текст.png" << QByteArray("просто текст");
        QTest::newRow("PNG of zero width") << "пустой.png" << test::makePng(0, 5);
        QTest::newRow("truncated BMP") << "обрезан.bmp" << test::makeBmp(4, 4).left(20);
    }

    void badPicture()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, data);
        const QString path = m_dir.filePath(name);
        if (!data.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(data);
        }
        WordDocument doc;
        WordSelection &sel = doc.selection();
        sel.insertAfter(QStringLiteral("текст"));
        try {
            sel.addPicture(path);
            QFAIL("the picture was accepted");
        } catch (const KorvanError &e) {
            QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
        }
        QVERIFY(doc.pictures().isEmpty());
        QCOMPARE(sel.text(), QStringLiteral("текст"));
        QFile::remove(path);
    }

    void textIsEscapedAndCleaned()
    {
        WordDocument doc;
        WordSelection &sel = doc.selection();
        QString text = QStringLiteral("a < b && c > d \"q\" 'r'");
        text += QChar(0x01);
        text += QChar(0x1F);
        text += QChar(0xFFFF);
        text += QChar(0xD800); // half of a surrogate pair
        text += QStringLiteral("\tтаб\vстрока\fлист\r\nвторой\nтретий\a");
        text += QString::fromUtf8("\xF0\x9F\x98\x80"); // a whole pair stays
        sel.insertAfter(text);
        WordFont font = sel.font();
        font.setName(QStringLiteral("Шрифт <&\"'>"));

        const ZipReader zip(save(doc));
        const QByteArray raw = zip.read(QStringLiteral("word/document.xml"));
        QVERIFY(raw.contains("a &lt; b &amp;&amp; c &gt; d"));
        const XmlElement document = XmlElement::parse(raw);
        QVERIFY2(!document.isError(), qPrintable(document.text));
        const auto paragraphs = bodyParagraphs(*document.child(QStringLiteral("w:body")));
        QCOMPARE(paragraphs.size(), 3);
        QCOMPARE(paragraphText(*paragraphs[0]), QStringLiteral("a < b && c > d \"q\" 'r'\tтаб\vстрока\fлист"));
        QCOMPARE(paragraphText(*paragraphs[1]), QStringLiteral("второй"));
        QCOMPARE(paragraphText(*paragraphs[2]), QStringLiteral("третий") + QString::fromUtf8("\xF0\x9F\x98\x80"));
        // Blanks at the ends of a text, or two in a row, survive only with xml:space.
        for (const XmlElement *t : document.descendants(QStringLiteral("w:t"))) {
            if (t->text.startsWith(u' ') || t->text.endsWith(u' ') || t->text.contains(QLatin1String("  ")))
                QCOMPARE(t->attribute(QStringLiteral("xml:space")), QStringLiteral("preserve"));
        }
        // The font is named in the styles.
        QStringList fonts;
        const XmlElement styles = part(zip, QStringLiteral("word/styles.xml"));
        for (const XmlElement *f : styles.descendants(QStringLiteral("w:rFonts")))
            fonts << f->attribute(QStringLiteral("w:ascii"));
        QVERIFY2(fonts.contains(QStringLiteral("Шрифт <&\"'>")), qPrintable(fonts.join(u'|')));
    }

    void packageIsComplete()
    {
        const QString picturePath = m_dir.filePath(QStringLiteral("full.png"));
        {
            QFile file(picturePath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(test::makePng(8, 8));
        }
        WordDocument doc;
        doc.pageSetup().setPaperSize(wdPaperA3);
        doc.pageSetup().setOrientation(wdOrientLandscape);
        WordSelection &sel = doc.selection();
        doc.seekView(wdSeekCurrentPageHeader);
        sel.addField(wdFieldPage);
        doc.seekView(wdSeekCurrentPageFooter);
        sel.insertAfter(QStringLiteral("Нижний колонтитул "));
        sel.collapse(wdCollapseEnd);
        sel.addPicture(picturePath);
        doc.seekView(wdSeekMainDocument);
        heading(sel, QStringLiteral("Заголовок.\r\r"), 14);
        sel.insertAfter(QStringLiteral("1\t2\t3\t4\t"));
        FinishReportTable(sel, 2, wdAlignParagraphLeft);
        sel.insertAfter(QStringLiteral("5\t6\t"));
        FinishReportTable(sel, 2, wdAlignParagraphCenter);
        writeText(sel, QStringLiteral("x"));
        writeSuperscript(sel, QStringLiteral("2"));
        sel.font().setBold(true);
        sel.font().setItalic(true);
        sel.addPicture(picturePath);

        const ZipReader zip(save(doc));
        QVERIFY(zip.isOpen());
        QCOMPARE(zip.names().first(), QStringLiteral("[Content_Types].xml"));

        // Every part has a content type.
        const XmlElement types = part(zip, QStringLiteral("[Content_Types].xml"));
        QSet<QString> overrides;
        QSet<QString> defaults;
        for (const XmlElement *o : types.childrenNamed(QStringLiteral("Override")))
            overrides.insert(o->attribute(QStringLiteral("PartName")));
        for (const XmlElement *d : types.childrenNamed(QStringLiteral("Default")))
            defaults.insert(d->attribute(QStringLiteral("Extension")));
        for (const QString &name : zip.names()) {
            if (name == QLatin1String("[Content_Types].xml"))
                continue;
            QVERIFY2(overrides.contains(u'/' + name) || defaults.contains(name.section(u'.', -1)), qPrintable(name));
        }
        for (const QString &o : overrides)
            QVERIFY2(zip.contains(o.mid(1)), qPrintable(o));

        // Every relationship points at a part that is there.
        for (const QString &relsName : zip.names()) {
            if (!relsName.endsWith(QLatin1String(".rels")))
                continue;
            const QString folder = relsName.section(QStringLiteral("_rels/"), 0, 0);
            const XmlElement rels = part(zip, relsName);
            QSet<QString> ids;
            for (const XmlElement *r : rels.childrenNamed(QStringLiteral("Relationship"))) {
                QVERIFY2(zip.contains(folder + r->attribute(QStringLiteral("Target"))), qPrintable(relsName));
                ids.insert(r->attribute(QStringLiteral("Id")));
            }
            QCOMPARE(ids.size(), rels.children.size());
        }
        QVERIFY(zip.contains(QStringLiteral("word/_rels/footer1.xml.rels")));

        // Every XML part is well formed; element order where Word insists on it.
        const QStringList runOrder = {"w:rStyle", "w:rFonts", "w:b", "w:i", "w:sz", "w:szCs", "w:vertAlign", "w:lang"};
        QSet<QString> docPrIds;
        for (const QString &name : zip.names()) {
            if (!name.endsWith(QLatin1String(".xml")) && !name.endsWith(QLatin1String(".rels")))
                continue;
            const XmlElement root = part(zip, name);
            QVERIFY2(!root.isError(), qPrintable(name + ": " + root.text));
            for (const XmlElement *rPr : root.descendants(QStringLiteral("w:rPr"))) {
                int last = -1;
                for (const QString &child : rPr->childNames()) {
                    const int at = runOrder.indexOf(child);
                    QVERIFY2(at > last, qPrintable(name + ": " + rPr->childNames().join(u' ')));
                    last = at;
                }
            }
            for (const XmlElement *tc : root.descendants(QStringLiteral("w:tc")))
                QVERIFY(tc->child(QStringLiteral("w:p")));
            for (const XmlElement *p : root.descendants(QStringLiteral("w:pPr"))) {
                const QStringList children = p->childNames();
                if (children.contains(QStringLiteral("w:jc")) && children.contains(QStringLiteral("w:rPr")))
                    QVERIFY(children.indexOf(QStringLiteral("w:jc")) < children.indexOf(QStringLiteral("w:rPr")));
            }
            for (const XmlElement *d : root.descendants(QStringLiteral("wp:docPr")))
                docPrIds.insert(d->attribute(QStringLiteral("id")));
        }
        QCOMPARE(docPrIds.size(), 2);

        const XmlElement styles = part(zip, QStringLiteral("word/styles.xml"));
        const XmlElement *defaultsRun = styles.descendants(QStringLiteral("w:rPrDefault")).value(0);
        QVERIFY(defaultsRun);
        QCOMPARE(defaultsRun->descendants(QStringLiteral("w:sz")).value(0)->attribute(QStringLiteral("w:val")),
                 QStringLiteral("24"));

        const XmlElement document = part(zip, QStringLiteral("word/document.xml"));
        const QStringList bodyChildren = document.child(QStringLiteral("w:body"))->childNames();
        QCOMPARE(bodyChildren.last(), QStringLiteral("w:sectPr"));
        for (int i = 1; i < bodyChildren.size(); ++i)
            QVERIFY(!(bodyChildren[i] == "w:tbl" && bodyChildren[i - 1] == "w:tbl"));
        QCOMPARE(bodyChildren.count(QStringLiteral("w:tbl")), 2);
    }

    void saveFailure_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("folderIsFile");
        QTest::newRow("missing folder") << "нет такой папки" << false;
        QTest::newRow("folder is a file") << "файл.txt" << true;
    }

    void saveFailure()
    {
        QFETCH(QString, folder);
        QFETCH(bool, folderIsFile);
        QTemporaryDir dir;
        const QString folderPath = dir.filePath(folder);
        if (folderIsFile) {
            QFile file(folderPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString path = folderPath + QStringLiteral("/отчет.docx");
        WordDocument doc;
        doc.selection().insertAfter(QStringLiteral("Текст"));
        try {
            doc.save(path);
            QFAIL("saving succeeded");
        } catch (const KorvanError &e) {
            QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
        }
        QVERIFY(!QFile::exists(path));
        const QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QCOMPARE(left, folderIsFile ? QStringList{folder} : QStringList());
    }

    void savingAgainReplacesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("отчет.docx"));
        WordDocument doc;
        WordSelection &sel = doc.selection();
        sel.insertAfter(QStringLiteral("Первый отчет.\r"));
        sel.collapse(wdCollapseEnd);
        doc.save(path);
        sel.insertAfter(QStringLiteral("Второй отчет."));
        doc.save(path);

        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("отчет.docx")});
        const ZipReader zip(path);
        const XmlElement document = part(zip, QStringLiteral("word/document.xml"));
        QStringList texts;
        for (const XmlElement *p : bodyParagraphs(*document.child(QStringLiteral("w:body"))))
            texts << paragraphText(*p);
        QCOMPARE(texts, (QStringList{"Первый отчет.", "Второй отчет."}));
    }
};

QTEST_GUILESS_MAIN(TestWordDocument)
#include "test_word_document.moc"
