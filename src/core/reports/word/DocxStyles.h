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
    // Empty for the default paragraph format.
    QString paragraphStyle(const ParagraphFormat &format);
    QString characterStyle(const CharacterFormat &format);

    // styles.xml: the document defaults (Times New Roman 12, Russian, no spacing between
    // paragraphs), the default styles and the styles handed out.
    QByteArray xml() const;

private:
    template <typename Format>
    static QString id(QVector<Format> &formats, const Format &format, char16_t prefix);
    std::optional<ParagraphFormat> m_default;
    QVector<ParagraphFormat> m_paragraph;
    QVector<CharacterFormat> m_character;
};

} // namespace korvan::docx
