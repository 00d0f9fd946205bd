#include "reports/DocxParts.h"

#include "reports/CharacterFormat.h"

namespace korvan::docx {

QByteArray relationshipsXml(const QVector<Relationship> &relationships)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    start(xml, QStringLiteral("Relationships"), {{QStringLiteral("xmlns"), NsPackageRels}});
    for (const Relationship &r : relationships)
        empty(xml, QStringLiteral("Relationship"),
              {{QStringLiteral("Id"), r.id},
               {QStringLiteral("Type"), r.type},
               {QStringLiteral("Target"), r.target}});
    xml.writeEndDocument();
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
    xml.writeEndElement();

    start(xml, QStringLiteral("w:style"),
          {{QStringLiteral("w:type"), QStringLiteral("character")},
           {QStringLiteral("w:default"), QStringLiteral("1")},
           {QStringLiteral("w:styleId"), QStringLiteral("DefaultParagraphFont")}});
    empty(xml, QStringLiteral("w:name"),
          {{QStringLiteral("w:val"), QStringLiteral("Default Paragraph Font")}});
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
          {{QStringLiteral("w:w"), number(CellMarginTwips)},
           {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    empty(xml, QStringLiteral("w:bottom"),
          {{QStringLiteral("w:w"), QStringLiteral("0")}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    empty(xml, QStringLiteral("w:right"),
          {{QStringLiteral("w:w"), number(CellMarginTwips)},
           {QStringLiteral("w:type"), QStringLiteral("dxa")}});
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
    empty(xml, QStringLiteral("w:defaultTabStop"),
          {{QStringLiteral("w:val"), QStringLiteral("708")}}); // 1.25 cm
    empty(xml, QStringLiteral("w:characterSpacingControl"),
          {{QStringLiteral("w:val"), QStringLiteral("doNotCompress")}});
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
              {{QStringLiteral("w:val"),
                font.startsWith(QLatin1String("Times")) ? QStringLiteral("roman") : QStringLiteral("auto")}});
        empty(xml, QStringLiteral("w:pitch"), {{QStringLiteral("w:val"), QStringLiteral("variable")}});
        xml.writeEndElement();
    }
    return finishPart(xml, bytes, QStringLiteral("word/fontTable.xml"));
}

QByteArray contentTypesXml(const QStringList &pictureExtensions,
                           const QVector<std::pair<QString, QString>> &overrides)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    start(xml, QStringLiteral("Types"), {{QStringLiteral("xmlns"), NsContentTypes}});
    empty(xml, QStringLiteral("Default"),
          {{QStringLiteral("Extension"), QStringLiteral("rels")},
           {QStringLiteral("ContentType"),
            QStringLiteral("application/vnd.openxmlformats-package.relationships+xml")}});
    empty(xml, QStringLiteral("Default"),
          {{QStringLiteral("Extension"), QStringLiteral("xml")},
           {QStringLiteral("ContentType"), QStringLiteral("application/xml")}});
    for (const QString &extension : pictureExtensions) {
        const QString type =
            extension == QLatin1String("png") ? QStringLiteral("image/png") : QStringLiteral("image/bmp");
        empty(xml, QStringLiteral("Default"),
              {{QStringLiteral("Extension"), extension}, {QStringLiteral("ContentType"), type}});
    }
    for (const auto &[part, type] : overrides)
        empty(xml, QStringLiteral("Override"),
              {{QStringLiteral("PartName"), part}, {QStringLiteral("ContentType"), type}});
    return finishPart(xml, bytes, QStringLiteral("[Content_Types].xml"));
}

} // namespace korvan::docx
