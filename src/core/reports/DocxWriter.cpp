#include "reports/DocxWriter.h"

#include "Messages.h"
#include "reports/WordDocument.h"
#include "reports/ZipWriter.h"

#include <QDir>
#include <QSaveFile>
#include <QSet>
#include <QStringList>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace korvan {

namespace {

const QString NsW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString NsR = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString NsWp = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
const QString NsA = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
const QString NsPic = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture");
const QString NsPackageRels = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString NsContentTypes = QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");

const QString RelOfficeDocument = NsR + QStringLiteral("/officeDocument");
const QString RelStyles = NsR + QStringLiteral("/styles");
const QString RelSettings = NsR + QStringLiteral("/settings");
const QString RelFontTable = NsR + QStringLiteral("/fontTable");
const QString RelHeader = NsR + QStringLiteral("/header");
const QString RelFooter = NsR + QStringLiteral("/footer");
const QString RelImage = NsR + QStringLiteral("/image");

const QString TypeWml = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");

constexpr int CellMarginTwips = 108; // Word's default left and right cell margin

using Attributes = std::initializer_list<std::pair<QString, QString>>;

void empty(QXmlStreamWriter &xml, const QString &name, Attributes attributes = {})
{
    xml.writeEmptyElement(name);
    for (const auto &[key, value] : attributes)
        xml.writeAttribute(key, value);
}

void start(QXmlStreamWriter &xml, const QString &name, Attributes attributes = {})
{
    xml.writeStartElement(name);
    for (const auto &[key, value] : attributes)
        xml.writeAttribute(key, value);
}

QString number(qint64 value)
{
    return QString::number(value);
}

int twips(double points)
{
    return int(std::lround(points * 20.0));
}

struct Relationship {
    QString id;
    QString type;
    QString target;
};

QByteArray relationshipsXml(const QVector<Relationship> &relationships)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    start(xml, QStringLiteral("Relationships"), {{QStringLiteral("xmlns"), NsPackageRels}});
    for (const Relationship &r : relationships)
        empty(xml, QStringLiteral("Relationship"),
              {{QStringLiteral("Id"), r.id}, {QStringLiteral("Type"), r.type}, {QStringLiteral("Target"), r.target}});
    xml.writeEndDocument();
    return bytes;
}

void writeRunProperties(QXmlStreamWriter &xml, const CharacterFormat &f)
{
    // Child order is fixed by the schema, and Word insists on it.
    start(xml, QStringLiteral("w:rPr"));
    empty(xml, QStringLiteral("w:rFonts"),
          {{QStringLiteral("w:ascii"), f.name}, {QStringLiteral("w:hAnsi"), f.name}, {QStringLiteral("w:cs"), f.name}});
    if (f.bold)
        empty(xml, QStringLiteral("w:b"));
    if (f.italic)
        empty(xml, QStringLiteral("w:i"));
    empty(xml, QStringLiteral("w:sz"), {{QStringLiteral("w:val"), number(f.halfPoints)}});
    empty(xml, QStringLiteral("w:szCs"), {{QStringLiteral("w:val"), number(f.halfPoints)}});
    if (f.position != VerticalPosition::Baseline)
        empty(xml, QStringLiteral("w:vertAlign"),
              {{QStringLiteral("w:val"), f.position == VerticalPosition::Superscript ? QStringLiteral("superscript")
                                                                                     : QStringLiteral("subscript")}});
    xml.writeEndElement();
}

QString alignmentValue(WdParagraphAlignment alignment)
{
    switch (alignment) {
    case wdAlignParagraphCenter:
        return QStringLiteral("center");
    case wdAlignParagraphRight:
        return QStringLiteral("right");
    case wdAlignParagraphJustify:
        return QStringLiteral("both");
    case wdAlignParagraphLeft:
        break;
    }
    return QString();
}

// Estimated width of a text in twips: about 0.55 em a character is generous for the serif fonts
// of the reports, so fitted columns rarely wrap.
int estimatedWidth(const WordStory &story, const QVector<WordStory::Glyph> &glyphs, qsizetype from,
                   qsizetype to)
{
    double width = 0;
    for (qsizetype i = from; i < to; ++i)
        width += story.format(glyphs[i].format).halfPoints * 5.5;
    return int(std::ceil(width));
}

