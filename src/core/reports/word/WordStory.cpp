#include "core/reports/word/WordStory.h"

#include "core/Messages.h"

#include <QVarLengthArray>
#include <algorithm>

namespace korvan {

WordStory::WordStory()
{
    m_formats.append(CharacterFormat());
    m_paragraphs.append(Paragraph());
}

QString WordStory::normalizedText(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            result.append(QChar(ParagraphMark));
        } else if (c == u'\n') {
            result.append(QChar(ParagraphMark));
        } else if (c == TabChar || c == LineBreakChar || c == PageBreakChar) {
            result.append(QChar(c));
        } else if (c < 0x20 || c == 0xFFFE || c == 0xFFFF) {
            continue;
        } else if (QChar::isHighSurrogate(c)) {
            if (i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                result.append(text.at(i));
                result.append(text.at(i + 1));
                ++i;
            }
        } else if (QChar::isLowSurrogate(c)) {
            continue; // one without its high half
        } else {
            result.append(QChar(c));
        }
    }
    return result;
}

int WordStory::length() const
{
    ensureStarts();
    return m_starts.last() + int(m_paragraphs.last().glyphs.size()) + 1;
}

bool WordStory::isEmpty() const { return m_paragraphs.size() == 1 && m_paragraphs.first().glyphs.isEmpty(); }

int WordStory::intern(const CharacterFormat &format)
{
    const auto found = std::find(m_formats.cbegin(), m_formats.cend(), format);
    if (found != m_formats.cend())
        return int(found - m_formats.cbegin());
    m_formats.append(format);
    return int(m_formats.size()) - 1;
}

void WordStory::invalidateFrom(int paragraph) { m_validStarts = std::min(m_validStarts, paragraph + 1); }

void WordStory::ensureStarts() const
{
    const int count = int(m_paragraphs.size());
    if (m_validStarts >= count && m_starts.size() == count)
        return;
    m_starts.resize(count);
    int k = std::max(1, std::min(m_validStarts, count));
    m_starts[0] = 0;
    for (; k < count; ++k)
        m_starts[k] = m_starts[k - 1] + int(m_paragraphs[k - 1].glyphs.size()) + 1;
    m_validStarts = count;
}

int WordStory::paragraphAt(int position) const
{
    ensureStarts();
    position = std::clamp(position, 0, length() - 1);
    const auto it = std::upper_bound(m_starts.cbegin(), m_starts.cend(), position);
    return int(it - m_starts.cbegin()) - 1;
}

int WordStory::paragraphStart(int index) const
{
    ensureStarts();
    return m_starts[index];
}

int WordStory::paragraphEnd(int index) const { return paragraphStart(index) + int(m_paragraphs[index].glyphs.size()); }

std::pair<int, int> WordStory::paragraphsIn(int start, int end) const
{
    const int first = paragraphAt(start);
    if (end <= start)
        return {first, first};
    if (end >= length())
        return {first, int(m_paragraphs.size()) - 1};
    int last = paragraphAt(end);
    if (paragraphStart(last) == end)
        --last;
    return {first, std::max(first, last)};
}

QString WordStory::text(int start, int end) const
{
    QString result;
    if (end <= start)
        return result;
    const auto [first, last] = paragraphsIn(start, end);
    for (int i = first; i <= last; ++i) {
        const int from = std::max(start - paragraphStart(i), 0);
        const int to = std::min(end - paragraphStart(i), int(m_paragraphs[i].glyphs.size()) + 1);
        for (int k = from; k < to; ++k) {
            if (k == m_paragraphs[i].glyphs.size())
                result.append(QChar(ParagraphMark));
            else
                result.append(QChar(m_paragraphs[i].glyphs[k].ch));
        }
    }
    return result;
}

int WordStory::formatForInsertion(int position) const
{
    const int index = paragraphAt(position);
    const Paragraph &paragraph = m_paragraphs[index];
    const int offset = std::clamp(position - paragraphStart(index), 0, int(paragraph.glyphs.size()));
    if (offset > 0)
        return paragraph.glyphs[offset - 1].format;
    if (!paragraph.glyphs.isEmpty())
        return paragraph.glyphs.first().format;
    return paragraph.markFormat;
}

