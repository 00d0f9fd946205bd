#pragma once

#include "core/reports/word/CharacterFormat.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>
#include <optional>
#include <utility>

namespace korvan::docx {

// The named styles of a document. Every character format that a paragraph mark carries becomes a
// paragraph style, and every other format a run carries a character style, so that a paragraph
// names its style instead of repeating the font, and a run in its paragraph's format needs no
// properties at all: a table cell takes a few dozen bytes instead of several hundred.
//
// The commonest paragraph format of a document is its default paragraph style ("Normal"): those
// paragraphs name no style at all.
class DocxStyles {
public:
    // A paragraph's format is its mark's character format and its alignment (a "jc" value, empty
    // for left).
    using ParagraphFormat = std::pair<CharacterFormat, QString>;

    void setDefault(const ParagraphFormat &format) { m_default = format; }
    // Empty for the default paragraph format. A heading (level 1 or 2) gets a style with that
    // outline level; the first format of a level is the built-in "heading N" («Заголовок N»), so
    // that word processors list it in their navigation pane and contents.
    QString paragraphStyle(const ParagraphFormat &format, int level = 0);
    QString characterStyle(const CharacterFormat &format);

    // styles.xml: the document defaults (Times New Roman 12, Russian, no spacing between
    // paragraphs), the default styles and the styles handed out.
    QByteArray xml() const;

private:
    // The first heading format of its level is "HeadingN", any other one "HkN".
    QString headingId(qsizetype index) const;
    template <typename Format>
    static QString id(QVector<Format> &formats, const Format &format, char16_t prefix);
    std::optional<ParagraphFormat> m_default;
    QVector<ParagraphFormat> m_paragraph;
    QVector<std::pair<ParagraphFormat, int>> m_headings; // with their level; ids Heading1, P1H2 ...
    QVector<CharacterFormat> m_character;
};

} // namespace korvan::docx
