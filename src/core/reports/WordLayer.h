#pragma once

#include "core/reports/ReportSettings.h"
#include "core/reports/WordConstants.h"

#include <QString>

namespace korvan {

class WordApplication;
class WordSelection;

// The routines the reports and the chart exports write through. Everything is appended at the
// selection of the active document, which is then collapsed to its end, so a document is built
// in reading order. Every failure raises a KorvanError.

// Connects and makes sure there is a document to write to (a new one when there is none).
void OpenWordDocument(WordApplication &word);
// Connects, takes a new document (WordDoc "новый", or none open) or the current one, and applies
// the base font, paper, orientation, margins and page number of the settings.
void PrepareReportDocument(WordApplication &word, const ReportPageSettings &page);
// Releases the connection: the document is saved and opened for the user; after a failed
// export it is dropped (see WordApplication::disconnect).
void DisconnectWord(WordApplication &word, bool exportFailed = false);

// Whole millimetres to the points passed to the page setup: mm × 2.836, rounded to the nearest
// whole number with halves to the even one (20 mm → 57, 25 mm → 71, 10 mm → 28).
float MillimetresToPoints(int millimetres);

// Appends text at the selection and leaves it selected, for FormatWordSelection.
void InsertWordText(WordApplication &word, const QString &text);
// Appends text in "Times New Roman Cyr" 12, neither raised nor lowered.
void WriteWordText(WordApplication &word, const QString &text);
// Appends a blank and the text, both raised ("Times New Roman Cyr" 12): exponents such as "2".
void WriteWordSuperscript(WordApplication &word, const QString &text);
// Sets name, size, bold and italic on the selection, then collapses it to its end.
void FormatWordSelection(WordApplication &word, const QString &fontName, int size, bool bold, bool italic);
void CollapseWordSelection(WordApplication &word, WdCollapseDirection direction);
void MoveWordSelectionDown(WordApplication &word, WdUnits unit, int count, WdMovementType extend);
// Turns the cell texts just appended (each followed by "\t") into a table of that many columns,
// size 12, aligned, fitted, without the extra last row, and leaves the insertion point on a new
// paragraph below it. With a header row, the first row repeats on every page the table spans.
void FinishReportTable(WordApplication &word, int columns, WdParagraphAlignment alignment, bool headerRow = false);
// The same on a selection of any document.
void FinishReportTable(WordSelection &sel, int columns, WdParagraphAlignment alignment, bool headerRow = false);
// Inserts the picture file (stored in the document), deletes the file and appends two paragraph
// breaks.
void InsertWordPicture(WordApplication &word, const QString &fileName);

// The two writing forms of the reports: a heading (bold) and a plain paragraph, both in
// "Times New Roman"; the text ends in its own paragraph breaks. A heading stays on the page of
// what follows it; a level of 1 or 2 lists it in the contents and the navigation pane.
void WriteWordHeading(WordApplication &word, const QString &text, int size = 12, int level = 0);
// A line of running text in "Times New Roman Cyr" 12 ("^{...}" marks an exponent, as in
// WriteWordFormula) that introduces the lines below it and so stays on their page.
void WriteWordLeadLine(WordApplication &word, const QString &text);
void WriteWordParagraph(WordApplication &word, const QString &text, int size = 12);
// Running text in which "^{...}" marks an exponent: "S = (P^{2} + Q^{2})^{1/2}" writes the plain
// parts with WriteWordText and each exponent with WriteWordSuperscript.
void WriteWordFormula(WordApplication &word, const QString &text);

} // namespace korvan