int WordStory::insertText(int position, const QString &text, int format)
{
    if (text.isEmpty())
        return 0;
    int current = paragraphAt(position);
    const int offset = std::clamp(position - paragraphStart(current), 0, int(m_paragraphs[current].glyphs.size()));
    invalidateFrom(current);

    // The paragraph's own mark stays with the text after the insertion point; every inserted
    // mark ends a paragraph of its own, with the format of the inserted text.
    const QVector<Glyph> tail = m_paragraphs[current].glyphs.mid(offset);
    m_paragraphs[current].glyphs.resize(offset);
    // Room for the text up to its first mark at once: a report adds its text in small pieces
    // to paragraphs that would otherwise grow a glyph at a time.
    const qsizetype firstMark = text.indexOf(QChar(ParagraphMark));
    m_paragraphs[current].glyphs.reserve(offset + (firstMark < 0 ? text.size() : firstMark) + tail.size());
    for (const QChar c : text) {
        if (c == QChar(ParagraphMark)) {
            // The new paragraph takes the current one's properties, not its text.
            QVector<Glyph> own;
            own.swap(m_paragraphs[current].glyphs);
            Paragraph next = m_paragraphs[current];
            m_paragraphs[current].glyphs.swap(own);
            m_paragraphs[current].markFormat = format;
            m_paragraphs.insert(current + 1, std::move(next));
            ++current;
        } else {
            m_paragraphs[current].glyphs.append(Glyph{c.unicode(), format});
        }
    }
    m_paragraphs[current].glyphs.append(tail);
    return int(text.size());
}

void WordStory::insertObject(int position, char16_t kind, int object, int format)
{
    const int index = paragraphAt(position);
    Paragraph &paragraph = m_paragraphs[index];
    const int offset = std::clamp(position - paragraphStart(index), 0, int(paragraph.glyphs.size()));
    paragraph.glyphs.insert(offset, Glyph{kind, format, object});
    invalidateFrom(index);
}

void WordStory::remove(int start, int end)
{
    end = std::min(end, length() - 1); // the last mark always stays
    if (end <= start)
        return;
    const int first = paragraphAt(start);
    const int last = paragraphAt(end);
    const int from = start - paragraphStart(first);
    const int to = end - paragraphStart(last);
    if (first == last) {
        m_paragraphs[first].glyphs.remove(from, to - from);
        invalidateFrom(first);
        return;
    }
    for (int i = first; i <= last; ++i) {
        if (m_paragraphs[i].inTable())
            throw KorvanError(QStringLiteral("Нельзя удалить текст вместе с частью таблицы."));
    }
    // Like Word, the joined paragraph keeps the mark, and so the format, of the last one.
    Paragraph joined = m_paragraphs[last];
    joined.glyphs = m_paragraphs[first].glyphs.mid(0, from) + m_paragraphs[last].glyphs.mid(to);
    m_paragraphs.remove(first, last - first + 1);
    m_paragraphs.insert(first, joined);
    invalidateFrom(first);
}

void WordStory::changeFormat(int start, int end, const FormatChange &change)
{
    if (end <= start)
        return;
    // A range holds a few formats, mostly in long runs: the last one changed is asked first.
    QVarLengthArray<std::pair<int, int>, 8> changed;
    const auto apply = [&](int &format) {
        if (!changed.isEmpty() && changed.back().first == format) {
            format = changed.back().second;
            return;
        }
        for (qsizetype i = 0; i < changed.size(); ++i)
            if (changed[i].first == format) {
                std::swap(changed[i], changed.back());
                format = changed.back().second;
                return;
            }
        CharacterFormat f = m_formats[format];
        change(f);
        changed.append({format, intern(f)});
        format = changed.back().second;
    };
    const auto [first, last] = paragraphsIn(start, end);
    for (int i = first; i <= last; ++i) {
        Paragraph &paragraph = m_paragraphs[i];
        const int from = std::max(start - paragraphStart(i), 0);
        const int to = std::min(end - paragraphStart(i), int(paragraph.glyphs.size()) + 1);
        for (int k = from; k < to; ++k) {
            if (k == paragraph.glyphs.size())
                apply(paragraph.markFormat);
            else
                apply(paragraph.glyphs[k].format);
        }
    }
}

void WordStory::changeParagraphFormat(int index, const FormatChange &change)
{
    const int start = paragraphStart(index);
    changeFormat(start, start + int(m_paragraphs[index].glyphs.size()) + 1, change);
}

void WordStory::changeMarkFormat(int index, const FormatChange &change)
{
    CharacterFormat f = m_formats[m_paragraphs[index].markFormat];
    change(f);
    m_paragraphs[index].markFormat = intern(f);
}

void WordStory::setAlignment(int index, WdParagraphAlignment alignment) { m_paragraphs[index].alignment = alignment; }

void WordStory::setKeepWithNext(int index, bool keep) { m_paragraphs[index].keepWithNext = keep; }

