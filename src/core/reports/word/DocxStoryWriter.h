#pragma once

#include "core/reports/word/DocxStyles.h"
#include "core/reports/word/DocxXml.h"
#include "core/reports/word/TableLayout.h"
#include "core/reports/word/WordStory.h"

#include <QSet>
#include <QVector>
#include <functional>

namespace korvan {

class WordDocument;
class WordPageSetup;

// Writes one story of a document (the body, a header or a footer) as WordprocessingML block
// content, and collects what it refers to: the relationships of its pictures, the pictures used
// and the styles. Drawing ids run on across the stories of a document, which must not repeat them.
//
// Tables are laid out for the page here (TableLayout); a table that fits only a landscape page is
// given a landscape section of its own, with its title and its legend, when the story can have
// sections (the body: sectionWriter writes a section's properties, portrait or landscape).
class DocxStoryWriter {
public:
    using SectionWriter = std::function<void(QXmlStreamWriter &xml, bool landscape)>;

    struct Output {
        QXmlStreamWriter &xml;
        docx::DocxStyles &styles;
        QVector<docx::Relationship> &relationships;
        QSet<int> &usedPictures;
        int &drawingId;
    };

    DocxStoryWriter(const WordDocument &document, const WordStory &story, const WordPageSetup &page,
                    SectionWriter sectionWriter = {});

    const TableLayout &layout(int table) const { return m_layouts[table]; }
    // The format most paragraphs have as written (table cells at their table's size); none for
    // an empty story.
    std::optional<docx::DocxStyles::ParagraphFormat> commonestFormat() const;

    void write(const Output &output);
    // The story ends in a landscape section: the body's last section properties are landscape.
    bool endsLandscape() const { return m_endsLandscape; }
    // The story holds a contents list.
    bool hasContents() const { return m_hasContents; }

private:
    struct TableSpan {
        int first;
        int last;
    };

    QString pictureName(int index) const;
    void writeParagraph(const WordStory::Paragraph &paragraph, bool keepWithNext, int halfPoints);
    void writeText(const QString &text);
    void writeRun(const CharacterFormat &format, const CharacterFormat &paragraphFormat);
    void writeTextRun(const QVector<WordStory::Glyph> &glyphs, qsizetype from, qsizetype to,
                      const CharacterFormat &paragraphFormat, int halfPoints);
    void writeField(const WordStory::Glyph &glyph, const CharacterFormat &paragraphFormat);
    // A contents list field over the story's headings of levels 1 and 2.
    void writeContents(const WordStory::Glyph &glyph, const CharacterFormat &paragraphFormat);
    void writePicture(const WordStory::Glyph &glyph, const CharacterFormat &paragraphFormat);
    void writeTable(const TableSpan &span, bool keepLastRow);
    // The table is followed by its legend: a blank paragraph, then "где" and the lines kept with it.
    bool legendFollows(int lastOfTable) const;
    // The first and the last paragraph of a table's landscape section: its title before it, its
    // legend after it.
    TableSpan landscapeSection(const TableSpan &table) const;
    // The landscape sections in story order, each with the blank paragraphs around it that
    // would otherwise be left on a page of their own.
    QVector<TableSpan> landscapeSections() const;
    // Opens the properties of a paragraph one point high (left open for a section's properties).
    static void writeHairlineProperties(QXmlStreamWriter &xml);
    void writeSectionBreak(bool landscape);
    CharacterFormat resized(int format, int halfPoints) const;

    const WordDocument &m_document;
    const WordStory &m_story;
    SectionWriter m_sectionWriter;
    QVector<TableSpan> m_spans;     // by table id; first -1 for a table without paragraphs
    QVector<TableLayout> m_layouts; // by table id
    const Output *m_out = nullptr;
    bool m_endsLandscape = false;
    bool m_hasContents = false;
};

} // namespace korvan
