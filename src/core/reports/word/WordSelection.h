#pragma once

#include "core/reports/word/WordStory.h"
#include "core/reports/WordConstants.h"

#include <QString>
#include <optional>

namespace korvan {

class WordDocument;
class WordFont;
class WordParagraphFormat;

// The selection of a document: a range of the story being edited, or an insertion point when it
// is empty, with the members of Word's Selection that the reports use. Like Word's, it is one
// object that moves between the main text, the header and the footer (WordDocument::seekView).
// Every failure raises a KorvanError.
class WordSelection {
public:
    explicit WordSelection(WordDocument &document);
    WordSelection(const WordSelection &) = delete;
    WordSelection &operator=(const WordSelection &) = delete;

    int start() const { return m_start; }
    int end() const { return m_end; }
    // The selected text, paragraph marks as "\r".
    QString text() const;
    bool isInTable() const;

    // InsertAfter: the text goes right after the selection, which grows to cover it. "\r" (also
    // "\r\n" and "\n") starts a new paragraph, "\t" is a tab, "\v" a line break, "\f" a page
    // break; other control characters are dropped.
    void insertAfter(const QString &text);
    void collapse(WdCollapseDirection direction = wdCollapseStart);

    // Font and ParagraphFormat: proxies that act on whatever is selected when they are set.
    WordFont font();
    WordParagraphFormat paragraphFormat();

    // ConvertToTable(Separator, NumColumns, InitialColumnWidth in points): the paragraphs the
    // selection touches become a table, filled row by row; afterwards the selection covers it.
    void convertToTable(WdTableFieldSeparator separator, int numColumns, double initialColumnWidth);
    // Cells.AutoFit: the columns of the selected table fit their contents.
    void autoFitCells();
    void selectColumn();
    void selectRow();
    // Rows.Delete: removes the selected rows (the whole table when none is left); the insertion
    // point goes to what follows them.
    void deleteRows();
    // MoveDown(Unit, Count, Extend); returns how many units it moved. There is no page layout, so
    // a paragraph counts as one line; in a table a line down is the cell below, and from the last
    // row the paragraph after the table.
    int moveDown(WdUnits unit = wdLine, int count = 1, WdMovementType extend = wdMove);
    // InlineShapes.AddPicture(FileName, LinkToFile = false, SaveWithDocument = true): the PNG or
    // BMP file is read now and stored in the document in place of the selection, at its pixel size
    // at 96 dpi, shrunk to fit the page; the insertion point follows the picture.
    void addPicture(const QString &fileName);
    // Fields.Add(Selection.Range, Type): the field replaces the selection; the insertion point
    // follows it.
    void addField(WdFieldType type);

    // What the Font and ParagraphFormat proxies do.
    void changeFormat(const WordStory::FormatChange &change);
    void setAlignment(WdParagraphAlignment alignment);
    void setKeepWithNext(bool keep);
    // The paragraphs with text the selection touches become headings of that level (0: body text).
    void setOutlineLevel(int level);
    // Rows.HeadingFormat of the selected rows.
    void setHeadingFormat(bool heading);

private:
    // Each paragraph the selection touches, or the paragraphs of its cells.
    void forEachParagraph(const std::function<void(int)> &visit);
    friend class WordDocument;

    // A rectangle of table cells: selected rows (or the whole table), or a column.
    struct CellBlock {
        int table;
        int firstRow;
        int lastRow;
        int firstColumn;
        int lastColumn;
        bool wholeRows;
        bool contains(const WordStory::Paragraph &p) const
        {
            return p.table == table && p.row >= firstRow && p.row <= lastRow && p.column >= firstColumn &&
                   p.column <= lastColumn;
        }
    };
    struct Rows {
        int table;
        int first;
        int last;
    };

    void seek(WordStory *story);
    void setRange(int start, int end);
    void selectBlock(const CellBlock &block);
    Rows selectedRows() const;
    int insertionFormat(int position) const;
    void insertObject(char16_t kind, int object);

    WordDocument &m_document;
    WordStory *m_story;
    WordStory *m_mainStory;
    int m_start = 0;
    int m_end = 0;
    int m_mainStart = 0; // where the selection was in the main text while it is in a header
    int m_mainEnd = 0;
    std::optional<CellBlock> m_block;
    // Format set on the insertion point, taken by what is inserted there next.
    std::optional<int> m_pendingFormat;
};

} // namespace korvan
