#include "core/reports/word/DocxStyles.h"

#include "core/reports/word/DocxXml.h"

namespace korvan::docx {

template <typename Format>
QString DocxStyles::id(QVector<Format> &formats, const Format &format, char16_t prefix)
{
    qsizetype index = formats.indexOf(format);
    if (index < 0) {
        formats.append(format);
        index = formats.size() - 1;
    }
    return prefix + QString::number(index + 1);
}

QString DocxStyles::paragraphStyle(const ParagraphFormat &format, int level)
{
    if (level > 0) {
        const std::pair<ParagraphFormat, int> key{format, level};
        qsizetype index = m_headings.indexOf(key);
        if (index < 0) {
            m_headings.append(key);
            index = m_headings.size() - 1;
        }
        return headingId(index);
    }
    if (m_default && *m_default == format)
        return QString();
    return id(m_paragraph, format, u'P');
}

QString DocxStyles::characterStyle(const CharacterFormat &format) { return id(m_character, format, u'C'); }

QString DocxStyles::headingId(qsizetype index) const
{
    const int level = m_headings[index].second;
    for (qsizetype i = 0; i < index; ++i) {
        if (m_headings[i].second == level)
            return QStringLiteral("H%1").arg(index + 1);
    }
    return QStringLiteral("Heading%1").arg(level);
}

namespace {

// A paragraph style states its alignment and every character attribute: it must not take them
// from the default style it is based on.
void writeParagraphFormat(QXmlStreamWriter &xml, const DocxStyles::ParagraphFormat &format, int level = 0)
{
    start(xml, QStringLiteral("w:pPr"));
    if (level > 0)
        empty(xml, QStringLiteral("w:keepNext"));
    empty(xml, QStringLiteral("w:jc"),
          {{QStringLiteral("w:val"), format.second.isEmpty() ? QStringLiteral("left") : format.second}});
    if (level > 0)
        empty(xml, QStringLiteral("w:outlineLvl"), {{QStringLiteral("w:val"), number(level - 1)}});
    xml.writeEndElement(); // w:pPr
    writeRunProperties(xml, format.first, true);
}

} // namespace

QByteArray DocxStyles::xml() const
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
          {{QStringLiteral("w:ascii"), defaults.name},
           {QStringLiteral("w:eastAsia"), defaults.name},
           {QStringLiteral("w:hAnsi"), defaults.name},
           {QStringLiteral("w:cs"), defaults.name}});
    empty(xml, QStringLiteral("w:sz"), {{QStringLiteral("w:val"), number(defaults.halfPoints)}});
    empty(xml, QStringLiteral("w:szCs"), {{QStringLiteral("w:val"), number(defaults.halfPoints)}});
    empty(xml, QStringLiteral("w:lang"),
          {{QStringLiteral("w:val"), QStringLiteral("ru-RU")},
           {QStringLiteral("w:eastAsia"), QStringLiteral("ru-RU")},
           {QStringLiteral("w:bidi"), QStringLiteral("ar-SA")}});
    xml.writeEndElement(); // w:rPr
    xml.writeEndElement(); // w:rPrDefault
    start(xml, QStringLiteral("w:pPrDefault"));
    start(xml, QStringLiteral("w:pPr"));
    empty(xml, QStringLiteral("w:spacing"),
          {{QStringLiteral("w:after"), QStringLiteral("0")},
           {QStringLiteral("w:line"), QStringLiteral("240")},
           {QStringLiteral("w:lineRule"), QStringLiteral("auto")}});
    xml.writeEndElement(); // w:pPr
    xml.writeEndElement(); // w:pPrDefault
    xml.writeEndElement(); // w:docDefaults

    start(xml, QStringLiteral("w:style"),
          {{QStringLiteral("w:type"), QStringLiteral("paragraph")},
           {QStringLiteral("w:default"), QStringLiteral("1")},
           {QStringLiteral("w:styleId"), QStringLiteral("Normal")}});
    empty(xml, QStringLiteral("w:name"), {{QStringLiteral("w:val"), QStringLiteral("Normal")}});
    empty(xml, QStringLiteral("w:qFormat"));
    if (m_default)
        writeParagraphFormat(xml, *m_default);
    xml.writeEndElement();

    start(xml, QStringLiteral("w:style"),
          {{QStringLiteral("w:type"), QStringLiteral("character")},
           {QStringLiteral("w:default"), QStringLiteral("1")},
           {QStringLiteral("w:styleId"), QStringLiteral("DefaultParagraphFont")}});
    empty(xml, QStringLiteral("w:name"), {{QStringLiteral("w:val"), QStringLiteral("Default Paragraph Font")}});
    empty(xml, QStringLiteral("w:uiPriority"), {{QStringLiteral("w:val"), QStringLiteral("1")}});
    empty(xml, QStringLiteral("w:semiHidden"));
    empty(xml, QStringLiteral("w:unhideWhenUsed"));
    xml.writeEndElement();

    start(xml, QStringLiteral("w:style"),
          {{QStringLiteral("w:type"), QStringLiteral("table")},
           {QStringLiteral("w:default"), QStringLiteral("1")},
           {QStringLiteral("w:styleId"), QStringLiteral("TableNormal")}});
    empty(xml, QStringLiteral("w:name"), {{QStringLiteral("w:val"), QStringLiteral("Normal Table")}});
    empty(xml, QStringLiteral("w:uiPriority"), {{QStringLiteral("w:val"), QStringLiteral("99")}});
    empty(xml, QStringLiteral("w:semiHidden"));
    empty(xml, QStringLiteral("w:unhideWhenUsed"));
    start(xml, QStringLiteral("w:tblPr"));
    empty(xml, QStringLiteral("w:tblInd"),
          {{QStringLiteral("w:w"), QStringLiteral("0")}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    start(xml, QStringLiteral("w:tblCellMar"));
    empty(xml, QStringLiteral("w:top"),
          {{QStringLiteral("w:w"), QStringLiteral("0")}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    empty(xml, QStringLiteral("w:left"),
          {{QStringLiteral("w:w"), number(CellMarginTwips)}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    empty(xml, QStringLiteral("w:bottom"),
          {{QStringLiteral("w:w"), QStringLiteral("0")}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    empty(xml, QStringLiteral("w:right"),
          {{QStringLiteral("w:w"), number(CellMarginTwips)}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    xml.writeEndElement(); // w:tblCellMar
    xml.writeEndElement(); // w:tblPr
    xml.writeEndElement(); // w:style

    for (qsizetype i = 0; i < m_paragraph.size(); ++i) {
        const QString id = QStringLiteral("P%1").arg(i + 1);
        start(xml, QStringLiteral("w:style"),
              {{QStringLiteral("w:type"), QStringLiteral("paragraph")},
               {QStringLiteral("w:customStyle"), QStringLiteral("1")},
               {QStringLiteral("w:styleId"), id}});
        empty(xml, QStringLiteral("w:name"), {{QStringLiteral("w:val"), QStringLiteral("Отчет %1").arg(i + 1)}});
        empty(xml, QStringLiteral("w:basedOn"), {{QStringLiteral("w:val"), QStringLiteral("Normal")}});
        empty(xml, QStringLiteral("w:qFormat"));
        writeParagraphFormat(xml, m_paragraph[i]);
        xml.writeEndElement(); // w:style
    }
    for (qsizetype i = 0; i < m_headings.size(); ++i) {
        const QString id = headingId(i);
        const int level = m_headings[i].second;
        start(xml, QStringLiteral("w:style"),
              {{QStringLiteral("w:type"), QStringLiteral("paragraph")}, {QStringLiteral("w:styleId"), id}});
        // The built-in name: Word and LibreOffice show it as «Заголовок N» in a Russian interface.
        empty(xml, QStringLiteral("w:name"),
              {{QStringLiteral("w:val"), id.startsWith(QLatin1String("Heading"))
                                             ? QStringLiteral("heading %1").arg(level)
                                             : QStringLiteral("Заголовок отчета %1").arg(i + 1)}});
        empty(xml, QStringLiteral("w:basedOn"), {{QStringLiteral("w:val"), QStringLiteral("Normal")}});
        empty(xml, QStringLiteral("w:next"), {{QStringLiteral("w:val"), QStringLiteral("Normal")}});
        empty(xml, QStringLiteral("w:qFormat"));
        writeParagraphFormat(xml, m_headings[i].first, level);
        xml.writeEndElement(); // w:style
    }
    // The entries of a contents list.
    for (int level = 1; level <= 2; ++level) {
        start(xml, QStringLiteral("w:style"),
              {{QStringLiteral("w:type"), QStringLiteral("paragraph")},
               {QStringLiteral("w:styleId"), QStringLiteral("TOC%1").arg(level)}});
        empty(xml, QStringLiteral("w:name"), {{QStringLiteral("w:val"), QStringLiteral("toc %1").arg(level)}});
        empty(xml, QStringLiteral("w:basedOn"), {{QStringLiteral("w:val"), QStringLiteral("Normal")}});
        empty(xml, QStringLiteral("w:next"), {{QStringLiteral("w:val"), QStringLiteral("Normal")}});
        empty(xml, QStringLiteral("w:uiPriority"), {{QStringLiteral("w:val"), QStringLiteral("39")}});
        // Stated in full: the default paragraph of a large report is a small centred table cell.
        start(xml, QStringLiteral("w:pPr"));
        empty(xml, QStringLiteral("w:ind"), {{QStringLiteral("w:left"), number((level - 1) * 284)}});
        empty(xml, QStringLiteral("w:jc"), {{QStringLiteral("w:val"), QStringLiteral("left")}});
        xml.writeEndElement(); // w:pPr
        writeRunProperties(xml, CharacterFormat(), true);
        xml.writeEndElement(); // w:style
    }
    for (qsizetype i = 0; i < m_character.size(); ++i) {
        start(xml, QStringLiteral("w:style"),
              {{QStringLiteral("w:type"), QStringLiteral("character")},
               {QStringLiteral("w:customStyle"), QStringLiteral("1")},
               {QStringLiteral("w:styleId"), QStringLiteral("C%1").arg(i + 1)}});
        empty(xml, QStringLiteral("w:name"), {{QStringLiteral("w:val"), QStringLiteral("Знаки отчета %1").arg(i + 1)}});
        empty(xml, QStringLiteral("w:qFormat"));
        // A character style states every attribute: it must undo a bold paragraph style.
        writeRunProperties(xml, m_character[i], true);
        xml.writeEndElement(); // w:style
    }
    return finishPart(xml, bytes, QStringLiteral("word/styles.xml"));
}

} // namespace korvan::docx
