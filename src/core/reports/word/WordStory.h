#pragma once

#include "core/reports/word/CharacterFormat.h"
#include "core/reports/WordConstants.h"

#include <QString>
#include <QVector>
#include <functional>
#include <utility>

namespace korvan {

// One story of a document (the main text, a header or a footer) laid out as Word lays it out:
// paragraphs, each ending in a paragraph mark, some of them grouped into table cells. A position
// counts every character and every paragraph mark, so ranges behave like Word's ranges.
// A story always ends with a paragraph outside any table.
class WordStory {
public:
    // Characters that stand for something other than plain text.
    static constexpr char16_t TabChar = u'\t';
    static constexpr char16_t LineBreakChar = 0x000B;
    static constexpr char16_t PageBreakChar = 0x000C;
    static constexpr char16_t PictureChar = 0x0001; // object: index of the document's picture
    static constexpr char16_t FieldChar = 0x0013;   // object: the WdFieldType
    static constexpr char16_t ParagraphMark = u'\r';

    struct Glyph {
        char16_t ch;
        int format;
        int object = -1;
    };

    struct Paragraph {
        QVector<Glyph> glyphs;
        int markFormat = 0;
        WdParagraphAlignment alignment = wdAlignParagraphLeft;
        // Kept on the same page as the paragraph after it (headings, table titles, legends).
        bool keepWithNext = false;
        // 1 or 2 for the headings a contents list and a navigation pane show, 0 for body text.
        int outlineLevel = 0;
        // The table cell holding the paragraph; table is -1 outside tables.
        int table = -1;
        int row = -1;
        int column = -1;

        bool inTable() const { return table >= 0; }
    };

    struct Table {
        int rows = 0;
        int columns = 0;
        double initialColumnWidth = 0; // points
        bool autoFit = false;
        // The first rows are the table's header: repeated on every page the table spans.
        int headingRows = 0;
    };

    WordStory();

    // Text as the program hands it over, made fit to keep: "\r\n", "\n" and "\r" become paragraph
    // marks; tabs, line breaks (\v) and page breaks (\f) stay; every other control character and
    // anything an XML document cannot hold is dropped.
    static QString normalizedText(const QString &text);

    int length() const;
    // One empty paragraph and nothing else.
    bool isEmpty() const;

    const QVector<Paragraph> &paragraphs() const { return m_paragraphs; }
    const Table &table(int id) const { return m_tables[id]; }
    const CharacterFormat &format(int index) const { return m_formats[index]; }
    int intern(const CharacterFormat &format);

    int paragraphAt(int position) const;
    int paragraphStart(int index) const;
    // The position of the paragraph's mark.
    int paragraphEnd(int index) const;
    // The paragraphs a range touches; a range that ends right after a mark does not touch the
    // next paragraph.
    std::pair<int, int> paragraphsIn(int start, int end) const;
    // Marks read as "\r".
    QString text(int start, int end) const;

    // The format that text inserted at the position takes: that of the character before it, or of
    // the first character or the mark of the paragraph when it stands at the paragraph's start.
    int formatForInsertion(int position) const;

    // Inserts normalized text; returns the number of positions inserted.
    int insertText(int position, const QString &text, int format);
    void insertObject(int position, char16_t kind, int object, int format);
    // Removes a range that does not cut through a table.
    void remove(int start, int end);

    using FormatChange = std::function<void(CharacterFormat &)>;
    // The characters and marks of the range.
    void changeFormat(int start, int end, const FormatChange &change);
    // The whole paragraph with its mark.
    void changeParagraphFormat(int index, const FormatChange &change);
    void changeMarkFormat(int index, const FormatChange &change);
    void setAlignment(int index, WdParagraphAlignment alignment);
    void setKeepWithNext(int index, bool keep);
    void setOutlineLevel(int index, int level);
    // Rows.HeadingFormat: rows from the first one on repeat on every page; a block of rows that
    // does not start at the first row cannot be a header and changes nothing.
    void setHeadingRows(int table, int firstRow, int lastRow, bool heading);

    // Turns the paragraphs the range touches into a table: tabs separate the cells, which fill
    // the rows from left to right; every paragraph starts a new row. Returns the table's id.
    int convertToTable(int start, int end, int columns, double initialColumnWidth);
    void setAutoFit(int table);
    // Removes the rows; returns the index of the paragraph that now stands where they were, or -1
    // when there were no such rows.
    int deleteRows(int table, int firstRow, int lastRow);
    // First and last paragraph of a table or of one of its cells; -1 when there is none.
    std::pair<int, int> tableParagraphs(int table) const;
    std::pair<int, int> cellParagraphs(int table, int row, int column) const;

private:
    void invalidateFrom(int paragraph);
    void ensureStarts() const;

    QVector<Paragraph> m_paragraphs;
    QVector<Table> m_tables;
    QVector<CharacterFormat> m_formats;
    mutable QVector<int> m_starts;
    mutable int m_validStarts = 0;
};

} // namespace korvan