// Writes one story (the body, a header or a footer) and collects what it refers to.
class StoryWriter {
public:
    StoryWriter(const WordDocument &document, const WordStory &story, QXmlStreamWriter &xml,
                QVector<Relationship> &relationships, QSet<int> &usedPictures, int &drawingId)
        : m_document(document), m_story(story), m_xml(xml), m_relationships(relationships),
          m_usedPictures(usedPictures), m_drawingId(drawingId)
    {
    }

    void write()
    {
        const auto &paragraphs = m_story.paragraphs();
        bool afterTable = false;
        for (int i = 0; i < paragraphs.size();) {
            if (!paragraphs[i].inTable()) {
                writeParagraph(paragraphs[i]);
                afterTable = false;
                ++i;
                continue;
            }
            if (afterTable) // two tables in a row would merge into one
                empty(m_xml, QStringLiteral("w:p"));
            int last = i;
            while (last + 1 < paragraphs.size() && paragraphs[last + 1].table == paragraphs[i].table)
                ++last;
            writeTable(i, last);
            afterTable = true;
            i = last + 1;
        }
        if (afterTable) // a body, header or footer ends with a paragraph
            empty(m_xml, QStringLiteral("w:p"));
    }

private:
    QString pictureName(int index) const
    {
        return QStringLiteral("image%1.%2").arg(index + 1).arg(m_document.pictures()[index].extension());
    }

    void writeParagraph(const WordStory::Paragraph &paragraph)
    {
        start(m_xml, QStringLiteral("w:p"));
        start(m_xml, QStringLiteral("w:pPr"));
        const QString jc = alignmentValue(paragraph.alignment);
        if (!jc.isEmpty())
            empty(m_xml, QStringLiteral("w:jc"), {{QStringLiteral("w:val"), jc}});
        writeRunProperties(m_xml, m_story.format(paragraph.markFormat));
        m_xml.writeEndElement(); // w:pPr

        const auto &glyphs = paragraph.glyphs;
        for (qsizetype i = 0; i < glyphs.size();) {
            const WordStory::Glyph &g = glyphs[i];
            if (g.ch == WordStory::PictureChar) {
                writePicture(g);
                ++i;
            } else if (g.ch == WordStory::FieldChar) {
                writeField(g);
                ++i;
            } else {
                qsizetype end = i + 1;
                while (end < glyphs.size() && glyphs[end].ch != WordStory::PictureChar &&
                       glyphs[end].ch != WordStory::FieldChar &&
                       (glyphs[end].format == g.format ||
                        // never split a surrogate pair between runs
                        (QChar::isLowSurrogate(glyphs[end].ch) && QChar::isHighSurrogate(glyphs[end - 1].ch))))
                    ++end;
                writeTextRun(glyphs, i, end);
                i = end;
            }
        }
        m_xml.writeEndElement(); // w:p
    }

    void writeText(const QString &text)
    {
        if (text.isEmpty())
            return;
        start(m_xml, QStringLiteral("w:t"), {{QStringLiteral("xml:space"), QStringLiteral("preserve")}});
        m_xml.writeCharacters(text);
        m_xml.writeEndElement();
    }

    void writeTextRun(const QVector<WordStory::Glyph> &glyphs, qsizetype from, qsizetype to)
    {
        start(m_xml, QStringLiteral("w:r"));
        writeRunProperties(m_xml, m_story.format(glyphs[from].format));
        QString text;
        for (qsizetype i = from; i < to; ++i) {
            const char16_t c = glyphs[i].ch;
            if (c == WordStory::TabChar || c == WordStory::LineBreakChar || c == WordStory::PageBreakChar) {
                writeText(text);
                text.clear();
                if (c == WordStory::TabChar)
                    empty(m_xml, QStringLiteral("w:tab"));
                else if (c == WordStory::LineBreakChar)
                    empty(m_xml, QStringLiteral("w:br"));
                else
                    empty(m_xml, QStringLiteral("w:br"), {{QStringLiteral("w:type"), QStringLiteral("page")}});
            } else {
                text.append(QChar(c));
            }
        }
        writeText(text);
        m_xml.writeEndElement(); // w:r
    }

    void writeField(const WordStory::Glyph &g)
    {
        // Only the page number exists; Word and LibreOffice put the real number in on layout.
        start(m_xml, QStringLiteral("w:fldSimple"), {{QStringLiteral("w:instr"), QStringLiteral(" PAGE ")}});
        start(m_xml, QStringLiteral("w:r"));
        writeRunProperties(m_xml, m_story.format(g.format));
        writeText(QStringLiteral("1"));
        m_xml.writeEndElement(); // w:r
        m_xml.writeEndElement(); // w:fldSimple
    }

