#include "core/reports/word/DocxParts.h"

namespace korvan::docx {

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

QByteArray settingsXml(bool updateFields)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    start(xml, QStringLiteral("w:settings"));
    xml.writeNamespace(NsW, QStringLiteral("w"));
    empty(xml, QStringLiteral("w:defaultTabStop"), {{QStringLiteral("w:val"), QStringLiteral("708")}}); // 1.25 cm
    empty(xml, QStringLiteral("w:characterSpacingControl"),
          {{QStringLiteral("w:val"), QStringLiteral("doNotCompress")}});
    // A contents list is written without page numbers: Word fills them in on opening.
    if (updateFields)
        empty(xml, QStringLiteral("w:updateFields"), {{QStringLiteral("w:val"), QStringLiteral("true")}});
    start(xml, QStringLiteral("w:compat"));
    empty(xml, QStringLiteral("w:compatSetting"),
          {{QStringLiteral("w:name"), QStringLiteral("compatibilityMode")},
           {QStringLiteral("w:uri"), QStringLiteral("http://schemas.microsoft.com/office/word")},
           {QStringLiteral("w:val"), QStringLiteral("15")}});
    xml.writeEndElement(); // w:compat
    return finishPart(xml, bytes, QStringLiteral("word/settings.xml"));
}

QByteArray corePropertiesXml(const DocumentProperties &properties)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    start(xml, QStringLiteral("cp:coreProperties"));
    xml.writeNamespace(QStringLiteral("http://schemas.openxmlformats.org/package/2006/metadata/core-properties"),
                       QStringLiteral("cp"));
    xml.writeNamespace(QStringLiteral("http://purl.org/dc/elements/1.1/"), QStringLiteral("dc"));
    xml.writeNamespace(QStringLiteral("http://purl.org/dc/terms/"), QStringLiteral("dcterms"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"), QStringLiteral("xsi"));
    if (!properties.title.isEmpty())
        xml.writeTextElement(QStringLiteral("dc:title"), properties.title);
    if (!properties.author.isEmpty())
        xml.writeTextElement(QStringLiteral("dc:creator"), properties.author);
    if (properties.created.isValid()) {
        start(xml, QStringLiteral("dcterms:created"), {{QStringLiteral("xsi:type"), QStringLiteral("dcterms:W3CDTF")}});
        xml.writeCharacters(properties.created.toUTC().toString(Qt::ISODate));
        xml.writeEndElement();
    }
    return finishPart(xml, bytes, QStringLiteral("docProps/core.xml"));
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

QByteArray contentTypesXml(const QStringList &pictureExtensions, const QVector<std::pair<QString, QString>> &overrides)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    start(xml, QStringLiteral("Types"), {{QStringLiteral("xmlns"), NsContentTypes}});
    empty(
        xml, QStringLiteral("Default"),
        {{QStringLiteral("Extension"), QStringLiteral("rels")},
         {QStringLiteral("ContentType"), QStringLiteral("application/vnd.openxmlformats-package.relationships+xml")}});
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
