#include "core/reports/word/WordSelection.h"

#include "core/Messages.h"
#include "core/reports/word/WordDocument.h"
#include "core/reports/word/WordFont.h"
#include "core/reports/word/WordParagraphFormat.h"

#include <QFileInfo>
#include <algorithm>

namespace korvan {

namespace {

KorvanError notInTable() { return KorvanError(QStringLiteral("Выделение находится вне таблицы.")); }

} // namespace

WordSelection::WordSelection(WordDocument &document)
    : m_document(document), m_story(&document.story(wdSeekMainDocument)), m_mainStory(m_story)
{
}

QString WordSelection::text() const { return m_story->text(m_start, m_end); }

bool WordSelection::isInTable() const { return m_story->paragraphs()[m_story->paragraphAt(m_start)].inTable(); }

void WordSelection::setRange(int start, int end)
{
    const int length = m_story->length();
    end = std::clamp(end, 0, length);
    start = std::clamp(start, 0, end);
    if (start == end) // an insertion point cannot stand after the last mark
        start = end = std::min(end, length - 1);
    if (start != m_start || end != m_end)
        m_pendingFormat.reset();
    m_start = start;
    m_end = end;
    m_block.reset();
}

void WordSelection::seek(WordStory *story)
{
    if (story == m_story)
        return;
    if (m_story == m_mainStory) {
        m_mainStart = m_start;
        m_mainEnd = m_end;
    }
    m_story = story;
    m_pendingFormat.reset();
    m_block.reset();
    if (story == m_mainStory) {
        m_start = m_mainStart;
        m_end = m_mainEnd;
    } else {
        m_start = m_end = 0;
    }
}

int WordSelection::insertionFormat(int position) const
{
    if (m_pendingFormat && m_start == m_end)
        return *m_pendingFormat;
    return m_story->formatForInsertion(position);
}

void WordSelection::insertAfter(const QString &text)
{
    const QString normalized = WordStory::normalizedText(text);
    if (normalized.isEmpty())
        return;
    const int position = std::min(m_end, m_story->length() - 1);
    const int count = m_story->insertText(position, normalized, insertionFormat(position));
    const int start = std::min(m_start, position);
    setRange(start, position + count);
    m_pendingFormat.reset();
}

void WordSelection::collapse(WdCollapseDirection direction)
{
    if (direction == wdCollapseStart)
        setRange(m_start, m_start);
    else
        setRange(m_end, m_end);
}

WordFont WordSelection::font() { return WordFont(*this); }

WordParagraphFormat WordSelection::paragraphFormat() { return WordParagraphFormat(*this); }

void WordSelection::changeFormat(const WordStory::FormatChange &change)
{
    if (m_block) {
        for (int i = 0; i < m_story->paragraphs().size(); ++i) {
            if (m_block->contains(m_story->paragraphs()[i]))
                m_story->changeParagraphFormat(i, change);
        }
        return;
    }
    if (m_start < m_end) {
        m_story->changeFormat(m_start, m_end, change);
        return;
    }
    // An insertion point keeps the format for the next insertion; in an empty paragraph the
    // mark takes it too, as it does in Word, so the empty line gets the height of that font.
    CharacterFormat format = m_story->format(insertionFormat(m_start));
    change(format);
    m_pendingFormat = m_story->intern(format);
    const int paragraph = m_story->paragraphAt(m_start);
    if (m_story->paragraphs()[paragraph].glyphs.isEmpty())
        m_story->changeMarkFormat(paragraph, change);
}

void WordSelection::forEachParagraph(const std::function<void(int)> &visit)
{
    if (m_block) {
        for (int i = 0; i < m_story->paragraphs().size(); ++i) {
            if (m_block->contains(m_story->paragraphs()[i]))
                visit(i);
        }
        return;
    }
    const auto [first, last] = m_story->paragraphsIn(m_start, m_end);
    for (int i = first; i <= last; ++i)
        visit(i);
}

void WordSelection::setAlignment(WdParagraphAlignment alignment)
{
    forEachParagraph([&](int i) { m_story->setAlignment(i, alignment); });
}

void WordSelection::setKeepWithNext(bool keep)
{
    forEachParagraph([&](int i) { m_story->setKeepWithNext(i, keep); });
}

void WordSelection::setOutlineLevel(int level)
{
    // The blank lines a heading ends with are no headings of their own.
    forEachParagraph([&](int i) {
        if (!m_story->paragraphs()[i].glyphs.isEmpty())
            m_story->setOutlineLevel(i, level);
    });
}

void WordSelection::setHeadingFormat(bool heading)
{
    const Rows rows = selectedRows();
    m_story->setHeadingRows(rows.table, rows.first, rows.last, heading);
}

void WordSelection::selectBlock(const CellBlock &block)
{
    const auto first = m_story->cellParagraphs(block.table, block.firstRow, block.firstColumn).first;
    const auto last = m_story->cellParagraphs(block.table, block.lastRow, block.lastColumn).second;
    // Whole rows end after the last mark, as a contiguous range; a column ends inside its last
    // cell, so collapsing it to the end leaves the insertion point in the last row.
    const int end = m_story->paragraphEnd(last) + (block.wholeRows ? 1 : 0);
    setRange(m_story->paragraphStart(first), end);
    m_block = block;
}

void WordSelection::convertToTable(WdTableFieldSeparator separator, int numColumns, double initialColumnWidth)
{
    if (separator != wdSeparateByTabs)
        throw KorvanError(QStringLiteral("Неизвестный разделитель ячеек таблицы."));
    const int table = m_story->convertToTable(m_start, m_end, numColumns, initialColumnWidth);
    const WordStory::Table &t = m_story->table(table);
    selectBlock(CellBlock{table, 0, t.rows - 1, 0, t.columns - 1, true});
}

void WordSelection::autoFitCells()
{
    if (m_block) {
        m_story->setAutoFit(m_block->table);
        return;
    }
    const auto [first, last] = m_story->paragraphsIn(m_start, m_end);
    bool found = false;
    for (int i = first; i <= last; ++i) {
        const int table = m_story->paragraphs()[i].table;
        if (table >= 0) {
            m_story->setAutoFit(table);
            found = true;
        }
    }
    if (!found)
        throw notInTable();
}

WordSelection::Rows WordSelection::selectedRows() const
{
    if (m_block)
        return Rows{m_block->table, m_block->firstRow, m_block->lastRow};
    const auto [first, last] = m_story->paragraphsIn(m_start, m_end);
    const WordStory::Paragraph &top = m_story->paragraphs()[first];
    if (!top.inTable())
        throw notInTable();
    const WordStory::Paragraph &bottom = m_story->paragraphs()[last];
    const int lastRow = bottom.table == top.table ? bottom.row : m_story->table(top.table).rows - 1;
    return Rows{top.table, top.row, lastRow};
}

void WordSelection::selectColumn()
{
    int table = -1;
    int column = -1;
    if (m_block) {
        table = m_block->table;
        column = m_block->firstColumn;
    } else {
        const WordStory::Paragraph &p = m_story->paragraphs()[m_story->paragraphAt(m_start)];
        if (!p.inTable())
            throw notInTable();
        table = p.table;
        column = p.column;
    }
    selectBlock(CellBlock{table, 0, m_story->table(table).rows - 1, column, column, false});
}

void WordSelection::selectRow()
{
    const Rows rows = selectedRows();
    selectBlock(CellBlock{rows.table, rows.first, rows.last, 0, m_story->table(rows.table).columns - 1, true});
}

void WordSelection::deleteRows()
{
    const Rows rows = selectedRows();
    const int next = m_story->deleteRows(rows.table, rows.first, rows.last);
    if (next < 0)
        return;
    const int position = m_story->paragraphStart(next);
    setRange(position, position);
}

int WordSelection::moveDown(WdUnits unit, int count, WdMovementType extend)
{
    if (unit != wdLine && unit != wdParagraph)
        throw KorvanError(QStringLiteral("Неизвестная единица перемещения: %1.").arg(int(unit)));
    const QVector<WordStory::Paragraph> &paragraphs = m_story->paragraphs();
    const int lastParagraph = int(paragraphs.size()) - 1;
    int position = m_end;
    int moved = 0;
    for (int step = 0; step < count; ++step) {
        const int index = m_story->paragraphAt(position);
        const WordStory::Paragraph &p = paragraphs[index];
        int target = -1;
        const bool nextInSameCell = index < lastParagraph && p.inTable() && paragraphs[index + 1].table == p.table &&
                                    paragraphs[index + 1].row == p.row && paragraphs[index + 1].column == p.column;
        if (unit == wdLine && p.inTable() && !nextInSameCell) {
            if (p.row + 1 < m_story->table(p.table).rows) {
                target = m_story->cellParagraphs(p.table, p.row + 1, p.column).first;
            } else {
                target = m_story->tableParagraphs(p.table).second + 1;
            }
        } else if (index < lastParagraph) {
            target = index + 1;
        }
        if (target < 0) {
            // Nothing below: like Word, go to the end of the last line.
            position = m_story->paragraphEnd(lastParagraph);
            break;
        }
        position = m_story->paragraphStart(target);
        ++moved;
    }
    if (extend == wdExtend)
        setRange(m_start, std::max(m_start, position));
    else
        setRange(position, position);
    return moved;
}

void WordSelection::insertObject(char16_t kind, int object)
{
    const int format = insertionFormat(m_start);
    m_story->insertObject(m_start, kind, object, format);
    setRange(m_start + 1, m_start + 1);
}

void WordSelection::addPicture(const QString &fileName)
{
    WordPicture picture = WordPicture::fromFile(QFileInfo(fileName).absoluteFilePath());
    m_story->remove(m_start, m_end);
    setRange(m_start, m_start);
    insertObject(WordStory::PictureChar, m_document.addPicture(std::move(picture)));
}

void WordSelection::addField(WdFieldType type)
{
    if (type != wdFieldPage && type != wdFieldTOC)
        throw KorvanError(QStringLiteral("Неизвестный тип поля: %1.").arg(int(type)));
    m_story->remove(m_start, m_end);
    setRange(m_start, m_start);
    insertObject(WordStory::FieldChar, int(type));
}

} // namespace korvan