    void writePicture(const WordStory::Glyph &g)
    {
        const int index = g.object;
        const WordPicture &picture = m_document.pictures()[index];
        m_usedPictures.insert(index);
        const QString id = QStringLiteral("rId%1").arg(m_relationships.size() + 1);
        m_relationships.append({id, RelImage, QStringLiteral("media/") + pictureName(index)});
        const QString drawingId = number(++m_drawingId);
        const QString cx = number(picture.widthEmu());
        const QString cy = number(picture.heightEmu());
        const QString zero = QStringLiteral("0");

        start(m_xml, QStringLiteral("w:r"));
        writeRunProperties(m_xml, m_story.format(g.format));
        start(m_xml, QStringLiteral("w:drawing"));
        start(m_xml, QStringLiteral("wp:inline"),
              {{QStringLiteral("distT"), zero}, {QStringLiteral("distB"), zero},
               {QStringLiteral("distL"), zero}, {QStringLiteral("distR"), zero}});
        empty(m_xml, QStringLiteral("wp:extent"), {{QStringLiteral("cx"), cx}, {QStringLiteral("cy"), cy}});
        empty(m_xml, QStringLiteral("wp:effectExtent"),
              {{QStringLiteral("l"), zero}, {QStringLiteral("t"), zero}, {QStringLiteral("r"), zero},
               {QStringLiteral("b"), zero}});
        empty(m_xml, QStringLiteral("wp:docPr"),
              {{QStringLiteral("id"), drawingId}, {QStringLiteral("name"), QStringLiteral("Рисунок ") + drawingId}});
        start(m_xml, QStringLiteral("wp:cNvGraphicFramePr"));
        empty(m_xml, QStringLiteral("a:graphicFrameLocks"),
              {{QStringLiteral("xmlns:a"), NsA}, {QStringLiteral("noChangeAspect"), QStringLiteral("1")}});
        m_xml.writeEndElement(); // wp:cNvGraphicFramePr
        start(m_xml, QStringLiteral("a:graphic"), {{QStringLiteral("xmlns:a"), NsA}});
        start(m_xml, QStringLiteral("a:graphicData"), {{QStringLiteral("uri"), NsPic}});
        start(m_xml, QStringLiteral("pic:pic"), {{QStringLiteral("xmlns:pic"), NsPic}});
        start(m_xml, QStringLiteral("pic:nvPicPr"));
        empty(m_xml, QStringLiteral("pic:cNvPr"), {{QStringLiteral("id"), zero}, {QStringLiteral("name"), pictureName(index)}});
        empty(m_xml, QStringLiteral("pic:cNvPicPr"));
        m_xml.writeEndElement(); // pic:nvPicPr
        start(m_xml, QStringLiteral("pic:blipFill"));
        empty(m_xml, QStringLiteral("a:blip"), {{QStringLiteral("r:embed"), id}});
        start(m_xml, QStringLiteral("a:stretch"));
        empty(m_xml, QStringLiteral("a:fillRect"));
        m_xml.writeEndElement(); // a:stretch
        m_xml.writeEndElement(); // pic:blipFill
        start(m_xml, QStringLiteral("pic:spPr"));
        start(m_xml, QStringLiteral("a:xfrm"));
        empty(m_xml, QStringLiteral("a:off"), {{QStringLiteral("x"), zero}, {QStringLiteral("y"), zero}});
        empty(m_xml, QStringLiteral("a:ext"), {{QStringLiteral("cx"), cx}, {QStringLiteral("cy"), cy}});
        m_xml.writeEndElement(); // a:xfrm
        start(m_xml, QStringLiteral("a:prstGeom"), {{QStringLiteral("prst"), QStringLiteral("rect")}});
        empty(m_xml, QStringLiteral("a:avLst"));
        m_xml.writeEndElement(); // a:prstGeom
        m_xml.writeEndElement(); // pic:spPr
        m_xml.writeEndElement(); // pic:pic
        m_xml.writeEndElement(); // a:graphicData
        m_xml.writeEndElement(); // a:graphic
        m_xml.writeEndElement(); // wp:inline
        m_xml.writeEndElement(); // w:drawing
        m_xml.writeEndElement(); // w:r
    }

