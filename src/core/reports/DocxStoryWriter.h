#pragma once

#include "reports/DocxXml.h"
#include "reports/WordStory.h"

#include <QSet>
#include <QVector>

namespace korvan {

class WordDocument;

// Writes one story of a document (the body, a header or a footer) as WordprocessingML block
// content, and collects what it refers to: the relationships of its pictures and the pictures
// used. Drawing ids run on across the stories of a document, which must not repeat them.
class DocxStoryWriter {
public:
    DocxStoryWriter(const WordDocument &document, const WordStory &story, QXmlStreamWriter &xml,
                    QVector<docx::Relationship> &relationships, QSet<int> &usedPictures, int &drawingId);

    void write();

    // rPr in the order the schema fixes, which Word insists on.
    static void writeRunProperties(QXmlStreamWriter &xml, const CharacterFormat &format);

private:
    QString pictureName(int index) const;
    void writeParagraph(const WordStory::Paragraph &paragraph);
    void writeText(const QString &text);
    void writeTextRun(const QVector<WordStory::Glyph> &glyphs, qsizetype from, qsizetype to);
    void writeField(const WordStory::Glyph &glyph);
    void writePicture(const WordStory::Glyph &glyph);
    QVector<int> columnWidths(int table, int first, int last) const;
    void writeBorders();
    void writeTable(int first, int last);

    const WordDocument &m_document;
    const WordStory &m_story;
    QXmlStreamWriter &m_xml;
    QVector<docx::Relationship> &m_relationships;
    QSet<int> &m_usedPictures;
    int &m_drawingId;
};

} // namespace korvan