void WordStory::setOutlineLevel(int index, int level) { m_paragraphs[index].outlineLevel = std::clamp(level, 0, 9); }

void WordStory::setHeadingRows(int table, int firstRow, int lastRow, bool heading)
{
    Table &t = m_tables[table];
    if (!heading)
        t.headingRows = std::min(t.headingRows, firstRow);
    else if (firstRow <= t.headingRows)
        t.headingRows = std::max(t.headingRows, std::min(lastRow + 1, t.rows));
}

int WordStory::convertToTable(int start, int end, int columns, double initialColumnWidth)
{
    if (columns < 1)
        throw KorvanError(QStringLiteral("Число столбцов таблицы должно быть не меньше 1."));
    const auto [first, last] = paragraphsIn(start, end);
    for (int i = first; i <= last; ++i) {
        if (m_paragraphs[i].inTable())
            throw KorvanError(QStringLiteral("Текст уже находится в таблице."));
    }

    const int id = int(m_tables.size());
    QVector<Paragraph> cells;
    int row = 0;
    for (int i = first; i <= last; ++i) {
        const Paragraph &source = m_paragraphs[i];
        // Each tab closes a cell; its mark takes the tab's format, the last cell the source's.
        QVector<Paragraph> fields(1);
        for (const Glyph &g : source.glyphs) {
            if (g.ch == TabChar) {
                fields.last().markFormat = g.format;
                fields.append(Paragraph());
            } else {
                fields.last().glyphs.append(g);
            }
        }
        fields.last().markFormat = source.markFormat;
        const int rows = int((fields.size() + columns - 1) / columns);
        for (int k = 0; k < rows * columns; ++k) {
            Paragraph cell;
            if (k < fields.size()) {
                cell = fields[k];
            } else {
                cell.markFormat = source.markFormat;
            }
            cell.alignment = source.alignment;
            cell.table = id;
            cell.row = row + k / columns;
            cell.column = k % columns;
            cells.append(cell);
        }
        row += rows;
    }

    const bool atEnd = last == m_paragraphs.size() - 1;
    Paragraph after;
    if (atEnd) {
        // A story cannot end in a table: Word keeps an empty paragraph after it.
        after.markFormat = m_paragraphs[last].markFormat;
        after.alignment = m_paragraphs[last].alignment;
    }
    m_paragraphs.remove(first, last - first + 1);
    m_paragraphs.insert(first, cells.size(), Paragraph());
    std::copy(cells.cbegin(), cells.cend(), m_paragraphs.begin() + first);
    if (atEnd)
        m_paragraphs.append(after);
    invalidateFrom(first);

    Table table;
    table.rows = row;
    table.columns = columns;
    table.initialColumnWidth = initialColumnWidth;
    m_tables.append(table);
    return id;
}

void WordStory::setAutoFit(int table) { m_tables[table].autoFit = true; }

int WordStory::deleteRows(int table, int firstRow, int lastRow)
{
    const int removed = lastRow - firstRow + 1;
    int firstIndex = -1;
    for (int i = 0; i < m_paragraphs.size();) {
        Paragraph &paragraph = m_paragraphs[i];
        if (paragraph.table == table && paragraph.row >= firstRow && paragraph.row <= lastRow) {
            if (firstIndex < 0)
                firstIndex = i;
            m_paragraphs.remove(i);
            continue;
        }
        if (paragraph.table == table && paragraph.row > lastRow)
            paragraph.row -= removed;
        ++i;
    }
    if (firstIndex < 0)
        return -1;
    Table &t = m_tables[table];
    t.rows -= removed;
    if (firstRow < t.headingRows)
        t.headingRows = std::max(firstRow, t.headingRows - removed);
    invalidateFrom(firstIndex);
    return firstIndex;
}

std::pair<int, int> WordStory::tableParagraphs(int table) const
{
    int first = -1;
    int last = -1;
    for (int i = 0; i < m_paragraphs.size(); ++i) {
        if (m_paragraphs[i].table == table) {
            if (first < 0)
                first = i;
            last = i;
        } else if (first >= 0) {
            break;
        }
    }
    return {first, last};
}

std::pair<int, int> WordStory::cellParagraphs(int table, int row, int column) const
{
    const auto [tableFirst, tableLast] = tableParagraphs(table);
    int first = -1;
    int last = -1;
    for (int i = std::max(tableFirst, 0); i <= tableLast; ++i) {
        const Paragraph &paragraph = m_paragraphs[i];
        if (paragraph.row == row && paragraph.column == column) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    return {first, last};
}

} // namespace korvan