    // Column widths in twips. Fitted columns get the width of their longest paragraph, shrunk
    // towards the longest word when the table would be wider than the text.
    QVector<int> columnWidths(int table, int first, int last) const
    {
        const WordStory::Table &t = m_story.table(table);
        if (!t.autoFit)
            return QVector<int>(t.columns, std::max(1, twips(t.initialColumnWidth)));

        const int padding = 2 * CellMarginTwips + 30;
        QVector<int> natural(t.columns, padding);
        QVector<int> minimum(t.columns, padding);
        for (int i = first; i <= last; ++i) {
            const WordStory::Paragraph &p = m_story.paragraphs()[i];
            const int column = p.column;
            natural[column] = std::max(natural[column], padding + estimatedWidth(m_story, p.glyphs, 0, p.glyphs.size()));
            qsizetype wordStart = 0;
            for (qsizetype k = 0; k <= p.glyphs.size(); ++k) {
                if (k == p.glyphs.size() || p.glyphs[k].ch == u' ' || p.glyphs[k].ch == WordStory::TabChar) {
                    minimum[column] = std::max(minimum[column], padding + estimatedWidth(m_story, p.glyphs, wordStart, k));
                    wordStart = k + 1;
                }
            }
        }
        const int available = std::max(720, twips(m_document.pageSetup().textWidth()));
        qint64 naturalSum = 0;
        qint64 minimumSum = 0;
        for (int c = 0; c < t.columns; ++c) {
            minimum[c] = std::min(minimum[c], natural[c]);
            naturalSum += natural[c];
            minimumSum += minimum[c];
        }
        if (naturalSum <= available)
            return natural;
        QVector<int> widths(t.columns);
        if (minimumSum >= available) {
            for (int c = 0; c < t.columns; ++c)
                widths[c] = std::max(1, int(qint64(minimum[c]) * available / minimumSum));
            return widths;
        }
        const qint64 extra = available - minimumSum;
        const qint64 stretch = naturalSum - minimumSum;
        for (int c = 0; c < t.columns; ++c)
            widths[c] = minimum[c] + int(extra * (natural[c] - minimum[c]) / stretch);
        return widths;
    }

