#pragma once

#include "XmlElement.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace korvan::test {

// A saved .docx read back as the reader sees it: the body's paragraphs and tables in order, and
// the page layout, header and footer.
struct SavedReport {
    struct Run {
        QString text;
        QString font;
        int halfPoints = 0;
        bool bold = false;
        bool superscript = false;
    };
    struct Block {
        bool isTable = false;
        QString text;            // a paragraph's text
        QList<Run> runs;         // a paragraph's runs
        QList<QStringList> rows; // a table's cell texts
        QString alignment;       // of the table's first cell
    };

    explicit SavedReport(const QString &path);

    bool ok = false;
    QList<Block> body;
    XmlElement sectPr;
    XmlElement header; // empty when the document has none
    XmlElement footer;

    QStringList paragraphTexts() const;
    QList<const Block *> tables() const;
    // Index of the first paragraph whose text starts with the prefix, from a body index; -1 if none.
    int find(const QString &prefix, int from = 0) const;
    // The table that comes first after the body index, or nullptr.
    const Block *tableAfter(int index) const;
    int pageFields(const XmlElement &part) const;
};

} // namespace korvan::test
