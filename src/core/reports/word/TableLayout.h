#pragma once

#include <QVector>

namespace korvan {

class FontMetrics;

// How much room the texts of one table column need, in ems of the table's font.
struct ColumnNeeds {
    double unbreakable = 0; // numbers and one-word cells: never broken inside
    double longestWord = 0; // text that may wrap between words
    double prose = 0;       // that text on one line
    double header = 0;      // the header cells on one line
    double headerWord = 0;  // their longest word
};

// The columns of a table as they go into the document.
struct TableLayout {
    QVector<int> widths;    // twips
    int halfPoints = 0;     // the size of the table's text; 0 when it keeps its own
    bool landscape = false; // it fits only a landscape page of its own
    int width() const;
};

// Fits a table to the text width: every column at least as wide as its numbers and its header on
// one line, at the table's size; failing that the size steps down by half a point to no less than
// 8 points; failing that the header may wrap between words; failing that the table goes onto a
// landscape page (when a landscape width is given, 0 otherwise), where the same steps are tried.
// Room left over goes to the text that wraps. The table is never wider than the width it is laid
// out for: where even that cannot hold its numbers, the columns shrink in proportion.
// Widths in twips; paddingTwips is what a cell adds to its text (margins, borders).
TableLayout fitTable(const QVector<ColumnNeeds> &columns, int halfPoints, int paddingTwips, int textWidth,
                     int landscapeTextWidth = 0);

} // namespace korvan