    void writeBorders()
    {
        start(m_xml, QStringLiteral("w:tblBorders"));
        for (const char *side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"})
            empty(m_xml, QString::fromLatin1(side),
                  {{QStringLiteral("w:val"), QStringLiteral("single")}, {QStringLiteral("w:sz"), QStringLiteral("4")},
                   {QStringLiteral("w:space"), QStringLiteral("0")}, {QStringLiteral("w:color"), QStringLiteral("auto")}});
        m_xml.writeEndElement();
    }

    void writeTable(int first, int last)
    {
        const auto &paragraphs = m_story.paragraphs();
        const int table = paragraphs[first].table;
        const QVector<int> widths = columnWidths(table, first, last);
        const bool autoFit = m_story.table(table).autoFit;

        start(m_xml, QStringLiteral("w:tbl"));
        start(m_xml, QStringLiteral("w:tblPr"));
        empty(m_xml, QStringLiteral("w:tblW"), {{QStringLiteral("w:w"), QStringLiteral("0")}, {QStringLiteral("w:type"), QStringLiteral("auto")}});
        writeBorders();
        empty(m_xml, QStringLiteral("w:tblLayout"),
              {{QStringLiteral("w:type"), autoFit ? QStringLiteral("autofit") : QStringLiteral("fixed")}});
        start(m_xml, QStringLiteral("w:tblCellMar"));
        empty(m_xml, QStringLiteral("w:left"), {{QStringLiteral("w:w"), number(CellMarginTwips)}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
        empty(m_xml, QStringLiteral("w:right"), {{QStringLiteral("w:w"), number(CellMarginTwips)}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
        m_xml.writeEndElement(); // w:tblCellMar
        m_xml.writeEndElement(); // w:tblPr
        start(m_xml, QStringLiteral("w:tblGrid"));
        for (const int w : widths)
            empty(m_xml, QStringLiteral("w:gridCol"), {{QStringLiteral("w:w"), number(w)}});
        m_xml.writeEndElement(); // w:tblGrid

        // Paragraphs of a table run row by row and cell by cell; every cell has at least one.
        for (int i = first; i <= last;) {
            const int row = paragraphs[i].row;
            start(m_xml, QStringLiteral("w:tr"));
            while (i <= last && paragraphs[i].row == row) {
                const int column = paragraphs[i].column;
                start(m_xml, QStringLiteral("w:tc"));
                start(m_xml, QStringLiteral("w:tcPr"));
                empty(m_xml, QStringLiteral("w:tcW"), {{QStringLiteral("w:w"), number(widths[column])}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
                m_xml.writeEndElement(); // w:tcPr
                while (i <= last && paragraphs[i].row == row && paragraphs[i].column == column)
                    writeParagraph(paragraphs[i++]);
                m_xml.writeEndElement(); // w:tc
            }
            m_xml.writeEndElement(); // w:tr
        }
        m_xml.writeEndElement(); // w:tbl
    }

    const WordDocument &m_document;
    const WordStory &m_story;
    QXmlStreamWriter &m_xml;
    QVector<Relationship> &m_relationships;
    QSet<int> &m_usedPictures;
    int &m_drawingId;
};

void startPart(QXmlStreamWriter &xml, const QString &root)
{
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    start(xml, root);
    xml.writeNamespace(NsW, QStringLiteral("w"));
    xml.writeNamespace(NsR, QStringLiteral("r"));
    xml.writeNamespace(NsWp, QStringLiteral("wp"));
}

QByteArray finishPart(QXmlStreamWriter &xml, QByteArray &bytes, const QString &name)
{
    xml.writeEndDocument();
    if (xml.hasError())
        throw KorvanError(QStringLiteral("Не удалось сформировать часть документа \"%1\".").arg(name));
    return bytes;
}

QByteArray stylesXml()
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    start(xml, QStringLiteral("w:styles"));
    xml.writeNamespace(NsW, QStringLiteral("w"));
    const CharacterFormat defaults;
    start(xml, QStringLiteral("w:docDefaults"));
    start(xml, QStringLiteral("w:rPrDefault"));
    start(xml, QStringLiteral("w:rPr"));
    empty(xml, QStringLiteral("w:rFonts"),
          {{QStringLiteral("w:ascii"), defaults.name}, {QStringLiteral("w:eastAsia"), defaults.name},
           {QStringLiteral("w:hAnsi"), defaults.name}, {QStringLiteral("w:cs"), defaults.name}});
    empty(xml, QStringLiteral("w:sz"), {{QStringLiteral("w:val"), number(defaults.halfPoints)}});
    empty(xml, QStringLiteral("w:szCs"), {{QStringLiteral("w:val"), number(defaults.halfPoints)}});
    empty(xml, QStringLiteral("w:lang"),
          {{QStringLiteral("w:val"), QStringLiteral("ru-RU")}, {QStringLiteral("w:eastAsia"), QStringLiteral("ru-RU")},
           {QStringLiteral("w:bidi"), QStringLiteral("ar-SA")}});
    xml.writeEndElement(); // w:rPr
    xml.writeEndElement(); // w:rPrDefault
    start(xml, QStringLiteral("w:pPrDefault"));
    start(xml, QStringLiteral("w:pPr"));
    empty(xml, QStringLiteral("w:spacing"),
          {{QStringLiteral("w:after"), QStringLiteral("0")}, {QStringLiteral("w:line"), QStringLiteral("240")},
           {QStringLiteral("w:lineRule"), QStringLiteral("auto")}});
    xml.writeEndElement(); // w:pPr
    xml.writeEndElement(); // w:pPrDefault
    xml.writeEndElement(); // w:docDefaults

    start(xml, QStringLiteral("w:style"),
          {{QStringLiteral("w:type"), QStringLiteral("paragraph")}, {QStringLiteral("w:default"), QStringLiteral("1")},
           {QStringLiteral("w:styleId"), QStringLiteral("Normal")}});
    empty(xml, QStringLiteral("w:name"), {{QStringLiteral("w:val"), QStringLiteral("Normal")}});
    empty(xml, QStringLiteral("w:qFormat"));
    xml.writeEndElement();

    start(xml, QStringLiteral("w:style"),
          {{QStringLiteral("w:type"), QStringLiteral("character")}, {QStringLiteral("w:default"), QStringLiteral("1")},
           {QStringLiteral("w:styleId"), QStringLiteral("DefaultParagraphFont")}});
    empty(xml, QStringLiteral("w:name"), {{QStringLiteral("w:val"), QStringLiteral("Default Paragraph Font")}});
    empty(xml, QStringLiteral("w:uiPriority"), {{QStringLiteral("w:val"), QStringLiteral("1")}});
    empty(xml, QStringLiteral("w:semiHidden"));
    empty(xml, QStringLiteral("w:unhideWhenUsed"));
    xml.writeEndElement();

    start(xml, QStringLiteral("w:style"),
          {{QStringLiteral("w:type"), QStringLiteral("table")}, {QStringLiteral("w:default"), QStringLiteral("1")},
           {QStringLiteral("w:styleId"), QStringLiteral("TableNormal")}});
    empty(xml, QStringLiteral("w:name"), {{QStringLiteral("w:val"), QStringLiteral("Normal Table")}});
    empty(xml, QStringLiteral("w:uiPriority"), {{QStringLiteral("w:val"), QStringLiteral("99")}});
    empty(xml, QStringLiteral("w:semiHidden"));
    empty(xml, QStringLiteral("w:unhideWhenUsed"));
    start(xml, QStringLiteral("w:tblPr"));
    empty(xml, QStringLiteral("w:tblInd"), {{QStringLiteral("w:w"), QStringLiteral("0")}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    start(xml, QStringLiteral("w:tblCellMar"));
    empty(xml, QStringLiteral("w:top"), {{QStringLiteral("w:w"), QStringLiteral("0")}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    empty(xml, QStringLiteral("w:left"), {{QStringLiteral("w:w"), number(CellMarginTwips)}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    empty(xml, QStringLiteral("w:bottom"), {{QStringLiteral("w:w"), QStringLiteral("0")}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    empty(xml, QStringLiteral("w:right"), {{QStringLiteral("w:w"), number(CellMarginTwips)}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    xml.writeEndElement(); // w:tblCellMar
    xml.writeEndElement(); // w:tblPr
    xml.writeEndElement(); // w:style
    return finishPart(xml, bytes, QStringLiteral("word/styles.xml"));
}

QByteArray settingsXml()
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    start(xml, QStringLiteral("w:settings"));
    xml.writeNamespace(NsW, QStringLiteral("w"));
    empty(xml, QStringLiteral("w:defaultTabStop"), {{QStringLiteral("w:val"), QStringLiteral("708")}}); // 1.25 cm
    empty(xml, QStringLiteral("w:characterSpacingControl"), {{QStringLiteral("w:val"), QStringLiteral("doNotCompress")}});
    start(xml, QStringLiteral("w:compat"));
    empty(xml, QStringLiteral("w:compatSetting"),
          {{QStringLiteral("w:name"), QStringLiteral("compatibilityMode")},
           {QStringLiteral("w:uri"), QStringLiteral("http://schemas.microsoft.com/office/word")},
           {QStringLiteral("w:val"), QStringLiteral("15")}});
    xml.writeEndElement(); // w:compat
    return finishPart(xml, bytes, QStringLiteral("word/settings.xml"));
}

QByteArray fontTableXml(const QStringList &fonts)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    start(xml, QStringLiteral("w:fonts"));
    xml.writeNamespace(NsW, QStringLiteral("w"));
    const QString cyr = QStringLiteral(" Cyr");
    for (const QString &font : fonts) {
        start(xml, QStringLiteral("w:font"), {{QStringLiteral("w:name"), font}});
        // The old Cyrillic names ("Times New Roman Cyr") are missing on most systems today.
        if (font.endsWith(cyr) && font.size() > cyr.size())
            empty(xml, QStringLiteral("w:altName"), {{QStringLiteral("w:val"), font.chopped(cyr.size())}});
        empty(xml, QStringLiteral("w:charset"), {{QStringLiteral("w:val"), QStringLiteral("CC")}});
        empty(xml, QStringLiteral("w:family"),
              {{QStringLiteral("w:val"), font.startsWith(QLatin1String("Times")) ? QStringLiteral("roman") : QStringLiteral("auto")}});
        empty(xml, QStringLiteral("w:pitch"), {{QStringLiteral("w:val"), QStringLiteral("variable")}});
        xml.writeEndElement();
    }
    return finishPart(xml, bytes, QStringLiteral("word/fontTable.xml"));
}

void addFontsOf(const WordStory &story, QStringList &fonts)
{
    for (const auto &p : story.paragraphs()) {
        if (!fonts.contains(story.format(p.markFormat).name))
            fonts.append(story.format(p.markFormat).name);
        for (const auto &g : p.glyphs) {
            if (!fonts.contains(story.format(g.format).name))
                fonts.append(story.format(g.format).name);
        }
    }
}

KorvanError cannotCreate(const QString &path)
{
    return KorvanError(QStringLiteral("Не удалось создать файл \"%1\". Проверьте, что папка существует и "
                                      "доступна для записи.")
                           .arg(QDir::toNativeSeparators(path)));
}

KorvanError cannotWrite(const QString &path)
{
    return KorvanError(QStringLiteral("Не удалось записать файл \"%1\". Возможно, он открыт в другой "
                                      "программе или на диске недостаточно места.")
                           .arg(QDir::toNativeSeparators(path)));
}

} // namespace

QVector<std::pair<QString, QByteArray>> DocxWriter::parts() const
{
    QSet<int> usedPictures;
    int drawingId = 0;

    // Header and footer, each with its own relationships (for pictures), only when they hold
    // something.
    struct Side {
        WdSeekView view;
        QString root;
        QString name;
        QString type;
        QString relationship;
        QByteArray xml;
        QVector<Relationship> relationships;
    };
    QVector<Side> sides = {
        {wdSeekCurrentPageHeader, QStringLiteral("w:hdr"), QStringLiteral("header1.xml"), QStringLiteral("header+xml"), RelHeader, {}, {}},
        {wdSeekCurrentPageFooter, QStringLiteral("w:ftr"), QStringLiteral("footer1.xml"), QStringLiteral("footer+xml"), RelFooter, {}, {}},
    };
    for (Side &side : sides) {
        const WordStory &story = m_document.story(side.view);
        if (story.isEmpty())
            continue;
        QXmlStreamWriter xml(&side.xml);
        startPart(xml, side.root);
        StoryWriter(m_document, story, xml, side.relationships, usedPictures, drawingId).write();
        finishPart(xml, side.xml, side.name);
    }

    QVector<Relationship> documentRelationships = {
        {QStringLiteral("rId1"), RelStyles, QStringLiteral("styles.xml")},
        {QStringLiteral("rId2"), RelSettings, QStringLiteral("settings.xml")},
        {QStringLiteral("rId3"), RelFontTable, QStringLiteral("fontTable.xml")},
    };
    QVector<std::pair<QString, QString>> references; // sectPr reference element, relationship id
    for (const Side &side : sides) {
        if (side.xml.isEmpty())
            continue;
        const QString id = QStringLiteral("rId%1").arg(documentRelationships.size() + 1);
        documentRelationships.append({id, side.relationship, side.name});
        references.append({side.view == wdSeekCurrentPageHeader ? QStringLiteral("w:headerReference")
                                                                : QStringLiteral("w:footerReference"),
                           id});
    }

    QByteArray documentXml;
    {
        QXmlStreamWriter xml(&documentXml);
        startPart(xml, QStringLiteral("w:document"));
        start(xml, QStringLiteral("w:body"));
        StoryWriter(m_document, m_document.story(wdSeekMainDocument), xml, documentRelationships, usedPictures,
                    drawingId)
            .write();

        // The section properties come last in the body.
        const WordPageSetup &page = m_document.pageSetup();
        start(xml, QStringLiteral("w:sectPr"));
        for (const auto &[element, id] : references)
            empty(xml, element, {{QStringLiteral("w:type"), QStringLiteral("default")}, {QStringLiteral("r:id"), id}});
        start(xml, QStringLiteral("w:pgSz"));
        xml.writeAttribute(QStringLiteral("w:w"), number(page.pageWidthTwips()));
        xml.writeAttribute(QStringLiteral("w:h"), number(page.pageHeightTwips()));
        if (page.orientation() == wdOrientLandscape)
            xml.writeAttribute(QStringLiteral("w:orient"), QStringLiteral("landscape"));
        xml.writeEndElement(); // w:pgSz
        empty(xml, QStringLiteral("w:pgMar"),
              {{QStringLiteral("w:top"), number(twips(page.topMargin()))},
               {QStringLiteral("w:right"), number(twips(page.rightMargin()))},
               {QStringLiteral("w:bottom"), number(twips(page.bottomMargin()))},
               {QStringLiteral("w:left"), number(twips(page.leftMargin()))},
               {QStringLiteral("w:header"), number(twips(page.headerDistance()))},
               {QStringLiteral("w:footer"), number(twips(page.footerDistance()))},
               {QStringLiteral("w:gutter"), QStringLiteral("0")}});
        empty(xml, QStringLiteral("w:cols"), {{QStringLiteral("w:space"), QStringLiteral("708")}});
        xml.writeEndElement(); // w:sectPr
        xml.writeEndElement(); // w:body
        finishPart(xml, documentXml, QStringLiteral("word/document.xml"));
    }

    QStringList fonts = {CharacterFormat().name};
    addFontsOf(m_document.story(wdSeekMainDocument), fonts);
    for (const Side &side : sides) {
        if (!side.xml.isEmpty())
            addFontsOf(m_document.story(side.view), fonts);
    }

    QList<int> pictures = usedPictures.values();
    std::sort(pictures.begin(), pictures.end());
    QStringList extensions;
    for (const int index : pictures) {
        const QString extension = m_document.pictures()[index].extension();
        if (!extensions.contains(extension))
            extensions.append(extension);
    }

    QByteArray contentTypes;
    {
        QXmlStreamWriter xml(&contentTypes);
        xml.writeStartDocument(QStringLiteral("1.0"), true);
        start(xml, QStringLiteral("Types"), {{QStringLiteral("xmlns"), NsContentTypes}});
        empty(xml, QStringLiteral("Default"),
              {{QStringLiteral("Extension"), QStringLiteral("rels")},
               {QStringLiteral("ContentType"), QStringLiteral("application/vnd.openxmlformats-package.relationships+xml")}});
        empty(xml, QStringLiteral("Default"),
              {{QStringLiteral("Extension"), QStringLiteral("xml")}, {QStringLiteral("ContentType"), QStringLiteral("application/xml")}});
        for (const QString &extension : extensions) {
            const QString type = extension == QLatin1String("png") ? QStringLiteral("image/png") : QStringLiteral("image/bmp");
            empty(xml, QStringLiteral("Default"), {{QStringLiteral("Extension"), extension}, {QStringLiteral("ContentType"), type}});
        }
        const auto addOverride = [&xml](const QString &part, const QString &type) {
            empty(xml, QStringLiteral("Override"), {{QStringLiteral("PartName"), part}, {QStringLiteral("ContentType"), type}});
        };
        addOverride(QStringLiteral("/word/document.xml"), TypeWml + QStringLiteral("document.main+xml"));
        addOverride(QStringLiteral("/word/styles.xml"), TypeWml + QStringLiteral("styles+xml"));
        addOverride(QStringLiteral("/word/settings.xml"), TypeWml + QStringLiteral("settings+xml"));
        addOverride(QStringLiteral("/word/fontTable.xml"), TypeWml + QStringLiteral("fontTable+xml"));
        for (const Side &side : sides) {
            if (!side.xml.isEmpty())
                addOverride(QStringLiteral("/word/") + side.name, TypeWml + side.type);
        }
        finishPart(xml, contentTypes, QStringLiteral("[Content_Types].xml"));
    }

    QVector<std::pair<QString, QByteArray>> result;
    result.append({QStringLiteral("[Content_Types].xml"), contentTypes});
    result.append({QStringLiteral("_rels/.rels"),
                   relationshipsXml({{QStringLiteral("rId1"), RelOfficeDocument, QStringLiteral("word/document.xml")}})});
    result.append({QStringLiteral("word/document.xml"), documentXml});
    result.append({QStringLiteral("word/_rels/document.xml.rels"), relationshipsXml(documentRelationships)});
    result.append({QStringLiteral("word/styles.xml"), stylesXml()});
    result.append({QStringLiteral("word/settings.xml"), settingsXml()});
    result.append({QStringLiteral("word/fontTable.xml"), fontTableXml(fonts)});
    for (const Side &side : sides) {
        if (side.xml.isEmpty())
            continue;
        result.append({QStringLiteral("word/") + side.name, side.xml});
        if (!side.relationships.isEmpty())
            result.append({QStringLiteral("word/_rels/") + side.name + QStringLiteral(".rels"),
                           relationshipsXml(side.relationships)});
    }
    for (const int index : pictures) {
        const WordPicture &picture = m_document.pictures()[index];
        result.append({QStringLiteral("word/media/image%1.%2").arg(index + 1).arg(picture.extension()), picture.data()});
    }
    return result;
}

QByteArray DocxWriter::package() const
{
    ZipWriter zip;
    for (const auto &[name, data] : parts())
        zip.add(name, data);
    return zip.finish();
}

void DocxWriter::save(const QString &path) const
{
    const QByteArray bytes = package();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw cannotCreate(path);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        throw cannotWrite(path);
    }
    if (!file.commit())
        throw cannotWrite(path);
}

} // namespace korvan
