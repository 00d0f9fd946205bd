#include "core/reports/word/DocxWriter.h"

#include "core/Messages.h"
#include "core/OutputFile.h"
#include "core/reports/word/DocxParts.h"
#include "core/reports/word/DocxStoryWriter.h"
#include "core/reports/word/DocxStyles.h"
#include "core/reports/word/WordDocument.h"
#include "core/reports/word/ZipWriter.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <optional>

namespace korvan {

using namespace docx;

namespace {

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

} // namespace

QVector<std::pair<QString, QByteArray>> DocxWriter::parts() const
{
    QSet<int> usedPictures;
    int drawingId = 0;
    DocxStyles styles;
    QVector<std::pair<QString, QString>> references; // sectPr reference element, relationship id
    WordPageSetup page = m_document.pageSetup();

    // The section properties: the page, and the header and footer, which every section repeats.
    const auto writeSection = [&page, &references](QXmlStreamWriter &xml, bool landscape) {
        WordPageSetup p = page;
        if (landscape)
            p.setOrientation(wdOrientLandscape);
        start(xml, QStringLiteral("w:sectPr"));
        for (const auto &[element, id] : references)
            empty(xml, element, {{QStringLiteral("w:type"), QStringLiteral("default")}, {QStringLiteral("r:id"), id}});
        start(xml, QStringLiteral("w:pgSz"));
        xml.writeAttribute(QStringLiteral("w:w"), number(p.pageWidthTwips()));
        xml.writeAttribute(QStringLiteral("w:h"), number(p.pageHeightTwips()));
        if (p.orientation() == wdOrientLandscape)
            xml.writeAttribute(QStringLiteral("w:orient"), QStringLiteral("landscape"));
        xml.writeEndElement(); // w:pgSz
        empty(xml, QStringLiteral("w:pgMar"),
              {{QStringLiteral("w:top"), number(twips(p.topMargin()))},
               {QStringLiteral("w:right"), number(twips(p.rightMargin()))},
               {QStringLiteral("w:bottom"), number(twips(p.bottomMargin()))},
               {QStringLiteral("w:left"), number(twips(p.leftMargin()))},
               {QStringLiteral("w:header"), number(twips(p.headerDistance()))},
               {QStringLiteral("w:footer"), number(twips(p.footerDistance()))},
               {QStringLiteral("w:gutter"), QStringLiteral("0")}});
        empty(xml, QStringLiteral("w:cols"), {{QStringLiteral("w:space"), QStringLiteral("708")}});
        xml.writeEndElement(); // w:sectPr
    };

    const WordStory &mainStory = m_document.story(wdSeekMainDocument);
    std::optional<DocxStoryWriter> body;
    body.emplace(m_document, mainStory, page, writeSection);
    // The commonest paragraph format of the body goes without naming a style.
    if (const auto commonest = body->commonestFormat())
        styles.setDefault(*commonest);

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
        {wdSeekCurrentPageHeader,
         QStringLiteral("w:hdr"),
         QStringLiteral("header1.xml"),
         QStringLiteral("header+xml"),
         RelHeader,
         {},
         {}},
        {wdSeekCurrentPageFooter,
         QStringLiteral("w:ftr"),
         QStringLiteral("footer1.xml"),
         QStringLiteral("footer+xml"),
         RelFooter,
         {},
         {}},
    };
    for (Side &side : sides) {
        const WordStory &story = m_document.story(side.view);
        if (story.isEmpty())
            continue;
        QXmlStreamWriter xml(&side.xml);
        startPart(xml, side.root);
        DocxStoryWriter(m_document, story, page).write({xml, styles, side.relationships, usedPictures, drawingId});
        finishPart(xml, side.xml, side.name);
    }

    QVector<Relationship> documentRelationships = {
        {QStringLiteral("rId1"), RelStyles, QStringLiteral("styles.xml")},
        {QStringLiteral("rId2"), RelSettings, QStringLiteral("settings.xml")},
        {QStringLiteral("rId3"), RelFontTable, QStringLiteral("fontTable.xml")},
    };
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
        // The body's XML runs to some six bytes a character of its story: room for it at once
        // spares the buffer growing and being copied over and over.
        documentXml.reserve(qsizetype(mainStory.length()) * 6 + 65536);
        QXmlStreamWriter xml(&documentXml);
        startPart(xml, QStringLiteral("w:document"));
        start(xml, QStringLiteral("w:body"));
        body->write({xml, styles, documentRelationships, usedPictures, drawingId});
        // The last section's properties come last in the body.
        writeSection(xml, body->endsLandscape());
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

    QVector<std::pair<QString, QString>> overrides = {
        {QStringLiteral("/word/document.xml"), TypeWml + QStringLiteral("document.main+xml")},
        {QStringLiteral("/word/styles.xml"), TypeWml + QStringLiteral("styles+xml")},
        {QStringLiteral("/word/settings.xml"), TypeWml + QStringLiteral("settings+xml")},
        {QStringLiteral("/word/fontTable.xml"), TypeWml + QStringLiteral("fontTable+xml")},
        {QStringLiteral("/docProps/core.xml"),
         QStringLiteral("application/vnd.openxmlformats-package.core-properties+xml")},
    };
    for (const Side &side : sides) {
        if (!side.xml.isEmpty())
            overrides.append({QStringLiteral("/word/") + side.name, TypeWml + side.type});
    }

    QVector<std::pair<QString, QByteArray>> result;
    result.append({QStringLiteral("[Content_Types].xml"), contentTypesXml(extensions, overrides)});
    result.append(
        {QStringLiteral("_rels/.rels"),
         relationshipsXml({{QStringLiteral("rId1"), RelOfficeDocument, QStringLiteral("word/document.xml")},
                           {QStringLiteral("rId2"), RelCoreProperties, QStringLiteral("docProps/core.xml")}})});
    result.append({QStringLiteral("docProps/core.xml"), corePropertiesXml(m_document.properties())});
    result.append({QStringLiteral("word/document.xml"), documentXml});
    result.append({QStringLiteral("word/_rels/document.xml.rels"), relationshipsXml(documentRelationships)});
    result.append({QStringLiteral("word/styles.xml"), styles.xml()});
    result.append({QStringLiteral("word/settings.xml"), settingsXml(body->hasContents())});
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
        result.append(
            {QStringLiteral("word/media/image%1.%2").arg(index + 1).arg(picture.extension()), picture.data()});
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

void DocxWriter::save(const QString &path) const { writeOutputFile(path, package()); }

} // namespace korvan
